// The loadable package Vesk: nothing but its entry; the code is the library's layer.
#include "library/package/VeskPackage.h"
#include "platform/design/PackageEntry.h"

namespace {

constexpr const char* VeskRequires[] = {nullptr};

constexpr vesk::TPackageEntry VeskEntry{vesk::PackageEntryVersion,    vesk::VeskPackageName,
                                        vesk::VeskPackageDescription, VeskRequires,
                                        &vesk::RegisterVeskPackage,   &vesk::UnregisterVeskPackage};

} // namespace

VESK_PACKAGE_ENTRY(VeskEntry)
