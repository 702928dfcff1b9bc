// The offscreen application shared by the commands that draw widgets.
#include "cli/OffscreenApp.h"

#include <cstdio>

namespace vesk::cli {

namespace {

const char* CommandName = "vesk";

} // namespace

std::unique_ptr<QApplication> EnsureApplication(const char* command) {
    if (QApplication::instance())
        return nullptr;
    CommandName = command;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s: %s\n", CommandName, qPrintable(text));
    });
    static int argc = 1;
    static char name[] = "vesk";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace vesk::cli
