#include "platform/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef __EMSCRIPTEN__
// src/platform/web/PlayerFiles.js: writes the player's folder back to the browser's storage
// once the frame is over, however many files the frame changed.
extern "C" void quillorb_keep_player_files(void);
#endif

namespace {

void filesChanged() {
#ifdef __EMSCRIPTEN__
    quillorb_keep_player_files();
#endif
}

std::string makeFolderOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    return error ? error.message() : "";
}

// Returns 0 or the errno of the failure; a file it could not finish is removed.
int writeAndFlush(const std::string& path, const std::string& text, int createFlags) {
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | createFlags, 0644);
    if (file < 0)
        return errno;
    int failure = 0;
    size_t done = 0;
    while (failure == 0 && done < text.size()) {
        ssize_t written = ::write(file, text.data() + done, text.size() - done);
        if (written > 0)
            done += static_cast<size_t>(written);
        else if (written == 0)
            failure = EIO;
        else if (errno != EINTR)
            failure = errno;
    }
    // A rename is only as good as the data it points to: flush before it.
    if (failure == 0 && ::fsync(file) != 0)
        failure = errno;
    if (::close(file) != 0 && failure == 0)
        failure = errno;
    if (failure != 0)
        ::unlink(path.c_str());
    return failure;
}

} // namespace

std::string replaceFileWhole(const std::string& path, const std::string& text) {
    std::string problem = makeFolderOf(path);
    if (!problem.empty())
        return problem;
    const std::string temporary = path + ".tmp";
    if (int failure = writeAndFlush(temporary, text, O_TRUNC))
        return std::strerror(failure);
    problem = moveFile(temporary, path);
    if (!problem.empty())
        ::unlink(temporary.c_str());
    return problem;
}

int createFileWhole(const std::string& path, const std::string& text) {
    // A folder that cannot be made shows in the failure to open the file.
    makeFolderOf(path);
    const int failure = writeAndFlush(path, text, O_EXCL);
    if (failure == 0)
        filesChanged();
    return failure;
}

std::string moveFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return std::strerror(errno);
    filesChanged();
    return "";
}

void removeFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0)
        filesChanged();
}
