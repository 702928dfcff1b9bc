// The component palette: a tab for each page of the palette registry with a button for
// each class on it, after the pointer button that goes back to selecting. Picking a
// class and then clicking on a form view drops it there (connect classPicked to
// TFormView::SetDropClass, and the view's componentDropped to ClearPick). Packages
// loaded or unloaded change the pages; Refresh shows them.
#pragma once

#include "platform/design/ClassRegistry.h"

#include <QIcon>
#include <QTabWidget>

#include <string>

class QAbstractButton;
class QButtonGroup;

namespace vesk {

class TFormView;

// Places the host's own classes on their pages ("Standard", "Additional", "Win32",
// "System", "Data Access", "Data Controls"); once, whoever calls it first.
void RegisterHostPalette();

class TComponentPalette : public QTabWidget {
    Q_OBJECT

public:
    explicit TComponentPalette(QWidget* parent = nullptr);

    // Rebuilds the tabs from the palette registry, keeping the page shown and the pick
    // when they are still there.
    void Refresh();

    // The class picked for the next drop; none when the pointer is down.
    const TClassInfo* Picked() const { return FPicked; }
    // Puts the pointer down (after a drop, or Escape).
    void ClearPick();
    // The button of a class on the shown pages; none when it is on none.
    QAbstractButton* ButtonOf(const std::string& className) const;

    // Picks go to View, and a drop there puts the pointer down; the view attached
    // before is let go (none: picks go nowhere). A view that is destroyed is let go.
    void Attach(TFormView* view);

signals:
    void classPicked(const vesk::TClassInfo* classInfo);

private:
    void Pick(const TClassInfo* classInfo);

    const TClassInfo* FPicked = nullptr;
    std::vector<QButtonGroup*> FGroups;
    std::vector<QMetaObject::Connection> FViewConnections;
};

} // namespace vesk
