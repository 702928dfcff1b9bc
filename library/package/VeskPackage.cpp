#include "library/package/VeskPackage.h"

#include "library/dbtree/VeskDBTreeView.h"
#include "library/effects/LblEffct.h"
#include "library/effects/VeskButton.h"
#include "library/utility/Des.h"
#include "library/utility/VeskFastTm.h"

namespace vesk {

void RegisterVeskPackage() {
    TPackageScope package(VeskPackageName);
    VeskDBTree::Register();
    LblEffct::Register();
    VeskButton::Register();
    VeskFastTm::Register();
    Des::Register();
}

void UnregisterVeskPackage() {
    UnregisterPackage(VeskPackageName);
}

} // namespace vesk
