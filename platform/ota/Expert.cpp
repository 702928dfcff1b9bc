#include "platform/ota/Expert.h"

namespace vesk {

namespace {
TExpertHost* CurrentExpertHost = nullptr;
} // namespace

void SetExpertHost(TExpertHost* host) {
    CurrentExpertHost = host;
}

TExpertHost* ExpertHost() {
    return CurrentExpertHost;
}

bool RegisterLibraryExpert(TIExpert* expert) {
    if (!expert)
        return false;
    if (!CurrentExpertHost) {
        expert->Free();
        return false;
    }
    CurrentExpertHost->RegisterExpert(expert);
    return true;
}

} // namespace vesk
