#include "platform/registry/Registry.h"

#include "platform/rtl/FileReplace.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

[[noreturn]] void FailSystem(const std::string& what, const std::string& fileName) {
    throw ERegistryException(what + " '" + fileName + "': " + std::strerror(errno));
}

// A file descriptor closed on every path.
class FileHandle {
public:
    explicit FileHandle(int fd) : FFd(fd) {}
    ~FileHandle() {
        if (FFd >= 0)
            ::close(FFd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return FFd; }
    int Release() {
        int fd = FFd;
        FFd = -1;
        return fd;
    }

private:
    int FFd;
};

std::string ReadAll(int fd, const std::string& fileName) {
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            FailSystem("cannot read", fileName);
        }
        if (got == 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return ".";
}

// Why Text cannot be stored in the file, or none: a line break would end the line, and a
// NUL would end the text for the registry editor.
const char* Unstorable(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return "a NUL byte cannot be stored";
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return "line breaks cannot be stored";
    return nullptr;
}

} // namespace

std::string DefaultRegistryFile() {
    if (const char* file = std::getenv("VESK_REGISTRY"); file && *file)
        return file;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else
        config = HomeFolder() + "/.config";
    return config + "/vesk/registry.reg";
}

// TRegistryFile

std::shared_ptr<TRegistryFile> TRegistryFile::Open(const std::string& fileName) {
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<TRegistryFile>> open;
    std::error_code error;
    std::string key = std::filesystem::absolute(fileName, error).lexically_normal().string();
    if (error)
        key = fileName;
    std::lock_guard<std::mutex> guard(mutex);
    for (auto it = open.begin(); it != open.end();) // forget the stores no handle holds
        it = it->second.expired() ? open.erase(it) : std::next(it);
    std::weak_ptr<TRegistryFile>& slot = open[key];
    std::shared_ptr<TRegistryFile> store = slot.lock();
    if (!store) {
        // By its full name: a later change of the current folder (opening a project
        // enters its folder) must not move the store.
        store = std::make_shared<TRegistryFile>(key);
        slot = store;
    }
    return store;
}

TRegistryFile::TRegistryFile(std::string fileName) : FFileName(std::move(fileName)) {}

TRegistryFile::~TRegistryFile() {
    if (FUpdateDepth > 0) { // an update left open still reaches the disk
        FUpdateDepth = 1;
        try {
            EndUpdate();
        } catch (...) {
        }
    }
    Unlock();
}

TRegistryFile::Stamp TRegistryFile::CurrentStamp() const {
    struct stat st {};
    Stamp stamp;
    if (::stat(FFileName.c_str(), &st) != 0)
        return stamp;
    stamp.Exists = true;
    stamp.Mode = st.st_mode;
    stamp.Device = st.st_dev;
    stamp.Inode = st.st_ino;
    stamp.Size = static_cast<std::uint64_t>(st.st_size);
    stamp.ModifiedNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.ChangedNs = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    return stamp;
}

void TRegistryFile::Reload(const Stamp& stamp) {
    std::string text;
    if (stamp.Exists) {
        // A fifo or a device in its place is named, not waited on.
        if (const std::string odd = NotAFileMessage(FFileName, stamp.Mode); !odd.empty())
            throw ERegistryException(odd);
        FileHandle file(::open(FFileName.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.Get() >= 0)
            text = ReadAll(file.Get(), FFileName);
        else if (errno != ENOENT)
            FailSystem("cannot open", FFileName);
    }
    // The same bytes as last parsed or written need no parsing again.
    if (!FLoaded || text != FText) {
        FLoaded = false;
        FData = ParseRegFile(text, FFileName);
        FText = std::move(text);
    }
    FStamp = stamp;
    FLoaded = true;
}

const TRegData& TRegistryFile::Data() {
    // Inside an update the store is what was read under the lock, with the update's own
    // changes: nobody else may write meanwhile.
    if (FUpdateDepth > 0 && FLoaded)
        return FData;
    Stamp stamp = CurrentStamp();
    if (!FLoaded || stamp != FStamp)
        Reload(stamp);
    return FData;
}

void TRegistryFile::Lock() {
    const std::filesystem::path path(FFileName);
    if (path.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error)
            throw ERegistryException("cannot create the folder of '" + FFileName +
                                     "': " + error.message());
    }
    const std::string lockName = FFileName + ".lock";
    FileHandle lock(::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0)
        FailSystem("cannot open the lock file", lockName);
    while (::flock(lock.Get(), LOCK_EX) != 0)
        if (errno != EINTR)
            FailSystem("cannot lock", lockName);
    FLockFd = lock.Release();
}

