// The offscreen application shared by the commands that draw widgets.
#include "cli/OffscreenApp.h"
#include "cli/Command.h"
#include "platform/rtl/FileReplace.h"

#include <QBuffer>
#include <QByteArray>

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

void WritePng(const QImage& image, const std::string& path) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw CommandError("cannot encode the picture as PNG");
    ReplaceFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

} // namespace vesk::cli
