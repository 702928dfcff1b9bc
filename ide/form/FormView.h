// The form view of a module: the designed form's component model drawn with live
// widgets of the registered classes (the library's real controls for its own), inside a
// frame with the form's caption, as the designer shows a form. The model is the truth:
// the user's mouse and keys go to the form's designer (TFormDesigner), which changes
// the model; the view redraws after each of its changes, and after other tools' at
// Refresh. Clicks never reach the live widgets, so a designed edit does not take the
// user's typing.
//
// Mouse: a click selects, Shift+click adds or takes away, a drag on empty space selects
// with a rubber band (Ctrl+drag on a panel or another container: a band inside it for
// what stands on it), a drag on a component moves the selection, a drag on a grab
// handle resizes. Keys: an arrow selects the nearest component that way;
// Ctrl/Shift/Ctrl+Shift+arrows move and resize; Delete, Ctrl+C/X/V, Ctrl+Z and
// Shift+Ctrl+Z.
#pragma once

#include "ide/core/FormDesigner.h"
#include "platform/design/LiveObject.h"
#include "platform/forms/FormFile.h"

#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>

#include <functional>
#include <memory>
#include <string>

namespace vesk {

class TFormSurface;

class TFormView : public QScrollArea {
    Q_OBJECT

public:
    // Draws Form, which the caller owns and keeps alive longer than the view.
    explicit TFormView(TFormFile& form, QWidget* parent = nullptr);
    ~TFormView() override;

    TFormFile& Form() const { return FForm; }
    TComponent* Root() const { return FForm.Root(); }
    // The live window of the designed form (what the screen lists as an open form); none
    // when its class has no live binding.
    QWidget* FormWidget() const { return FFormWidget; }
    // The widget drawing Component: its live widget, or the placeholder of a class
    // without one (a tile for a table or a data source); none for an unknown component.
    QWidget* WidgetOf(const TComponent* component) const;
    // The live object drawn for Component (its widget's, or a data set's); none for a
    // class without a live binding.
    TLiveObject* LiveOf(const TComponent* component) const;
    // The component a live widget (or one of its inner widgets) draws; none elsewhere.
    TComponent* ComponentAt(const QWidget* widget) const;

    // Rebuilds the live widgets when the model changed since they were built, keeping the
    // selection when its component is still there; true when it had changed. A model the
    // live classes refuse (a value out of range) keeps the old widgets and raises.
    bool Refresh();

    // The operations on the model the view forwards the user's actions to.
    TFormDesigner& Designer() { return FDesigner; }

    // The selected component (the first of several): the form itself when nothing
    // else is.
    TComponent* Selected() const { return FDesigner.Selection().front(); }
    const std::vector<TComponent*>& Selection() const { return FDesigner.Selection(); }
    void Select(TComponent* component);
    void SetSelection(std::vector<TComponent*> components);

    // The class the next click on the form drops (the palette's pick); none: clicks
    // select.
    void SetDropClass(const TClassInfo* classInfo) { FDropClass = classInfo; }
    const TClassInfo* DropClass() const { return FDropClass; }

    // The bounds of Component's widget in the form's client coordinates (where the
    // surface takes the mouse); empty for one without a widget.
    QRect BoundsOnForm(const TComponent* component) const;

    // The Edit menu's commands on the form, as the keys do them; each returns whether
    // the model changed (Copy: whether anything was copied).
    bool Copy();
    bool Cut();
    bool Paste();
    bool DeleteSelection();
    bool Undo();
    bool Redo();

signals:
    void selectionChanged(vesk::TComponent* component);
    // After each change the designer made to the model (the module is modified).
    void modelChanged();
    // A class was dropped from the palette, or Escape gave up the pick (none); the
    // palette lets go of its pick.
    void componentDropped(vesk::TComponent* component);
    // A double click on a component (the window goes to its default event's handler).
    void componentDoubleClicked(vesk::TComponent* component);
    // A change the live classes refused to draw (the old widgets stay), or a paste
    // of text that holds no components.
    void designError(const QString& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build();
    void ModelChanged();
    void SelectionMayHaveChanged(TComponent* before, std::size_t countBefore);
    // Brings the selected component into sight and tells who follows the selection.
    void SelectionChanged();
    TComponent* ComponentAtPoint(QPoint surfacePos) const;
    // Runs a designer operation; an error it raises becomes designError.
    bool Apply(const std::function<bool()>& operation);
    void Toggle(TComponent* component);
    // Selects what stands on Container (none: the form) and touches Band (in the form's
    // client coordinates); Add keeps what was selected.
    void SelectInBand(QRect band, TComponent* container, bool add);
    // The container Component stands on, or is: where a drop or a Ctrl+band goes; the
    // form when no other.
    TComponent* ContainerOf(TComponent* component) const;
    void DropAt(const TClassInfo& classInfo, QPoint surfacePos);
    // The grab-handle edges (TDesignEdge bits) under the point; 0 for none.
    unsigned HandleAt(QPoint surfacePos) const;
    friend class TFormSurface;

    TFormFile& FForm;
    std::string FShownText; // the model as written when the widgets were built
    std::unique_ptr<TLiveForm> FLive;
    QHash<const QWidget*, TComponent*> FComponentOf;
    QHash<const TComponent*, QWidget*> FWidgetOf; // live widgets and placeholders
    QWidget* FFrame = nullptr;        // caption and client area, owned by the scroll area
    QLabel* FCaption = nullptr;       // the form's caption bar
    QWidget* FFormWidget = nullptr;   // owned by FLive
    TFormSurface* FSurface = nullptr; // over the form: takes the mouse, draws the selection
    TFormDesigner FDesigner;
    const TClassInfo* FDropClass = nullptr;
};

} // namespace vesk
