#include "platform/ota/HostServices.h"

#include "platform/ota/HeadlessHost.h"
#include "platform/rtl/SysUtils.h"

#include <iostream>

namespace vesk {

namespace {

THostServices* Installed = nullptr;

THeadlessServices& DefaultServices() {
    static THeadlessServices services;
    return services;
}

} // namespace

bool TOpenDialog::Execute() {
    return HostServices().ExecuteOpenDialog(*this);
}

THostServices& HostServices() {
    return Installed ? *Installed : DefaultServices();
}

THostServices* InstalledHostServices() {
    return Installed;
}

void SetHostServices(THostServices* services) {
    Installed = services;
    SetScreen(services ? &services->GetScreen() : nullptr);
}

std::string ExceptionText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

bool RunHandler(const std::function<void()>& handler) noexcept {
    try {
        handler();
        return true;
    } catch (...) {
        const std::string text = ExceptionText(std::current_exception());
        try {
            HostServices().MessageDlg(text, TMsgDlgType::mtError, mbOK);
        } catch (...) {
            // The error box itself failed: the error must still not be lost.
            std::cerr << "Unreported error: " << text << std::endl;
        }
        return false;
    }
}

} // namespace vesk
