// Where the tests of the IDE find the packages as built, and the libraries that are
// not good packages.
#pragma once

#include <filesystem>
#include <string>

namespace vesk::test {

inline std::string BuiltFile(const char* relative) {
    return (std::filesystem::path(VESK_BINARY_DIR) / relative).lexically_normal().string();
}

inline const std::string VeskSo = BuiltFile("lib/vesk/Vesk.so");
inline const std::string VeskExpSo = BuiltFile("lib/vesk/VeskExp.so");
inline const std::string NotAPackageSo = BuiltFile("lib/test/NotAPackage.so");
inline const std::string FailingSo = BuiltFile("lib/test/FailingPackage.so");

} // namespace vesk::test
