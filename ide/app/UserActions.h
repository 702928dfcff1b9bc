// The IDE's windows driven as a user drives them, with real mouse and key events: what
// the tour does to show the IDE at work. Each action reports whether the widgets it
// needed were there; what the action changed is for the caller to check.
#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <string>

class QAction;
class QListWidget;
class QWidget;

namespace vesk {

class TComponent;
class TComponentPalette;
class TFormView;
class TObjectInspector;

// The action named Name among Actions and their menus' actions; none when there is none.
QAction* FindAction(const QList<QAction*>& actions, const QString& name);

// A left click in the middle of the widget (none: nothing happens).
void Click(QWidget* widget);
// Clicks the rows of List whose texts are Names, the first plainly, the rest with Ctrl.
void ClickRows(QListWidget* list, const QStringList& names);

// Clicks the class's button on its palette page, then the form at At (the form's
// coordinates). The component dropped; none when the class has no button or no
// component came.
TComponent* DropFromPalette(TComponentPalette& palette, TFormView& view,
                            const std::string& className, QPoint at);
// Clicks the component on the form (with Shift it joins the selection); false when it
// is not drawn.
bool ClickComponent(TFormView& view, TComponent* component, Qt::KeyboardModifiers mods = {});
// Drags the component by By with the left button; false when it is not drawn.
bool DragComponent(TFormView& view, TComponent* component, QPoint by);

// Clicks the value of the inspector's row Name and enters Text: typed and Enter in an
// edit or an editable list, chosen with the arrow keys in a fixed one. False when the row,
// its editor or (in a fixed list) the entry is missing.
bool EnterInInspector(TObjectInspector& inspector, const QString& name, const QString& text);

} // namespace vesk
