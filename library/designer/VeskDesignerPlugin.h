// The Qt Designer plugin collection of the library's widgets: one entry on the group
// "Vesk" for each control the package puts on its palette page, made through the
// class registry.
#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QObject>

namespace vesk {

class TClassInfo;

class TVeskWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TVeskWidgetPlugin(const TClassInfo& classInfo, QObject* parent);

    QString name() const override;
    QString group() const override { return QStringLiteral("Vesk"); }
    QString toolTip() const override;
    QString whatsThis() const override { return toolTip(); }
    QString includeFile() const override;
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface*) override { FInitialized = true; }
    // A new widget of the class, with the class's own defaults, on Parent.
    QWidget* createWidget(QWidget* parent) override;
    QString domXml() const override;

private:
    const TClassInfo* FClass;
    bool FInitialized = false;
};

class TVeskWidgetCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TVeskWidgetCollection(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return FWidgets; }

private:
    QList<QDesignerCustomWidgetInterface*> FWidgets;
};

} // namespace vesk
