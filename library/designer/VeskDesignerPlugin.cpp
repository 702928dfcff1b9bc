#include "library/designer/VeskDesignerPlugin.h"

#include "library/package/VeskPackage.h"
#include "platform/design/Palette.h"
#include "platform/qt/LiveWidget.h"

#include <map>

namespace vesk {

namespace {

// The header a form's generated code includes for each class.
QString HeaderOf(const std::string& className) {
    static const std::map<std::string, QString> headers{
        {"TVeskDBTreeView", "library/dbtree/VeskDBTreeView.h"},
        {"TLabelEffect", "library/effects/LblEffct.h"},
        {"TVeskSpeedButton", "library/effects/VeskButton.h"}};
    const auto found = headers.find(className);
    return found == headers.end() ? QString() : found->second;
}

} // namespace

TVeskWidgetPlugin::TVeskWidgetPlugin(const TClassInfo& classInfo, QObject* parent)
    : QObject(parent), FClass(&classInfo) {}

QString TVeskWidgetPlugin::name() const {
    return QStringLiteral("vesk::") + QString::fromStdString(FClass->ClassName());
}

QString TVeskWidgetPlugin::toolTip() const {
    return QString::fromStdString(FClass->ClassName() + " (" + FClass->ClassParent()->ClassName() +
                                  ")");
}

QString TVeskWidgetPlugin::includeFile() const {
    return HeaderOf(FClass->ClassName());
}

QWidget* TVeskWidgetPlugin::createWidget(QWidget* parent) {
    std::unique_ptr<TLiveObject> live = FClass->Live()->Create(*FClass, nullptr);
    auto* holder = dynamic_cast<TLiveWidgetBase*>(live.get());
    QWidget* widget = holder ? holder->ReleaseWidget() : nullptr;
    if (widget)
        widget->setParent(parent);
    return widget;
}

QString TVeskWidgetPlugin::domXml() const {
    const QString className = name();
    const QString objectName = QString::fromStdString(FClass->ClassName().substr(1));
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\">"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y>"
                          "<width>120</width><height>60</height></rect></property>"
                          "</widget></ui>")
        .arg(className, objectName.left(1).toLower() + objectName.mid(1));
}

TVeskWidgetCollection::TVeskWidgetCollection(QObject* parent) : QObject(parent) {
    RegisterVeskPackage();
    for (const TClassInfo* c : PaletteClasses("Vesk"))
        if (c->IsControl() && c->Live())
            FWidgets.append(new TVeskWidgetPlugin(*c, this));
}

} // namespace vesk
