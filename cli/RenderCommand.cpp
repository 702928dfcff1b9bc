// vesk render: draws the effect label or the round speed button off screen with the
// given properties and state, and saves the picture as a PNG.
#include "cli/Command.h"
#include "cli/OffscreenApp.h"
#include "library/effects/LblEffct.h"
#include "library/effects/VeskButton.h"
#include "platform/qt/LiveWidget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <memory>

namespace vesk::cli {

namespace {

constexpr int MaxSide = 4096; // a picture larger than this is surely a typing slip

void ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    try {
        if (x == std::string::npos)
            throw EConvertError("no x");
        width = StrToInt(text.substr(0, x));
        height = StrToInt(text.substr(x + 1));
    } catch (const EConvertError&) {
        throw CommandError("--size must be WIDTHxHEIGHT, such as 200x50, not '" + text + "'");
    }
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide)
        throw CommandError("--size must be from 1x1 to " + std::to_string(MaxSide) + "x" +
                           std::to_string(MaxSide) + ", not '" + text + "'");
}

void PressLeftButton(QWidget& widget) {
    const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, widget.mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

class RenderCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("KIND", FKind, "what to draw: label or button")
            ->required()
            ->check(CLI::IsMember({"label", "button"}));
        app.add_option("--out", FOut, "the PNG file to write")->required();
        app.add_option("--size", FSize, "WIDTHxHEIGHT (default 260x60 label, 50x50 button)");
        app.add_option("--set", FSettings,
                       "Property=Value as a form file spells it, e.g. EffectStyle=esSunken, "
                       "ColourShadow=$00400040, Font.Size=28 (repeatable, applied in order)");
        app.add_option("--state", FState, "up, down (left button held on it) or hover")
            ->check(CLI::IsMember({"up", "down", "hover"}));
        app.add_option("--background", FBackground,
                       "colour behind the control (default clBtnFace)");
    }

    int Run() override {
        const auto application = EnsureApplication("vesk render");
        const TColor background = StringToColor(FBackground);
        int width = 0;
        int height = 0;
        if (!FSize.empty())
            ParseSize(FSize, width, height);

        // Made and set through the class registry, as a form file would.
        const bool isLabel = FKind == "label";
        const TClassInfo& type = isLabel ? LabelEffectClass() : VeskSpeedButtonClass();
        std::unique_ptr<TLiveObject> live = type.Live()->Create(type, nullptr);
        QWidget* widget = LiveWidget(live.get());
        widget->resize(width ? width : (isLabel ? 260 : 50), height ? height : (isLabel ? 60 : 50));
        for (const auto& [name, value] : Settings()) {
            const TPropInfo* prop = type.FindProp(name);
            if (!prop || prop->Kind == TTypeKind::tkMethod)
                throw CommandError(type.ClassName() + " has no property '" + name + "'");
            if (!WriteLivePropertyText(*live, name, value))
                throw CommandError(type.ClassName() + "." + prop->Name +
                                   " is kept in form files only; it cannot be drawn");
        }
        std::function<void(TCanvas&)> paint;
        if (auto* label = qobject_cast<TLabelEffect*>(widget))
            paint = [label](TCanvas& canvas) { label->Paint(canvas); };
        else if (auto* button = qobject_cast<TVeskSpeedButton*>(widget))
            paint = [button](TCanvas& canvas) { button->Paint(canvas); };
        if (widget->width() > MaxSide || widget->height() > MaxSide)
            throw CommandError("the control grew to " + std::to_string(widget->width()) + "x" +
                               std::to_string(widget->height()) + ", larger than " +
                               std::to_string(MaxSide) + " pixels a side");

        // Somewhere the pointer is not over the control, unless hovering is asked for.
        widget->move(0, 0);
        QCursor::setPos(widget->mapToGlobal(QPoint(widget->width() + 100, widget->height() + 100)));
        if (FState == "hover")
            QCursor::setPos(widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2)));
        else if (FState == "down")
            PressLeftButton(*widget);

        QImage image(widget->size(), QImage::Format_RGB32);
        image.fill(ToQColor(background));
        {
            QPainter painter(&image);
            TQtCanvas canvas(painter);
            paint(canvas);
        }
        WritePng(image, FOut);
        return ExitOk;
    }

private:
    std::vector<std::pair<std::string, std::string>> Settings() const {
        std::vector<std::pair<std::string, std::string>> settings;
        for (const std::string& setting : FSettings) {
            const std::size_t equals = setting.find('=');
            if (equals == std::string::npos || equals == 0)
                throw CommandError("--set wants Property=Value, not '" + setting + "'");
            settings.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
        }
        return settings;
    }

    std::string FKind;
    std::string FOut;
    std::string FSize;
    std::vector<std::string> FSettings;
    std::string FState = "up";
    std::string FBackground = "clBtnFace";
};

const CommandRegistration renderRegistration{
    "render", "Draw the effect label or the round speed button into a PNG file",
    [] { return std::make_unique<RenderCommand>(); }};

} // namespace

} // namespace vesk::cli
