#include "ide/app/IdeToolServices.h"

#include "ide/app/IdeWindow.h"
#include "platform/forms/FormFile.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <atomic>

namespace vesk {

namespace {

std::atomic<int> LiveHandles{0};

// A handle the IDE hands out: counted while it lives.
template <typename Intf>
class TIdeObject : public Intf {
public:
    TIdeObject() { ++LiveHandles; }

protected:
    ~TIdeObject() override { --LiveHandles; }
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Where an item's flags and the values Qt has no place for are kept on its action.
constexpr const char* ShortCutProperty = "veskShortCut";
constexpr const char* ContextProperty = "veskContext";
constexpr const char* GroupIndexProperty = "veskGroupIndex";
constexpr const char* FlagsProperty = "veskFlags";       // the bits Qt does not show
constexpr const char* OwnMenuProperty = "veskOwnMenu";   // a sub-menu made for sub-items
constexpr const char* BusyProperty = "veskBusy";         // its click handler is running
constexpr const char* DestroyedProperty = "veskRemoved"; // destroyed while busy

TIMenuFlags FlagsOf(const QAction* action) {
    TIMenuFlags flags =
        action->property(FlagsProperty).toUInt() & ~(mfEnabled | mfVisible | mfChecked);
    if (action->isEnabled())
        flags |= mfEnabled;
    if (action->isVisible())
        flags |= mfVisible;
    if (action->isChecked())
        flags |= mfChecked;
    return flags;
}

void ApplyFlags(QAction* action, TIMenuFlags flags) {
    action->setEnabled(flags & mfEnabled);
    action->setVisible(flags & mfVisible);
    action->setCheckable((flags & mfChecked) || (flags & mfRadioItem));
    action->setChecked(flags & mfChecked);
    action->setProperty(FlagsProperty, flags);
}

// The menu or menu bar Action is an item of (none once it was taken out).
QWidget* Container(const QAction* action) {
    for (QObject* object : action->associatedObjects())
        if (qobject_cast<QMenuBar*>(object) || qobject_cast<QMenu*>(object))
            return static_cast<QWidget*>(object);
    return nullptr;
}

// Removes Action from every menu, and deletes it and what it holds unless its own
// click handler is running (then that is done once the handler returns).
void RemoveAction(QAction* action) {
    for (QObject* object : action->associatedObjects())
        if (auto* widget = qobject_cast<QWidget*>(object))
            widget->removeAction(action);
    if (action->property(BusyProperty).toInt() > 0) {
        action->setProperty(DestroyedProperty, true);
        return;
    }
    QMenu* menu = action->menu();
    if (menu && (menu->menuAction() == action || action->property(OwnMenuProperty).toBool())) {
        if (menu->menuAction() == action) {
            delete menu; // a top-level menu: its action goes with it
            return;
        }
        delete menu;
    }
    delete action;
}

class TIdeMenuItem final : public TIdeObject<TIMenuItemIntf> {
public:
    // No action: the list of top-level menus of Bar.
    TIdeMenuItem(QPointer<TIdeWindow> window, QMenuBar* bar, QAction* action)
        : FWindow(std::move(window)), FBar(bar), FAction(action), FTop(action == nullptr) {}

