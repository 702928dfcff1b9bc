// The IDE's packages: the shared libraries its "Known Packages" key lists, loaded in an
// order that puts a package after the packages it requires, each registering its
// components, property editors and experts through its entry, and unloaded on request
// with all of that undone. A package that cannot be loaded is reported in one line and
// the others load all the same.
#pragma once

#include "platform/ota/Expert.h"
#include "platform/registry/Registry.h"

#include <memory>
#include <string>
#include <vector>

namespace vesk {

// The IDE's list of installed packages: value name, the package file's full path; data,
// its description.
inline constexpr const char* KnownPackagesKey = "Software\\Borland\\Delphi\\3.0\\Known Packages";

struct TPackageInfo {
    std::string FileName;
    std::string Description;
    bool Loaded = false;
    std::string Error; // why it is not loaded; empty when it is
};

// While it lives the loader is the process's expert host (the one installed before is
// put back when it ends). Experts registered while a package's entry runs belong to that
// package and are released when it is unloaded.
class TPackageLoader : public TExpertHost {
public:
    TPackageLoader();
    // Unloads every package, the last loaded first, then releases the experts registered
    // outside any package.
    ~TPackageLoader() override;
    TPackageLoader(const TPackageLoader&) = delete;
    TPackageLoader& operator=(const TPackageLoader&) = delete;

    // Where the IDE's own packages are: <the program's folder>/../lib/vesk, which is
    // where the build puts them and where they are installed beside the program.
    static std::string DefaultPackageDir();
    // Where the sources of the IDE's own packages are (Vesk.dpk, VeskExp.dpk), for the
    // library search path: <the program's folder>/../share/vesk/packages when installed
    // there, else the source tree's examples/packages.
    static std::string DefaultPackageSourceDir();
    // The folder of the packages the Known Packages key starts with when it does not
    // exist yet (DefaultPackageDir unless set).
    void SetDefaultPackageDir(std::string dir) { FDefaultDir = std::move(dir); }

    // Loads every package the key lists that is not loaded yet: in the order of their
    // file names (without regard to case), except that a package comes after those it
    // requires. A missing key is first written with the IDE's own packages, Vesk and
    // VeskExp. One line per package that failed, naming it and saying why; a store that
    // cannot be read is one line too, is not written, and nothing is loaded.
    std::vector<std::string> LoadKnownPackages(TRegistryFile& store);

    // Loads one package and runs its entry's registrations. An empty description takes
    // the package's own. False with Error set (one line) for a file that is missing, is
    // not a package, was built for another host, duplicates a loaded package's name,
    // requires a package not loaded, or whose registration raised: then nothing of it
    // stays registered. A package already loaded from that file: true, nothing done.
    bool Load(const std::string& fileName, const std::string& description, std::string& error);
    // Unloads the packages that require it (last loaded first), releases the experts it
    // registered (last first), undoes its registrations and closes it. False when it was
    // not loaded.
    bool Unload(const std::string& fileName);

    // Install: loads the package and, once it is loaded, lists it in the key with its
    // description. When either fails: false with Error set, nothing listed, nothing new
    // loaded.
    bool Add(TRegistryFile& store, const std::string& fileName, std::string& error);
    // Uninstall: unloads the package (and what requires it) and takes it out of the key.
    // False when the loader did not know it. ERegistryException, with nothing changed,
    // when the store cannot be written.
    bool Remove(TRegistryFile& store, const std::string& fileName);

    // The packages known to the loader, in the order they became known, each with its
    // state.
    std::vector<TPackageInfo> Packages() const;
    bool IsLoaded(const std::string& fileName) const;

    // Takes over Expert's reference: recorded under the package whose entry is running,
    // else kept until the loader ends.
    void RegisterExpert(TIExpert* expert) override;

private:
    struct TPackage;
    TPackage* Find(const std::string& fileName) const;
    TPackage& Record(const std::string& fileName, const std::string& description);
    bool Open(TPackage& package, std::string& error);
    bool Start(TPackage& package, std::string& error);
    void Close(TPackage& package);
    void Forget(const std::string& fileName);

    std::vector<std::unique_ptr<TPackage>> FPackages; // in the order they became known
    std::vector<TPackage*> FLoadOrder;                // the loaded ones, in load order
    TPackage* FLoading = nullptr;                     // whose entry is running
    std::vector<TIExpert*> FOwnExperts;               // registered outside any package
    TExpertHost* FPreviousHost;
    std::string FDefaultDir;
};

} // namespace vesk