void TRegistryFile::Unlock() {
    if (FLockFd >= 0)
        ::close(FLockFd); // releases the lock
    FLockFd = -1;
}

void TRegistryFile::Modify(const std::function<bool(TRegData&)>& change) {
    if (FUpdateDepth > 0) {
        FPending = change(FData) || FPending;
        return;
    }
    Lock();
    try {
        // Another process may have written since we last looked: start from the disk.
        Reload(CurrentStamp());
        if (change(FData)) {
            Replace(FormatRegFile(FData));
        }
    } catch (...) {
        FLoaded = false; // what is in memory may not be what is on disk
        Unlock();
        throw;
    }
    Unlock();
}

void TRegistryFile::BeginUpdate() {
    if (FUpdateDepth++ > 0)
        return;
    try {
        Lock();
        Reload(CurrentStamp());
    } catch (...) {
        Unlock();
        FUpdateDepth = 0;
        throw;
    }
    FPending = false;
}

void TRegistryFile::EndUpdate() {
    if (FUpdateDepth == 0 || --FUpdateDepth > 0)
        return;
    if (FAbandoned) {
        Discard();
        throw ERegistryException("Nothing was stored in '" + FFileName +
                                 "': a change of the same update failed");
    }
    try {
        if (FPending) {
            FPending = false;
            Replace(FormatRegFile(FData));
        }
    } catch (...) {
        FLoaded = false;
        Unlock();
        throw;
    }
    Unlock();
}

void TRegistryFile::AbandonUpdate() {
    if (FUpdateDepth == 0)
        return;
    FAbandoned = true;
    if (--FUpdateDepth == 0)
        Discard();
}

void TRegistryFile::Discard() {
    // What is in memory holds the changes: the next read starts from the disk again.
    FAbandoned = false;
    FPending = false;
    FLoaded = false;
    Unlock();
}

void TRegistryFile::Replace(std::string text) {
    try {
        // The settings may be private: a new store is readable by its owner only.
        TFileReplace file(FFileName, 0600, TTempName::Fixed);
        file.Write(text);
        file.Commit();
    } catch (const EInOutError& e) {
        throw ERegistryException(e.Message());
    }
    FText = std::move(text);
    FStamp = CurrentStamp();
}

// TRegistry

TRegistry::TRegistry() : TRegistry(DefaultRegistryFile()) {}

TRegistry::TRegistry(const std::string& fileName) : FFile(TRegistryFile::Open(fileName)) {}

TRegistry::TRegistry(std::shared_ptr<TRegistryFile> store) : FFile(std::move(store)) {
    if (!FFile)
        throw ERegistryException("no registry store given");
}

TRegistryUpdate::~TRegistryUpdate() {
    if (FReg)
        FReg->AbandonUpdate();
}

void TRegistryUpdate::Commit() {
    TRegistry* reg = FReg;
    FReg = nullptr;
    reg->EndUpdate();
}

void TRegistry::SetRootKey(HKEY rootKey) {
    CloseKey();
    FRootKey = rootKey;
}

