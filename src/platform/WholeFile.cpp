#include "platform/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

int writeAndFlush(const std::string& path, const std::string& text) {
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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
    return failure;
}

} // namespace

std::string replaceFileWhole(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, error);
    if (error)
        return error.message();
    const std::string temporary = path + ".tmp";
    if (int failure = writeAndFlush(temporary, text)) {
        ::unlink(temporary.c_str());
        return std::strerror(failure);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        int failure = errno;
        ::unlink(temporary.c_str());
        return std::strerror(failure);
    }
    return "";
}
