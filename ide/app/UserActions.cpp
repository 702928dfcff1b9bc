#include "ide/app/UserActions.h"

#include "ide/designer/ComponentPalette.h"
#include "ide/designer/ObjectProperties.h"
#include "ide/form/FormView.h"
#include "platform/forms/Component.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <optional>

namespace vesk {

namespace {

QWidget* Surface(TFormView& view) {
    return view.findChild<QWidget*>("FormSurface");
}

// The middle of the component's widget in the form's coordinates, which the surface
// over the form shares; none when it is not drawn.
std::optional<QPoint> CentreOf(TFormView& view, TComponent* component) {
    QWidget* widget = component ? view.WidgetOf(component) : nullptr;
    if (!widget || !view.FormWidget() || !Surface(view))
        return std::nullopt;
    return widget->mapTo(view.FormWidget(), widget->rect().center());
}

} // namespace

QAction* FindAction(const QList<QAction*>& actions, const QString& name) {
    for (QAction* action : actions) {
        if (action->objectName() == name)
            return action;
        if (action->menu())
            if (QAction* below = FindAction(action->menu()->actions(), name))
                return below;
    }
    return nullptr;
}

void Click(QWidget* widget) {
    if (widget)
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void ClickRows(QListWidget* list, const QStringList& names) {
    bool first = true;
    for (int row = 0; row < list->count(); ++row)
        if (names.contains(list->item(row)->text())) {
            const QPoint at = list->visualItemRect(list->item(row)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton,
                              first ? Qt::KeyboardModifiers{} : Qt::ControlModifier, at);
            first = false;
        }
}

TComponent* DropFromPalette(TComponentPalette& palette, TFormView& view,
                            const std::string& className, QPoint at) {
    QAbstractButton* button = palette.ButtonOf(className);
    QWidget* surface = Surface(view);
    if (!button || !surface)
        return nullptr;
    palette.setCurrentWidget(button->parentWidget()); // the button's page
    Click(button);
    TComponent* root = view.Root();
    const int before = root->ComponentCount();
    QTest::mouseClick(surface, Qt::LeftButton, {}, at);
    return root->ComponentCount() > before ? root->Components(before) : nullptr;
}

bool ClickComponent(TFormView& view, TComponent* component, Qt::KeyboardModifiers mods) {
    const auto centre = CentreOf(view, component);
    if (!centre)
        return false;
    QTest::mouseClick(Surface(view), Qt::LeftButton, mods, *centre);
    return true;
}

bool DragComponent(TFormView& view, TComponent* component, QPoint by) {
    const auto centre = CentreOf(view, component);
    if (!centre)
        return false;
    QWidget* surface = Surface(view);
    QTest::mousePress(surface, Qt::LeftButton, {}, *centre);
    QTest::mouseMove(surface, *centre + by / 2);
    QTest::mouseMove(surface, *centre + by);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, *centre + by);
    return true;
}

bool EnterInInspector(TObjectInspector& inspector, const QString& name, const QString& text) {
    QCoreApplication::processEvents(); // a rebuild the last edit asked for is done first
    QTreeWidgetItem* item = inspector.ItemOf(name);
    if (!item)
        return false;
    QTreeWidget* tree = item->treeWidget();
    if (auto* tabs = inspector.findChild<QTabWidget*>())
        tabs->setCurrentWidget(tree);
    tree->scrollToItem(item);
    const QPoint at(tree->header()->sectionPosition(1) + 10,
                    tree->visualItemRect(item).center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    // The row's own editor: one closed a moment ago may not be deleted yet.
    QWidget* editor = tree->itemWidget(item, 1);
    QLineEdit* line = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (!combo->isEditable()) {
            // Each choice of the arrow keys is taken at once, and the inspector may
            // rebuild after it: the editor may go.
            const int index = combo->findText(text);
            if (index < 0)
                return false;
            QPointer<QComboBox> open = combo;
            open->setFocus();
            while (open && open->currentIndex() != index)
                QTest::keyClick(open, index > open->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
            if (open)
                QTest::keyClick(open, Qt::Key_Return);
            return true;
        }
        line = combo->lineEdit();
    }
    if (!line)
        return false;
    line->selectAll();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
    return true;
}

} // namespace vesk
