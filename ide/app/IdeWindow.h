// The IDE's main window: the menus, the editor tabs with one page per open module, the
// project manager, the message view and the status bar with the caret's line and
// column. It owns the modules and the tool services the add-in reaches them through.
#pragma once

#include "ide/app/IdeModule.h"
#include "ide/app/IdeToolServices.h"
#include "ide/core/PackageLoader.h"
#include "platform/ota/ToolServices.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QDockWidget;

namespace vesk {
class TComponentPalette;
class TObjectInspector;
} // namespace vesk
class QLabel;
class QListWidget;
class QMenu;
class QTabWidget;
class QTreeWidget;

namespace vesk {

class TQtScreen;

class TIdeWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TIdeWindow(QWidget* parent = nullptr);
    ~TIdeWindow() override;

    // What the IDE does once at start-up: the library path's default is stored when no
    // path is, and the known packages are loaded (failures go to the message view).
    void Start();

    // Files. OpenFile opens a unit with its form, a form file with its unit (showing the
    // form) and any other file as text; an open one is brought to the front. A file that
    // cannot be read is shown in an error box: none.
    TIdeModule* OpenFile(const std::string& fileName);
    // Closes the open files (with the prompt) and opens the project's units. False when
    // the user kept the files open or the project file cannot be read (error box).
    bool OpenProject(const std::string& fileName);
    // Closes every open file, asking first for each one with unsaved changes: Yes saves,
    // No drops the changes, Cancel stops (false; what was not closed stays open).
    bool CloseProject();
    bool CloseModule(TIdeModule* module);
    // File > New Form: a new unit UnitN with the form FormN in the project's folder (else
    // the current module's, else the current folder), the lowest N nothing there uses;
    // shown, unsaved. Its first save adds it to the open project.
    TIdeModule* NewForm();
    // Saves the module; a failure is shown in an error box (false), nothing is lost.
    bool SaveModule(TIdeModule* module);
    bool SaveAll();

    // The module of a unit or form file (any case), none when it is not open.
    TIdeModule* FindModule(const std::string& fileName) const;
    TIdeModule* CurrentModule() const;
    void SetCurrentModule(TIdeModule* module);
    // The full name of the file on the active page: the form file while its form shows.
    std::string CurrentFile() const;
    // Shows the module's form on its page; false when it has none.
    bool ShowModuleForm(TIdeModule* module);
    void ToggleFormUnit(); // F12
    const std::vector<std::unique_ptr<TIdeModule>>& Modules() const { return FModules; }
    const std::string& ProjectFile() const { return FProjectFile; }

    // Search > Find / Find Next on the active editor; false when not found (the status
    // bar says so).
    bool Find(const QString& text);
    bool FindNext();

    // The message view: package errors, project notes.
    void AddMessage(const std::string& text);
    QListWidget* MessageView() const { return FMessages; }
    QTabWidget* Tabs() const { return FTabs; }
    QTreeWidget* ProjectTree() const { return FProjectTree; }
    QLabel* CaretLabel() const { return FCaretLabel; }
    // The window's own top-level menus, by the names their objects carry ("FileMenu").
    QMenu* Menu(const char* name) const;
    TIdeToolServices& Tools() { return *FTools; }
    // The packages: the window is the expert host while it lives; its experts end
    // before the menus they put items in.
    TPackageLoader& Packages() { return *FLoader; }
    // Loads the packages the settings store lists that are not loaded yet; a package that
    // fails is one line in the message view. The failures' lines.
    std::vector<std::string> LoadPackages();

    // Runs an add-in's menu handler as the host runs events (an exception goes to the
    // error box); afterwards the form views show what the tool changed in their models,
    // and the focus is back in the editor or form view of the active page.
    void RunToolHandler(const std::function<void()>& handler);

    // The add-in's shortcuts work wherever the focus is: a menu item's key is not
    // taken by the widget that has the focus (the editor binds many keys of its own).
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildDocks();
    QDockWidget* AddDock(const QString& title, const char* name, QWidget* widget,
                         Qt::DockWidgetArea area);
    QAction* AddAction(QMenu* menu, const QString& caption, const char* name,
                       const QKeySequence& key, const std::function<void()>& handler);
    void AddModule(std::unique_ptr<TIdeModule> module);
    void RemoveModule(TIdeModule* module);
    void ShowTabTitle(TIdeModule* module);
    void ShowCaret();
    // The palette and the inspector work on the current module's form while it is shown.
    void AttachDesigner();
    void DetachDesigner();
    void ShowProject();
    std::string NewModuleFolder() const; // with a trailing separator
    // After a new module's first save: its entry in the project's uses clause (in the
    // editor when the project's source is open there). A failure is reported.
    void AddToProject(TIdeModule* module);
    bool AskToSave(TIdeModule* module); // false: the user cancelled
    void OpenFileDialog();
    void OpenProjectDialog();
    void EnvironmentOptions();
    // The enabled menu item whose shortcut Key is, none when no item has it.
    QAction* MenuShortcutAction(const QKeyCombination& key) const;

    std::vector<std::unique_ptr<TIdeModule>> FModules;
    std::unique_ptr<TIdeToolServices> FTools;
    std::unique_ptr<TPackageLoader> FLoader; // after FTools: its experts use the services
    QTabWidget* FTabs = nullptr;
    QListWidget* FMessages = nullptr;
    QDockWidget* FMessagesDock = nullptr;
    QTreeWidget* FProjectTree = nullptr;
    QDockWidget* FProjectDock = nullptr;
    TComponentPalette* FPalette = nullptr;
    QDockWidget* FPaletteDock = nullptr;
    TObjectInspector* FInspector = nullptr;
    QDockWidget* FInspectorDock = nullptr;
    QLabel* FCaretLabel = nullptr;
    QLabel* FModifiedLabel = nullptr;
    std::string FProjectFile;
    QString FLastFind;
};

// The IDE's screen, where the designer's open forms are listed: the installed host
// services' screen when it is Qt's, else none.
TQtScreen* IdeScreen();

} // namespace vesk
