#include "platform/rtl/FileUtils.h"

#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

bool StatMode(std::string_view path, mode_t& mode) {
    struct stat st {};
    if (::stat(std::string(path).c_str(), &st) != 0)
        return false;
    mode = st.st_mode;
    return true;
}

} // namespace

bool FileExists(std::string_view path) {
    mode_t mode = 0;
    return !path.empty() && StatMode(path, mode) && S_ISREG(mode);
}

bool DirectoryExists(std::string_view path) {
    mode_t mode = 0;
    return !path.empty() && StatMode(path, mode) && S_ISDIR(mode);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string result(path);
    if (!result.empty() && result.back() != PathDelim)
        result.push_back(PathDelim);
    return result;
}

std::string ExpandFileName(std::string_view path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    if (error)
        return std::string(path);
    return absolute.lexically_normal().string();
}

std::string NotAFileMessage(std::string_view path, mode_t mode) {
    const std::string quoted = "'" + std::string(path) + "'";
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return quoted + " is a directory";
    const char* kind = S_ISFIFO(mode)                   ? "a fifo"
                       : S_ISSOCK(mode)                 ? "a socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                                                        : "not a regular file";
    return quoted + " is " + kind + ", not a file";
}

int OpenFileForReading(const std::string& path) {
    // Without O_NONBLOCK, opening a fifo waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        // A socket cannot be opened at all: name it rather than the open's error.
        if (error == ENXIO && ::stat(path.c_str(), &info) == 0)
            throw EInOutError(NotAFileMessage(path, info.st_mode));
        throw EInOutError("Cannot open '" + path + "': " + std::strerror(error));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const std::string message = NotAFileMessage(path, info.st_mode);
        ::close(fd);
        throw EInOutError(message.empty() ? "Cannot open '" + path + "'" : message);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string ReadFileContent(const std::string& path, std::size_t maxSize) {
    const int fd = OpenFileForReading(path);
    std::string bytes;
    try {
        struct stat info {};
        ::fstat(fd, &info);
        const auto size = static_cast<std::size_t>(info.st_size);
        if (size > maxSize)
            throw EInOutError("'" + path + "' is larger than " + IntToStr(maxSize >> 20) + " MB");
        bytes.reserve(size);
        char chunk[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                throw EInOutError("Cannot read '" + path + "': " + std::strerror(errno));
            }
            if (got == 0)
                break;
            bytes.append(chunk, static_cast<std::size_t>(got));
            if (bytes.size() > maxSize) // grew while we read it
                throw EInOutError("'" + path + "' is larger than " + IntToStr(maxSize >> 20) +
                                  " MB");
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return bytes;
}

} // namespace vesk
