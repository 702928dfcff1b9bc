// TRegistry: the old host's registry class over a REGEDIT4 text file. Every write
// replaces the file atomically (temporary file, flush, rename) while holding a lock
// that serialises writers of all processes; each write re-reads the file first, so
// nothing another process wrote is lost. A file that cannot be parsed is reported
// with its line and never overwritten.
#pragma once

#include "platform/registry/RegFile.h"
#include "platform/rtl/Classes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vesk {

using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

// The store file: $VESK_REGISTRY when set, else $XDG_CONFIG_HOME/vesk/registry.reg,
// else ~/.config/vesk/registry.reg.
std::string DefaultRegistryFile();

// One store file as this process last saw it. A process holds one per file (Open), which
// every TRegistry handle on that file shares: a handle that writes while another is
// inside an update joins that update instead of waiting for a lock its own process holds.
class TRegistryFile {
public:
    // The process's store for FileName (the same object for every spelling of the same
    // path while any handle holds it), kept by its full name.
    static std::shared_ptr<TRegistryFile> Open(const std::string& fileName);

    explicit TRegistryFile(std::string fileName);
    ~TRegistryFile();
    TRegistryFile(const TRegistryFile&) = delete;
    TRegistryFile& operator=(const TRegistryFile&) = delete;

    const std::string& FileName() const { return FFileName; }
    // The store as it is on disk now (re-read when the file changed since last seen).
    const TRegData& Data();
    // Runs Change on the newest store under the writers' lock and, when it reports a
    // change, replaces the file with the result.
    void Modify(const std::function<bool(TRegData&)>& change);
    // Between BeginUpdate and EndUpdate the lock is held and changes collect in memory;
    // EndUpdate writes them in one replacement. Updates nest. AbandonUpdate ends one
    // without writing: an update any part of which was abandoned writes nothing, and its
    // outermost EndUpdate raises ERegistryException saying so.
    void BeginUpdate();
    void EndUpdate();
    void AbandonUpdate();

private:
    struct Stamp {
        bool Exists = false;
        std::uint32_t Mode = 0;
        std::uint64_t Device = 0, Inode = 0, Size = 0;
        std::int64_t ModifiedNs = 0, ChangedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp CurrentStamp() const;
    void Reload(const Stamp& stamp);
    // Writes Text as the new file and remembers it as what is on disk.
    void Replace(std::string text);

    void Lock();
    void Unlock();
    void Discard(); // ends the outermost update without writing

    std::string FFileName;
    TRegData FData;
    std::string FText; // the bytes FData was read from or written as
    Stamp FStamp;
    bool FLoaded = false;
    int FLockFd = -1;
    int FUpdateDepth = 0;
    bool FPending = false;
    bool FAbandoned = false;
};

class TRegistry {
public:
    TRegistry();                                              // the default store file
    explicit TRegistry(const std::string& fileName);          // the process's store for it
    explicit TRegistry(std::shared_ptr<TRegistryFile> store); // a store passed in

    // Collects the writes up to the matching EndUpdate into one replacement of the
    // file, holding the writers' lock meanwhile. Pair them with TRegistryUpdate. Other
    // handles on the same store write into the same update.
    void BeginUpdate() { FFile->BeginUpdate(); }
    void EndUpdate() { FFile->EndUpdate(); }
    void AbandonUpdate() { FFile->AbandonUpdate(); }

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY rootKey); // closes the open key
    // The open key relative to the root ("" when none is open).
    const std::string& CurrentPath() const { return FCurrentPath; }
    const std::string& FileName() const { return FFile->FileName(); }
    const std::shared_ptr<TRegistryFile>& Store() const { return FFile; }

    // Key is relative to the open key, or to the root when it begins with "\".
    // False when the key does not exist and CanCreate is false.
    bool OpenKey(std::string_view key, bool canCreate);
    // Opens Key, existing or not, without creating it yet: a missing key reads as one
    // without values, and the first value written creates it. A handle that only reads
    // then writes nothing, not even the store file.
    void OpenKeyOnWrite(std::string_view key);
    void CloseKey();
    bool KeyExists(std::string_view key);

    bool ValueExists(std::string_view name);
    // The empty string when the value does not exist; ERegistryException when it is
    // not a text.
    std::string ReadString(std::string_view name);
    void WriteString(std::string_view name, std::string_view value);
    // ERegistryException when the value does not exist or is not an integer.
    std::int32_t ReadInteger(std::string_view name);
    void WriteInteger(std::string_view name, std::int32_t value);
    bool DeleteValue(std::string_view name);
    // The names of the open key's values, in stored order.
    void GetValueNames(TStringList& names);

private:
    std::string RootName() const;
    std::string FullPath(std::string_view relative) const;
    std::string Resolve(std::string_view key) const;
    void CheckKeyPath(const std::string& path) const;
    const TRegValue* Value(std::string_view name);
    void Put(TRegValue value);

    std::shared_ptr<TRegistryFile> FFile; // never null
    HKEY FRootKey = HKEY_CURRENT_USER;
    std::string FCurrentPath;
};

// Holds a registry update for a scope: the store's transaction. From its start the
// writers' lock is held and the store is read afresh, so a read-modify-write inside it
// (read a list, change it, write it back) sees every write another process finished
// before and loses none made meanwhile. Commit writes and reports a failure; leaving the
// scope without it (an error on the way) writes nothing of the update, so that a list is
// never left half written.
class TRegistryUpdate {
public:
    explicit TRegistryUpdate(TRegistry& reg) : FReg(&reg) { reg.BeginUpdate(); }
    ~TRegistryUpdate();
    TRegistryUpdate(const TRegistryUpdate&) = delete;
    TRegistryUpdate& operator=(const TRegistryUpdate&) = delete;
    void Commit();

private:
    TRegistry* FReg;
};

} // namespace vesk
