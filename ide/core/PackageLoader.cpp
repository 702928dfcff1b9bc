#include "ide/core/PackageLoader.h"

#include "expert/package/VeskExpPackage.h"
#include "library/package/VeskPackage.h"
#include "platform/design/PackageEntry.h"
#include "platform/ota/HostServices.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vesk {

struct TPackageLoader::TPackage {
    std::string FileName;
    std::string Description;
    std::string Error;
    void* Handle = nullptr; // open from Open to Close
    const TPackageEntry* Entry = nullptr;
    bool Loaded = false;            // its registrations are made
    std::vector<TIExpert*> Experts; // one reference each, in registration order

    std::string Name() const { return Entry ? Entry->Name : ""; }
    std::vector<std::string> Requires() const {
        std::vector<std::string> names;
        if (Entry && Entry->Requires)
            for (const char* const* name = Entry->Requires; *name; ++name)
                names.emplace_back(*name);
        return names;
    }
};

namespace {

// A registry handle on a store the caller keeps alive.
TRegistry Handle(TRegistryFile& store) {
    return TRegistry(std::shared_ptr<TRegistryFile>(std::shared_ptr<TRegistryFile>(), &store));
}

std::string LastLoadError() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

// Experts given back last first; one that raises while it goes cannot stop the others.
void ReleaseExperts(std::vector<TIExpert*>& experts) {
    while (!experts.empty()) {
        TIExpert* expert = experts.back();
        experts.pop_back();
        RunHandler([expert] { expert->Free(); });
    }
}

// Makes the loader the expert host while a package's entry runs, whoever was installed.
class TExpertHostScope {
public:
    explicit TExpertHostScope(TExpertHost* host) : FPrevious(ExpertHost()) { SetExpertHost(host); }
    ~TExpertHostScope() { SetExpertHost(FPrevious); }
    TExpertHostScope(const TExpertHostScope&) = delete;
    TExpertHostScope& operator=(const TExpertHostScope&) = delete;

private:
    TExpertHost* FPrevious;
};

} // namespace

TPackageLoader::TPackageLoader() : FPreviousHost(ExpertHost()), FDefaultDir(DefaultPackageDir()) {
    SetExpertHost(this);
}

TPackageLoader::~TPackageLoader() {
    while (!FLoadOrder.empty())
        Unload(FLoadOrder.back()->FileName);
    ReleaseExperts(FOwnExperts);
    if (ExpertHost() == this)
        SetExpertHost(FPreviousHost);
}

std::string TPackageLoader::DefaultPackageDir() {
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed)
        return "lib/vesk";
    return (program.parent_path() / ".." / "lib" / "vesk").lexically_normal().string();
}

std::string TPackageLoader::DefaultPackageSourceDir() {
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed) {
        const std::filesystem::path installed =
            (program.parent_path() / ".." / "share" / "vesk" / "packages").lexically_normal();
        if (std::filesystem::is_directory(installed, failed))
            return installed.string();
    }
    return VESK_PACKAGE_SOURCE_DIR;
}

TPackageLoader::TPackage* TPackageLoader::Find(const std::string& fileName) const {
    for (const auto& package : FPackages)
        if (package->FileName == fileName)
            return package.get();
    return nullptr;
}

TPackageLoader::TPackage& TPackageLoader::Record(const std::string& fileName,
                                                 const std::string& description) {
    TPackage* package = Find(fileName);
    if (!package) {
        FPackages.push_back(std::make_unique<TPackage>());
        package = FPackages.back().get();
        package->FileName = fileName;
    }
    if (!description.empty())
        package->Description = description;
    return *package;
}

void TPackageLoader::Forget(const std::string& fileName) {
    std::erase_if(FPackages, [&](const auto& package) { return package->FileName == fileName; });
}

