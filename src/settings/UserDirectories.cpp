#include "settings/UserDirectories.h"

#include <cstdlib>
#include <filesystem>

#include <pwd.h>
#include <unistd.h>

namespace {

std::string absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return "";
    std::string path = value;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string homeFolder() {
    std::string home = absoluteFromEnvironment("HOME");
    if (!home.empty())
        return home;
    const passwd* user = ::getpwuid(::getuid());
    if (user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/')
        return user->pw_dir;
    return "";
}

std::string baseFolder(const char* variable, const char* underHome) {
    std::string folder = absoluteFromEnvironment(variable);
    if (!folder.empty())
        return folder;
    std::string home = homeFolder();
    if (home.empty())
        return "";
    return (home == "/" ? "" : home) + underHome;
}

} // namespace

std::string dataHome() {
    return baseFolder("XDG_DATA_HOME", "/.local/share");
}

std::string configHome() {
    return baseFolder("XDG_CONFIG_HOME", "/.config");
}

std::string stateHome() {
    return baseFolder("XDG_STATE_HOME", "/.local/state");
}

std::string defaultReplayPath() {
    std::string data = dataHome();
    if (data.empty())
        return "";
    return (data == "/" ? "" : data) + "/quillorb/replays/last.qbr";
}

std::string bestTimesPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data != nullptr && data[0] == '/')
        return std::string(data) + "/quillorb/best-times.toml";
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/share/quillorb/best-times.toml";
    return "";
}

std::string bestRacePath() {
    std::string times = bestTimesPath();
    if (times.empty())
        return "";
    return (std::filesystem::path(times).parent_path() / "best.qbr").string();
}
