// A package whose registration raises after its units registered a component and an
// expert: the loader has to undo both.
#include "expert/frame/MgrExp.h"
#include "library/utility/VeskFastTm.h"
#include "platform/design/ClassRegistry.h"
#include "platform/design/PackageEntry.h"
#include "platform/rtl/SysUtils.h"

namespace {

void RegisterFailing() {
    vesk::TPackageScope package("Failing");
    vesk::VeskFastTm::Register();
    vesk::MgrExp::Register();
    throw vesk::Exception("the third unit cannot register");
}

void UnregisterFailing() {
    vesk::UnregisterPackage("Failing");
}

constexpr const char* FailingRequires[] = {nullptr};

constexpr vesk::TPackageEntry FailingEntry{
    vesk::PackageEntryVersion, "Failing",        "Fails",
    FailingRequires,           &RegisterFailing, &UnregisterFailing};

} // namespace

VESK_PACKAGE_ENTRY(FailingEntry)