    int GetItemCount() override { return static_cast<int>(Items().size()); }
    TIMenuItemIntf* GetItem(int index) override {
        const QList<QAction*> items = Items();
        if (index < 0 || index >= items.size())
            return nullptr;
        return new TIdeMenuItem(FWindow, FBar, items[index]);
    }
    TIMenuItemIntf* GetParent() override {
        if (!Alive() || FTop)
            return nullptr;
        QWidget* container = Container(FAction);
        if (qobject_cast<QMenuBar*>(container))
            return new TIdeMenuItem(FWindow, FBar, nullptr);
        if (auto* menu = qobject_cast<QMenu*>(container))
            return new TIdeMenuItem(FWindow, FBar, menu->menuAction());
        return nullptr;
    }
    int GetIndex() override {
        if (!Alive() || FTop)
            return -1;
        QWidget* container = Container(FAction);
        return container ? static_cast<int>(container->actions().indexOf(FAction)) : -1;
    }
    TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                               const std::string& hint, TShortCut shortCut, int context,
                               int groupIndex, TIMenuFlags flags,
                               TIMenuClickEvent onClick) override {
        if (!Alive())
            return nullptr;
        const QList<QAction*> items = Items();
        QAction* before = index >= 0 && index < items.size() ? items[index] : nullptr;
        QAction* action;
        if (FTop) {
            auto* menu = new QMenu(Q(caption), FBar);
            menu->setObjectName(Q(name));
            FBar->insertMenu(before, menu);
            action = menu->menuAction();
        } else {
            QMenu* menu = FAction->menu();
            if (!menu) {
                // A plain item gets sub-items: it becomes a sub-menu.
                menu = new QMenu(Container(FAction));
                FAction->setMenu(menu);
                FAction->setProperty(OwnMenuProperty, true);
            }
            action = new QAction(Q(caption), menu);
            if (caption == "-")
                action->setSeparator(true);
            menu->insertAction(before, action);
        }
        action->setObjectName(Q(name));
        action->setStatusTip(Q(hint));
        action->setProperty(ShortCutProperty, shortCut);
        action->setProperty(ContextProperty, context);
        action->setProperty(GroupIndexProperty, groupIndex);
        action->setShortcuts(KeySequencesOf(shortCut));
        ApplyFlags(action, flags);
        if (onClick) {
            QPointer<TIdeWindow> window = FWindow;
            QMenuBar* bar = FBar;
            QObject::connect(action, &QAction::triggered, action,
                             [window, bar, action, onClick = std::move(onClick)] {
                                 Click(window, bar, action, onClick);
                             });
        }
        return new TIdeMenuItem(FWindow, FBar, action);
    }
    bool DestroyMenuItem() override {
        if (!Alive() || FTop || !Container(FAction))
            return false;
        RemoveAction(FAction);
        return true;
    }

    std::string GetCaption() override {
        return Alive() && !FTop ? FAction->text().toStdString() : std::string();
    }
    std::string GetName() override {
        return Alive() && !FTop ? FAction->objectName().toStdString() : std::string();
    }
    std::string GetHint() override {
        return Alive() && !FTop ? FAction->statusTip().toStdString() : std::string();
    }
    TShortCut GetShortCut() override {
        return Alive() && !FTop
                   ? static_cast<TShortCut>(FAction->property(ShortCutProperty).toUInt())
                   : scNone;
    }
    int GetContext() override {
        return Alive() && !FTop ? FAction->property(ContextProperty).toInt() : 0;
    }
    int GetGroupIndex() override {
        return Alive() && !FTop ? FAction->property(GroupIndexProperty).toInt() : 0;
    }
    TIMenuFlags GetFlags() override {
        return Alive() && !FTop ? FlagsOf(FAction) : mfEnabled | mfVisible;
    }
    void SetCaption(const std::string& caption) override {
        if (Alive() && !FTop)
            FAction->setText(Q(caption));
    }
    void SetFlags(TIMenuFlags mask, TIMenuFlags flags) override {
        if (Alive() && !FTop)
            ApplyFlags(FAction, (FlagsOf(FAction) & ~mask) | (flags & mask));
    }

    // A pick of the item: its handler runs as the host runs events, with a handle of
    // the item as the sender (given back after the call).
    static void Click(const QPointer<TIdeWindow>& window, QMenuBar* bar, QAction* action,
                      const TIMenuClickEvent& onClick) {
        if (!window)
            return;
        action->setProperty(BusyProperty, action->property(BusyProperty).toInt() + 1);
        auto* sender = new TIdeMenuItem(window, bar, action);
        window->RunToolHandler([&] { onClick(sender); });
        sender->Release();
        const int busy = action->property(BusyProperty).toInt() - 1;
        action->setProperty(BusyProperty, busy);
        if (busy == 0 && action->property(DestroyedProperty).toBool())
            RemoveAction(action);
    }

private:
    bool Alive() const { return FWindow && FBar && (FTop || FAction); }
    QList<QAction*> Items() const {
        if (!Alive())
            return {};
        if (FTop)
            return FBar->actions();
        if (QMenu* menu = FAction->menu())
            return menu->actions();
        return {};
    }

