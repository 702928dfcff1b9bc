#include "platform/rtl/FileReplace.h"

#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

[[noreturn]] void RaiseIo(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " '" + path + "': " + std::strerror(error));
}

// The file a link points to; the name itself when it is no link or leads nowhere yet.
std::string ResolvedName(const std::string& name) {
    char* real = ::realpath(name.c_str(), nullptr);
    if (!real)
        return name;
    std::string result = real;
    std::free(real);
    return result;
}

void SyncFolderOf(const std::string& fileName) {
    const std::string folder = std::filesystem::path(fileName).parent_path().string();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

TFileReplace::TFileReplace(const std::string& target, mode_t newMode, TTempName naming)
    : FTarget(target) {
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        RaiseIo("Cannot create", target, EISDIR);
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or pipe cannot be renamed over; it takes the bytes as they come.
        FFd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (FFd < 0)
            RaiseIo("Cannot create", target, errno);
        return;
    }
    FFinal = ResolvedName(target);
    const std::filesystem::path final(FFinal);
    if (naming == TTempName::Fixed) {
        FTemp = FFinal + ".tmp";
        ::unlink(FTemp.c_str()); // left by a writer that died
        FFd = ::open(FTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newMode);
    } else {
        std::random_device random;
        for (int attempt = 0; FFd < 0; ++attempt) {
            FTemp = (final.parent_path() / ("." + final.filename().string() + "." +
                                            std::to_string(random() % 1000000) + ".tmp"))
                        .string();
            FFd = ::open(FTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newMode);
            if (FFd < 0 && (errno != EEXIST || attempt > 100))
                break;
        }
    }
    if (FFd < 0) {
        const int error = errno;
        FTemp.clear(); // not ours to remove
        RaiseIo("Cannot create", target, error);
    }
    if (exists) {
        // A replacement that cannot take the owner is still better than a failed write.
        [[maybe_unused]] const bool ownerKept = ::fchown(FFd, info.st_uid, info.st_gid) == 0;
        [[maybe_unused]] const bool modeKept = ::fchmod(FFd, info.st_mode & 07777) == 0;
    }
}

TFileReplace::~TFileReplace() {
    if (FFd >= 0)
        ::close(FFd);
    if (!FTemp.empty())
        ::unlink(FTemp.c_str());
}

void TFileReplace::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(FFd, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseIo("Cannot write", FTarget, errno);
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
}

void TFileReplace::Commit() {
    if (!FTemp.empty() && ::fsync(FFd) != 0)
        RaiseIo("Cannot write", FTarget, errno);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0)
        RaiseIo("Cannot close", FTarget, errno);
    if (FTemp.empty())
        return;
    if (::rename(FTemp.c_str(), FFinal.c_str()) != 0)
        RaiseIo("Cannot replace", FTarget, errno);
    FTemp.clear();
    // A failure here loses nothing already written: the rename stands, it is only not
    // yet known to be on the disk.
    SyncFolderOf(FFinal);
}

void ReplaceFile(const std::string& target, std::string_view bytes, mode_t newMode) {
    TFileReplace file(target, newMode);
    file.Write(bytes);
    file.Commit();
}

} // namespace vesk
