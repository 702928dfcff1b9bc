// The form view of a module: the designed form's component model drawn with live
// widgets of the registered classes (the library's real controls for its own), inside a
// frame with the form's caption, as the designer shows a form. The model is the truth:
// tools change the model and the view follows at Refresh; the view never writes to it.
// Clicks select a component and never reach the live widgets, so a designed edit does
// not take the user's typing.
#pragma once

#include "platform/design/LiveObject.h"
#include "platform/forms/FormFile.h"

#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>

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
    // The component a live widget (or one of its inner widgets) draws; none elsewhere.
    TComponent* ComponentAt(const QWidget* widget) const;

    // Rebuilds the live widgets when the model changed since they were built, keeping the
    // selection when its component is still there; true when it had changed. A model the
    // live classes refuse (a value out of range) keeps the old widgets and raises.
    bool Refresh();

    // The selected component: the form itself when nothing else is.
    TComponent* Selected() const { return FSelected; }
    void Select(TComponent* component);

signals:
    void selectionChanged(vesk::TComponent* component);

private:
    void Build();
    void SelectAt(QPoint surfacePos);
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
    TComponent* FSelected = nullptr;
};

} // namespace vesk