    QPointer<TIdeWindow> FWindow;
    QPointer<QMenuBar> FBar;
    QPointer<QAction> FAction;
    bool FTop;
};

class TIdeMainMenu final : public TIdeObject<TIMainMenuIntf> {
public:
    explicit TIdeMainMenu(QPointer<TIdeWindow> window) : FWindow(std::move(window)) {}
    TIMenuItemIntf* GetMenuItems() override {
        return FWindow ? new TIdeMenuItem(FWindow, FWindow->menuBar(), nullptr) : nullptr;
    }

private:
    QPointer<TIdeWindow> FWindow;
};

// The editor's parts, found through the module each time.
class TIdeEditReader final : public TIdeObject<TIEditReader> {
public:
    explicit TIdeEditReader(QPointer<TIdeModule> module) : FModule(std::move(module)) {}
    int GetText(int position, char* buffer, int count) override {
        return FModule ? FModule->Editor()->ReadText(position, buffer, count) : 0;
    }

private:
    QPointer<TIdeModule> FModule;
};

class TIdeEditView final : public TIdeObject<TIEditView> {
public:
    explicit TIdeEditView(QPointer<TIdeModule> module) : FModule(std::move(module)) {}
    void SetPos(int index, TEditPos pos) override {
        if (!FModule)
            return;
        if (index == EditViewCursor)
            FModule->Editor()->SetCaretPos(pos);
        else if (index == EditViewTop)
            FModule->Editor()->SetTopPos(pos);
    }
    TEditPos GetPos(int index) override {
        if (!FModule)
            return {};
        return index == EditViewTop ? FModule->Editor()->TopPos() : FModule->Editor()->CaretPos();
    }

private:
    QPointer<TIdeModule> FModule;
};

class TIdeEditor final : public TIdeObject<TIEditorInterface> {
public:
    explicit TIdeEditor(QPointer<TIdeModule> module) : FModule(std::move(module)) {}
    std::string FileName() override { return FModule ? FModule->FileName() : std::string(); }
    TIEditReader* CreateReader() override {
        return FModule ? new TIdeEditReader(FModule) : nullptr;
    }
    int GetViewCount() override { return FModule ? 1 : 0; }
    TIEditView* GetView(int index) override {
        return FModule && index == 0 ? new TIdeEditView(FModule) : nullptr;
    }

private:
    QPointer<TIdeModule> FModule;
};

class TIdeComponent final : public TIdeObject<TIComponentInterface> {
public:
    TIdeComponent(QPointer<TIdeModule> module, TComponent* component)
        : FModule(std::move(module)), FComponent(component) {}
    std::string GetComponentType() override {
        return FModule ? FComponent->ClassName() : std::string();
    }
    bool GetPropValueByName(const std::string& name, std::string& value) override {
        return FModule && ComponentPropValueByName(*FComponent, name, value);
    }

private:
    QPointer<TIdeModule> FModule; // the component lives as long as the module's form
    TComponent* FComponent;
};

class TIdeForm final : public TIdeObject<TIFormInterface> {
public:
    explicit TIdeForm(QPointer<TIdeModule> module) : FModule(std::move(module)) {}
    std::string FileName() override { return FModule ? FModule->FormFileName() : std::string(); }
    TIComponentInterface* GetFormComponent() override {
        TComponent* root = FModule && FModule->Form() ? FModule->Form()->Root() : nullptr;
        return root ? new TIdeComponent(FModule, root) : nullptr;
    }

private:
    QPointer<TIdeModule> FModule;
};

class TIdeModuleIntf final : public TIdeObject<TIModuleInterface> {
public:
    TIdeModuleIntf(QPointer<TIdeWindow> window, QPointer<TIdeModule> module)
        : FWindow(std::move(window)), FModule(std::move(module)) {}
    TIEditorInterface* GetEditorInterface() override {
        return FModule ? new TIdeEditor(FModule) : nullptr;
    }
    TIFormInterface* GetFormInterface() override {
        return FModule && FModule->HasForm() ? new TIdeForm(FModule) : nullptr;
    }
    bool ShowForm() override { return FWindow && FModule && FWindow->ShowModuleForm(FModule); }

private:
    QPointer<TIdeWindow> FWindow;
    QPointer<TIdeModule> FModule;
};

// Virtual-key codes of the keys a menu shortcut names, and Qt's keys for them.
struct TKeyName {
    int Code;
    Qt::Key Key;
};
constexpr TKeyName NamedKeys[] = {
    {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x0D, Qt::Key_Return},
    {0x1B, Qt::Key_Escape},    {0x20, Qt::Key_Space},  {0x21, Qt::Key_PageUp},
    {0x22, Qt::Key_PageDown},  {0x23, Qt::Key_End},    {0x24, Qt::Key_Home},
    {0x25, Qt::Key_Left},      {0x26, Qt::Key_Up},     {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete},
};

} // namespace

QList<QKeySequence> KeySequencesOf(TShortCut shortCut) {
    const int code = shortCut & 0xFF;
    Qt::Key key = Qt::Key_unknown;
    if (code >= 'A' && code <= 'Z')
        key = static_cast<Qt::Key>(Qt::Key_A + (code - 'A'));
    else if (code >= '0' && code <= '9')
        key = static_cast<Qt::Key>(Qt::Key_0 + (code - '0'));
    else if (code >= 0x70 && code <= 0x7B)
        key = static_cast<Qt::Key>(Qt::Key_F1 + (code - 0x70));
    else
        for (const TKeyName& named : NamedKeys)
            if (named.Code == code)
                key = named.Key;
    if (key == Qt::Key_unknown)
        return {};
    Qt::KeyboardModifiers modifiers;
    if (shortCut & scShift)
        modifiers |= Qt::ShiftModifier;
    if (shortCut & scCtrl)
        modifiers |= Qt::ControlModifier;
    if (shortCut & scAlt)
        modifiers |= Qt::AltModifier;
    QList<QKeySequence> sequences{QKeySequence(QKeyCombination(modifiers, key))};
    if (key == Qt::Key_Return)
        sequences.append(QKeySequence(QKeyCombination(modifiers, Qt::Key_Enter)));
    return sequences;
}

TIdeToolServices::TIdeToolServices(TIdeWindow& window) : FWindow(&window), FPrevious(ToolServices) {
    ToolServices = this;
}

TIdeToolServices::~TIdeToolServices() {
    if (ToolServices == this)
        ToolServices = FPrevious;
}

int TIdeToolServices::LiveObjects() {
    return LiveHandles;
}

TIMainMenuIntf* TIdeToolServices::GetMainMenu() {
    return FWindow ? new TIdeMainMenu(FWindow) : nullptr;
}

std::string TIdeToolServices::GetCurrentFile() {
    return FWindow ? FWindow->CurrentFile() : std::string();
}

TIModuleInterface* TIdeToolServices::GetModuleInterface(const std::string& fileName) {
    if (!FWindow || fileName.empty())
        return nullptr;
    TIdeModule* module = FWindow->FindModule(fileName);
    // The module of a unit, asked for by the unit's name (not its form's).
    if (!module || !SameText(module->FileName(), ExpandFileName(fileName)))
        return nullptr;
    return new TIdeModuleIntf(FWindow, module);
}

bool TIdeToolServices::CloseProject() {
    return FWindow && FWindow->CloseProject();
}

bool TIdeToolServices::OpenProject(const std::string& fileName) {
    return FWindow && FWindow->OpenProject(fileName);
}

bool TIdeToolServices::OpenFile(const std::string& fileName) {
    return FWindow && FWindow->OpenFile(fileName) != nullptr;
}

} // namespace vesk
