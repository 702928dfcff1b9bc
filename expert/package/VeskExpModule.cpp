// The loadable package VeskExp: nothing but its entry; the code is the add-in's layer.
#include "expert/package/VeskExpPackage.h"
#include "library/package/VeskPackage.h"
#include "platform/design/PackageEntry.h"

namespace {

constexpr const char* VeskExpRequires[] = {vesk::VeskPackageName, nullptr};

constexpr vesk::TPackageEntry VeskExpEntry{
    vesk::PackageEntryVersion, vesk::VeskExpPackageName,      vesk::VeskExpPackageDescription,
    VeskExpRequires,           &vesk::RegisterVeskExpPackage, &vesk::UnregisterVeskExpPackage};

} // namespace

VESK_PACKAGE_ENTRY(VeskExpEntry)
