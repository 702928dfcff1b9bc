#include "platform/rtl/FileReplace.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

[[noreturn]] void RaiseIo(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " '" + path + "': " + std::strerror(error));
}

std::atomic<bool> UnnamedAllowed{true};

// The named temporary files of this process, for the signal handler to remove. A fixed
// table of plain bytes: the handler may read it while a thread changes it, and may call
// nothing but unlink.
class TCleanupList {
public:
    // Makes sure the handlers are in place; -1 when the table is full (the file is then
    // only removed by the destructor) or the name is too long.
    int Add(const std::string& path) {
        Install();
        if (path.size() >= PATH_MAX)
            return -1;
        for (int i = 0; i < Slots; ++i) {
            int expected = Free;
            if (!FSlots[i].State.compare_exchange_strong(expected, Filling))
                continue;
            std::memcpy(FSlots[i].Path, path.c_str(), path.size() + 1);
            FSlots[i].State.store(Live);
            return i;
        }
        return -1;
    }
    void Remove(int slot) {
        if (slot >= 0)
            FSlots[slot].State.store(Free);
    }

    static TCleanupList& Instance() {
        static TCleanupList list;
        return list;
    }

private:
    static constexpr int Slots = 32;
    enum { Free, Filling, Live };
    struct TSlot {
        std::atomic<int> State{Free};
        char Path[PATH_MAX];
    };
    static constexpr std::array<int, 3> Signals{SIGINT, SIGTERM, SIGHUP};

