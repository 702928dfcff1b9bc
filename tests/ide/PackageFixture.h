// What the tests of the IDE's packages share: where the packages are as built (and the
// libraries that are not good packages), and a headless host with a settings store of
// its own in a scratch folder.
#pragma once

#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace vesk::test {

inline std::string BuiltFile(const char* relative) {
    return (std::filesystem::path(VESK_BINARY_DIR) / relative).lexically_normal().string();
}

inline const std::string VeskSo = BuiltFile("lib/vesk/Vesk.so");
inline const std::string VeskExpSo = BuiltFile("lib/vesk/VeskExp.so");
inline const std::string NotAPackageSo = BuiltFile("lib/test/NotAPackage.so");
inline const std::string FailingSo = BuiltFile("lib/test/FailingPackage.so");

// The host (its main menu ending in "Help") and its store, which is also the process's
// default store while the test runs.
class PackageHostTest : public ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ::setenv("VESK_REGISTRY", Path("registry.reg").c_str(), 1);
        FStore = TRegistryFile::Open(Path("registry.reg"));
        FHost = std::make_unique<THeadlessHost>(FStore);
    }
    void TearDown() override {
        FHost.reset();
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }

    std::shared_ptr<TRegistryFile> FStore;
    std::unique_ptr<THeadlessHost> FHost;
};

} // namespace vesk::test