bool TPackageLoader::Open(TPackage& package, std::string& error) {
    if (package.Handle)
        return true;
    const std::string& file = package.FileName;
    if (!FileExists(file)) {
        error = file + ": no such package file";
        return false;
    }
    // The package's code stays mapped after it is closed (RTLD_NODELETE): Qt may still
    // hold metatype data or deferred deletions that point into it, and code unmapped
    // under them is a crash, or a leak report nobody can read. What the package
    // registered is undone all the same, and loading it again runs its entry again.
    dlerror();
    // A name without a folder would be looked for along the system's library path, not
    // where FileExists found it.
    const std::string path = std::filesystem::absolute(file).string();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        error = file + ": cannot be loaded: " + LastLoadError();
        return false;
    }
    auto entry = reinterpret_cast<TPackageEntryProc>(dlsym(handle, PackageEntryName));
    const TPackageEntry* description = entry ? entry() : nullptr;
    if (!description) {
        dlclose(handle);
        error = file + ": not a package (it has no " + PackageEntryName + ")";
        return false;
    }
    if (description->Version != PackageEntryVersion || !description->Name || !*description->Name ||
        !description->Register || !description->Unregister) {
        dlclose(handle);
        error = file + ": a package built for another version of the IDE";
        return false;
    }
    package.Handle = handle;
    package.Entry = description;
    if (package.Description.empty() && description->Description)
        package.Description = description->Description;
    return true;
}

bool TPackageLoader::Start(TPackage& package, std::string& error) {
    for (const TPackage* other : FLoadOrder)
        if (SameText(other->Name(), package.Name())) {
            error = package.FileName + ": package " + package.Name() + " is already loaded from " +
                    other->FileName;
            return false;
        }
    for (const std::string& required : package.Requires()) {
        const bool loaded = std::any_of(FLoadOrder.begin(), FLoadOrder.end(),
                                        [&](TPackage* p) { return SameText(p->Name(), required); });
        if (!loaded) {
            error = package.FileName + ": requires package " + required + ", which is not loaded";
            return false;
        }
    }
    try {
        const TExpertHostScope host(this);
        FLoading = &package;
        package.Entry->Register();
        FLoading = nullptr;
    } catch (...) {
        FLoading = nullptr;
        error = package.FileName +
                ": its registration failed: " + ExceptionText(std::current_exception());
        // Nothing half-registered stays: its experts go and its registrations are undone.
        ReleaseExperts(package.Experts);
        package.Entry->Unregister();
        return false;
    }
    package.Loaded = true;
    package.Error.clear();
    FLoadOrder.push_back(&package);
    return true;
}

void TPackageLoader::Close(TPackage& package) {
    if (package.Handle)
        dlclose(package.Handle);
    package.Handle = nullptr;
    package.Entry = nullptr;
}

bool TPackageLoader::Load(const std::string& fileName, const std::string& description,
                          std::string& error) {
    error.clear();
    TPackage& package = Record(fileName, description);
    if (package.Loaded)
        return true;
    if (Open(package, error) && Start(package, error))
        return true;
    Close(package);
    package.Error = error;
    return false;
}

bool TPackageLoader::Unload(const std::string& fileName) {
    TPackage* package = Find(fileName);
    if (!package || !package->Loaded)
        return false;
    const std::string name = package->Name();
    // What requires it goes first, the last loaded first.
    for (auto it = FLoadOrder.rbegin(); it != FLoadOrder.rend();) {
        const std::vector<std::string> needs = (*it)->Requires();
        if (std::any_of(needs.begin(), needs.end(),
                        [&](const std::string& r) { return SameText(r, name); })) {
            TPackage* dependent = *it;
            Unload(dependent->FileName);
            dependent->Error =
                dependent->FileName + ": requires package " + name + ", which is not loaded";
            it = FLoadOrder.rbegin();
        } else {
            ++it;
        }
    }
    ReleaseExperts(package->Experts);
    package->Entry->Unregister();
    package->Loaded = false;
    std::erase(FLoadOrder, package);
    Close(*package);
    return true;
}