    // Puts our handler before whatever the signal does now: a handler the program set
    // after ours (or before the first replacement) is called after the cleanup.
    void Install() {
        std::lock_guard<std::mutex> guard(FInstalling);
        for (std::size_t i = 0; i < Signals.size(); ++i) {
            struct sigaction old {};
            if (::sigaction(Signals[i], nullptr, &old) != 0)
                continue;
            if ((old.sa_flags & SA_SIGINFO) && old.sa_sigaction == &OnSignal)
                continue; // ours already
            // An ignored signal ends nothing.
            if (!(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_IGN)
                continue;
            FPrevious[i] = old;
            struct sigaction action {};
            action.sa_sigaction = &OnSignal;
            action.sa_flags = SA_SIGINFO | SA_RESTART;
            sigemptyset(&action.sa_mask);
            ::sigaction(Signals[i], &action, nullptr);
        }
    }

    static void OnSignal(int signal, siginfo_t* info, void* context) {
        const int savedErrno = errno;
        TCleanupList& list = Instance();
        for (TSlot& slot : list.FSlots)
            if (slot.State.load() == Live)
                ::unlink(slot.Path);
        std::size_t i = 0;
        while (i + 1 < Signals.size() && Signals[i] != signal)
            ++i;
        const struct sigaction& old = list.FPrevious[i];
        if (old.sa_flags & SA_SIGINFO) {
            old.sa_sigaction(signal, info, context);
        } else if (old.sa_handler != SIG_DFL && old.sa_handler != SIG_IGN) {
            old.sa_handler(signal);
        } else {
            // The signal's own effect: it is blocked while we run, so it ends the
            // process as soon as this handler returns.
            struct sigaction defaults {};
            defaults.sa_handler = SIG_DFL;
            sigemptyset(&defaults.sa_mask);
            ::sigaction(signal, &defaults, nullptr);
            ::raise(signal);
        }
        errno = savedErrno;
    }

    std::array<TSlot, Slots> FSlots;
    std::array<struct sigaction, Signals.size()> FPrevious{};
    std::mutex FInstalling;
};

// Unnamed files are linked through /proc; without it they could not be given a name.
bool ProcFdAvailable() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

std::string UniqueTempName(const std::string& folder, const std::string& finalName) {
    static thread_local std::mt19937 random{std::random_device{}()};
    const std::string name = std::filesystem::path(finalName).filename().string();
    return folder + "/." + name + "." + std::to_string(random() % 1000000) + ".tmp";
}

void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

void AllowUnnamedTemporaryFiles(bool allowed) {
    UnnamedAllowed = allowed;
}

TFileReplace::TFileReplace(const std::string& target, mode_t newMode, TTempName naming)
    : FTarget(target), FFinal(target), FNaming(naming) {
    struct stat info {};
    bool exists = false;
    if (::lstat(target.c_str(), &info) == 0) {
        exists = true;
        if (S_ISLNK(info.st_mode)) {
            char* real = ::realpath(target.c_str(), nullptr);
            if (!real) {
                if (errno == ENOENT)
                    throw EInOutError("Cannot replace '" + target +
                                      "': it is a link to a missing file");
                RaiseIo("Cannot replace", target, errno);
            }
            FFinal = real;
            std::free(real);
            if (::stat(FFinal.c_str(), &info) != 0)
                RaiseIo("Cannot replace", target, errno);
        }
    } else if (errno != ENOENT) {
        RaiseIo("Cannot replace", target, errno); // a loop or a file on the way
    }
    if (exists) {
        if (const std::string odd = NotAFileMessage(target, info.st_mode); !odd.empty())
            throw EInOutError(odd);
        // As cp would: a file the user may not write is not replaced through its folder.
        if (::faccessat(AT_FDCWD, FFinal.c_str(), W_OK, AT_EACCESS) != 0)
            RaiseIo("Cannot replace", target, errno);
    }
    FFolder = std::filesystem::path(FFinal).parent_path().string();
    if (FFolder.empty())
        FFolder = ".";

    const char* failure = exists ? "Cannot replace" : "Cannot create";
    if (UnnamedAllowed && ProcFdAvailable()) {
        FFd = ::open(FFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, newMode);
        if (FFd >= 0)
            FUnnamed = true;
        else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            RaiseIo(failure, target, errno);
    }
    if (!FUnnamed)
        OpenNamed(newMode, naming);
    if (FFd < 0)
        RaiseIo(failure, target, errno);
    if (exists) {
        // A replacement that cannot take the owner is still better than a failed write.
        [[maybe_unused]] const bool ownerKept = ::fchown(FFd, info.st_uid, info.st_gid) == 0;
        [[maybe_unused]] const bool modeKept = ::fchmod(FFd, info.st_mode & 07777) == 0;
    }
}

void TFileReplace::OpenNamed(mode_t mode, TTempName naming) {
    TCleanupList& cleanup = TCleanupList::Instance();
    for (int attempt = 0; attempt < 100; ++attempt) {
        FTemp = naming == TTempName::Fixed ? FFinal + ".tmp" : UniqueTempName(FFolder, FFinal);
        if (naming == TTempName::Fixed)
            ::unlink(FTemp.c_str()); // left by a writer that died
        // Listed before it exists, so that no signal finds it unlisted.
        FCleanupSlot = cleanup.Add(FTemp);
        FFd = ::open(FTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (FFd >= 0)
            return;
        const int error = errno;
        cleanup.Remove(FCleanupSlot);
        FCleanupSlot = -1;
        FTemp.clear(); // not ours to remove
        errno = error;
        if (error != EEXIST || naming == TTempName::Fixed)
            return;
    }
}

void TFileReplace::NameUnnamed(TTempName naming) {
    TCleanupList& cleanup = TCleanupList::Instance();
    const std::string self = "/proc/self/fd/" + std::to_string(FFd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        FTemp = naming == TTempName::Fixed ? FFinal + ".tmp" : UniqueTempName(FFolder, FFinal);
        if (naming == TTempName::Fixed)
            ::unlink(FTemp.c_str());
        FCleanupSlot = cleanup.Add(FTemp);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, FTemp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return;
        const int error = errno;
        cleanup.Remove(FCleanupSlot);
        FCleanupSlot = -1;
        FTemp.clear();
        if (error != EEXIST || naming == TTempName::Fixed)
            RaiseIo("Cannot replace", FTarget, error);
    }
    RaiseIo("Cannot replace", FTarget, EEXIST);
}

TFileReplace::~TFileReplace() {
    if (FFd >= 0)
        ::close(FFd);
    if (!FTemp.empty())
        ::unlink(FTemp.c_str());
    TCleanupList::Instance().Remove(FCleanupSlot);
}

void TFileReplace::Write(const void* data, std::size_t size) {
    if (FPrepared)
        throw EInOutError("Cannot write '" + FTarget + "': its new content is complete");
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

void TFileReplace::Prepare() {
    if (FPrepared)
        return;
    if (::fsync(FFd) != 0)
        RaiseIo("Cannot write", FTarget, errno);
    if (FUnnamed)
        NameUnnamed(FNaming);
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0)
        RaiseIo("Cannot write", FTarget, errno);
    FPrepared = true;
}

void TFileReplace::Commit() {
    Prepare();
    if (FTemp.empty())
        throw EInOutError("Cannot replace '" + FTarget + "': it was replaced already");
    if (::rename(FTemp.c_str(), FFinal.c_str()) != 0)
        RaiseIo("Cannot replace", FTarget, errno);
    FTemp.clear();
    TCleanupList::Instance().Remove(FCleanupSlot);
    FCleanupSlot = -1;
    // A failure here loses nothing already written: the rename stands, it is only not
    // yet known to be on the disk.
    SyncFolder(FFolder);
}

void ReplaceFile(const std::string& target, std::string_view bytes, mode_t newMode) {
    TFileReplace file(target, newMode);
    file.Write(bytes);
    file.Commit();
}

} // namespace vesk