std::string TRegistry::RootName() const {
    switch (FRootKey) {
    case HKEY_CLASSES_ROOT:
        return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER:
        return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE:
        return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS:
        return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG:
        return "HKEY_CURRENT_CONFIG";
    }
    throw ERegistryException("unknown root key " + IntToStr(FRootKey));
}

std::string TRegistry::FullPath(std::string_view relative) const {
    std::string path = RootName();
    if (!relative.empty())
        path.append("\\").append(relative);
    return path;
}

std::string TRegistry::Resolve(std::string_view key) const {
    std::string path;
    if (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    else
        path = FCurrentPath;
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    if (!key.empty()) {
        if (!path.empty())
            path.push_back('\\');
        path.append(key);
    }
    return path;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
    const std::string path = Resolve(key);
    const std::string full = FullPath(path);
    if (path.empty() || FFile->Data().Exists(full)) {
        FCurrentPath = path;
        return true;
    }
    if (!canCreate)
        return false;
    CheckKeyPath(path);
    FFile->Modify([&](TRegData& data) {
        if (data.Exists(full))
            return false;
        data.Obtain(full);
        return true;
    });
    FCurrentPath = path;
    return true;
}

void TRegistry::CheckKeyPath(const std::string& path) const {
    const char* reason = Unstorable(path);
    if (!reason && path.find_first_of("[]") != std::string::npos)
        reason = "brackets cannot be stored";
    if (reason)
        throw ERegistryException("Failed to create key '" + path + "': " + reason);
}

void TRegistry::OpenKeyOnWrite(std::string_view key) {
    const std::string path = Resolve(key);
    CheckKeyPath(path);
    FCurrentPath = path;
}

void TRegistry::CloseKey() {
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(std::string_view key) {
    const std::string path = Resolve(key);
    return path.empty() || FFile->Data().Exists(FullPath(path));
}

const TRegValue* TRegistry::Value(std::string_view name) {
    const TRegKey* key = FFile->Data().Find(FullPath(FCurrentPath));
    return key ? key->Find(name) : nullptr;
}

bool TRegistry::ValueExists(std::string_view name) {
    return Value(name) != nullptr;
}

std::string TRegistry::ReadString(std::string_view name) {
    const TRegValue* value = Value(name);
    if (!value)
        return {};
    if (value->Type != TRegDataType::rdString)
        throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return value->Text;
}

std::int32_t TRegistry::ReadInteger(std::string_view name) {
    const TRegValue* value = Value(name);
    if (!value || value->Type != TRegDataType::rdInteger)
        throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return static_cast<std::int32_t>(value->Value);
}

void TRegistry::Put(TRegValue value) {
    const char* reason = Unstorable(value.Name);
    if (!reason)
        reason = Unstorable(value.Text);
    if (reason)
        throw ERegistryException("Failed to set data for '" + value.Name + "': " + reason);
    const std::string full = FullPath(FCurrentPath);
    FFile->Modify([&](TRegData& data) { return data.Obtain(full).Put(value); });
}

void TRegistry::WriteString(std::string_view name, std::string_view value) {
    Put(TRegValue{std::string(name), TRegDataType::rdString, std::string(value), 0});
}

void TRegistry::WriteInteger(std::string_view name, std::int32_t value) {
    Put(TRegValue{
        std::string(name), TRegDataType::rdInteger, {}, static_cast<std::uint32_t>(value)});
}

bool TRegistry::DeleteValue(std::string_view name) {
    const std::string full = FullPath(FCurrentPath);
    bool removed = false;
    FFile->Modify([&](TRegData& data) {
        TRegKey* key = data.Find(full);
        removed = key && key->Remove(name);
        return removed;
    });
    return removed;
}

void TRegistry::GetValueNames(TStringList& names) {
    names.Clear();
    if (const TRegKey* key = FFile->Data().Find(FullPath(FCurrentPath)))
        for (const TRegValue& value : key->Values())
            names.Add(value.Name);
}

} // namespace vesk
