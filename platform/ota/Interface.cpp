#include "platform/ota/Interface.h"

namespace vesk {

int TInterface::AddRef() {
    return ++FRefCount;
}

int TInterface::Release() {
    const int left = --FRefCount;
    if (left == 0)
        delete this;
    return left;
}

int TInterface::GetVersion() {
    return InterfaceVersion;
}

} // namespace vesk
