#include "expert/package/VeskExpPackage.h"

#include "expert/frame/MgrExp.h"
#include "platform/design/ClassRegistry.h"

namespace vesk {

void RegisterVeskExpPackage() {
    TPackageScope package(VeskExpPackageName);
    MgrExp::Register();
}

void UnregisterVeskExpPackage() {
    UnregisterPackage(VeskExpPackageName);
}

} // namespace vesk
