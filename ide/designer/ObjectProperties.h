// The object inspector: the published properties of the components selected in a form
// view, from the class registry, edited in place through the registered property
// editors; a page of properties and a page of events. Several selected show what they
// share (an editor without paMultiSelect is left out) and an edit applies to them all.
// Every edit goes through the view's designer, so it is one undo step and the view
// redraws; the inspector rebuilds after each change of the model or the selection.
#pragma once

#include "platform/design/PropertyEditors.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QComboBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vesk {

class TComponent;
class TFormView;

class TObjectInspector : public QWidget {
    Q_OBJECT

public:
    explicit TObjectInspector(QWidget* parent = nullptr);
    ~TObjectInspector() override;

    // Shows the selection of View and follows it (none: shows nothing). The view must
    // outlive the inspector or be detached first.
    void Attach(TFormView* view);
    // The form unit's text, for the handlers the events offer.
    void SetUnitSource(std::function<std::string()> source) { FUnitSource = std::move(source); }
    // Takes the unit's text with a handler a double click made (declaration and empty
    // body) and where its body is, for the editor to show.
    void SetUnitSink(std::function<void(const std::string& text, std::size_t body)> sink) {
        FUnitSink = std::move(sink);
    }

    void Rebuild();

    // A row by its property's name ("Left", "Font.Size", "Anchors.akLeft", "OnClick");
    // none when it is not shown.
    QTreeWidgetItem* ItemOf(const QString& name) const;
    QString ValueOf(const QString& name) const;
    // What the row's drop-down offers, in the order shown; empty for a row without one.
    QStringList ValuesOf(const QString& name) const;
    // Opens the row's in-place editor (a click on its value does) and returns it.
    QWidget* OpenEditor(const QString& name);
    // Sets the row's value as its editor would; false (and error) when it is refused.
    bool Commit(const QString& name, const QString& text);

signals:
    void error(const QString& message);
    // A double click on an event: the handler it names (made up and set when empty),
    // after the unit sink got the unit with it.
    void handlerRequested(vesk::TComponent* component, const QString& eventName,
                          const QString& handlerName);

private:
    struct TRow;
    void AddProperty(QTreeWidget* tree, QTreeWidgetItem* parent, const TPropInfo& prop,
                     const std::string& name);
    TRow* RowOf(const QString& name) const;
    void CloseEditor();
    void RequestHandler(const QString& eventName);
    void OpenFontDialog(const QString& name);
    void FillComponents();

    TFormView* FView = nullptr;
    std::function<std::string()> FUnitSource;
    std::function<void(const std::string&, std::size_t)> FUnitSink;
    QComboBox* FComponentList = nullptr;
    QTabWidget* FTabs = nullptr;
    QTreeWidget* FProperties = nullptr;
    QTreeWidget* FEvents = nullptr;
    std::map<std::string, std::unique_ptr<TRow>> FRows; // by upper-cased name
    QWidget* FOpen = nullptr;
    QString FOpenName;
    bool FCommitting = false;
    bool FRebuildPending = false;
    std::vector<QMetaObject::Connection> FViewConnections;
};

} // namespace vesk