std::vector<std::string> TPackageLoader::LoadKnownPackages(TRegistryFile& store) {
    // The key's packages with their descriptions, sorted by file name.
    std::vector<std::pair<std::string, std::string>> known;
    try {
        TRegistry reg = Handle(store);
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKey(KnownPackagesKey, false)) {
            TRegistryUpdate update(reg);
            reg.OpenKey(KnownPackagesKey, true);
            const std::filesystem::path dir(FDefaultDir);
            reg.WriteString((dir / (std::string(VeskPackageName) + ".so")).string(),
                            VeskPackageDescription);
            reg.WriteString((dir / (std::string(VeskExpPackageName) + ".so")).string(),
                            VeskExpPackageDescription);
            update.Commit();
        }
        TStringList names;
        reg.GetValueNames(names);
        for (int i = 0; i < names.Count(); ++i) {
            std::string description;
            try {
                description = reg.ReadString(names[i]);
            } catch (const ERegistryException&) {
                // data of another kind: the package's own description is shown
            }
            known.emplace_back(names[i], std::move(description));
        }
    } catch (const ERegistryException& failure) {
        // A store that cannot be read is left as it is: nothing loads this time.
        return {std::string("the list of known packages cannot be read: ") + failure.what()};
    }
    std::stable_sort(known.begin(), known.end(), [](const auto& a, const auto& b) {
        return CompareText(a.first, b.first) < 0;
    });

    std::vector<std::string> errors;
    std::vector<TPackage*> pending;
    for (const auto& [file, description] : known) {
        TPackage& package = Record(file, description);
        if (package.Loaded)
            continue;
        std::string error;
        if (Open(package, error)) {
            pending.push_back(&package);
        } else {
            package.Error = error;
            errors.push_back(error);
        }
    }
    // Rounds in file-name order: each starts what has everything it requires loaded.
    // What is left when a round starts nothing requires what failed, or itself.
    for (bool progress = true; progress && !pending.empty();) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            TPackage& package = **it;
            const std::vector<std::string> needs = package.Requires();
            const bool ready = std::all_of(needs.begin(), needs.end(), [&](const auto& r) {
                return std::any_of(FLoadOrder.begin(), FLoadOrder.end(),
                                   [&](TPackage* p) { return SameText(p->Name(), r); });
            });
            if (!ready) {
                ++it;
                continue;
            }
            std::string error;
            if (!Start(package, error)) {
                Close(package);
                package.Error = error;
                errors.push_back(error);
            }
            it = pending.erase(it);
            progress = true;
        }
    }
    for (TPackage* package : pending) {
        std::string error;
        Start(*package, error); // reports the package it waits for
        Close(*package);
        package->Error = error;
        errors.push_back(error);
    }
    return errors;
}

bool TPackageLoader::Add(TRegistryFile& store, const std::string& fileName, std::string& error) {
    const bool known = Find(fileName) != nullptr;
    const bool wasLoaded = IsLoaded(fileName);
    if (!Load(fileName, "", error)) {
        if (!known)
            Forget(fileName);
        return false;
    }
    try {
        TRegistry reg = Handle(store);
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.OpenKey(KnownPackagesKey, true);
        reg.WriteString(fileName, Find(fileName)->Description);
    } catch (const ERegistryException& failure) {
        // Not listed, so not installed: it does not stay loaded either.
        if (!wasLoaded)
            Unload(fileName);
        if (!known)
            Forget(fileName);
        error = fileName + ": cannot be listed as installed: " + failure.what();
        return false;
    }
    return true;
}

bool TPackageLoader::Remove(TRegistryFile& store, const std::string& fileName) {
    if (!Find(fileName))
        return false;
    // Out of the list first: when the store cannot be written, nothing has changed.
    TRegistry reg = Handle(store);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(KnownPackagesKey, false))
        reg.DeleteValue(fileName);
    Unload(fileName);
    Forget(fileName);
    return true;
}

std::vector<TPackageInfo> TPackageLoader::Packages() const {
    std::vector<TPackageInfo> list;
    for (const auto& package : FPackages)
        list.push_back({package->FileName, package->Description, package->Loaded, package->Error});
    return list;
}

bool TPackageLoader::IsLoaded(const std::string& fileName) const {
    const TPackage* package = Find(fileName);
    return package && package->Loaded;
}

void TPackageLoader::RegisterExpert(TIExpert* expert) {
    if (!expert)
        return;
    if (FLoading)
        FLoading->Experts.push_back(expert);
    else
        FOwnExperts.push_back(expert);
}

} // namespace vesk
