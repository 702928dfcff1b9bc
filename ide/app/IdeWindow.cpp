#include "ide/app/IdeWindow.h"

#include "ide/app/EnvOptions.h"
#include "ide/designer/ComponentPalette.h"
#include "ide/designer/ObjectProperties.h"
#include "ide/form/FormView.h"
#include "ide/packages/InstallPackages.h"
#include "ide/project/Environment.h"
#include "ide/project/NewForm.h"
#include "ide/project/ProjectFile.h"
#include "platform/forms/FormFile.h"
#include "platform/ota/HostServices.h"
#include "platform/qt/QtHostServices.h"
#include "platform/qt/SlotGuard.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <filesystem>

namespace vesk {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Every action below Menu, the sub-menus' included.
void CollectActions(const QList<QAction*>& actions, std::vector<QAction*>& out) {
    for (QAction* action : actions) {
        out.push_back(action);
        if (QMenu* menu = action->menu())
            CollectActions(menu->actions(), out);
    }
}

} // namespace

TQtScreen* IdeScreen() {
    return dynamic_cast<TQtScreen*>(&HostServices().GetScreen());
}

TIdeWindow::TIdeWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("AppBuilder");
    setWindowTitle("Vesk IDE");
    FTabs = new QTabWidget(this);
    FTabs->setObjectName("EditorTabs");
    FTabs->setDocumentMode(true);
    FTabs->setMovable(true);
    setCentralWidget(FTabs);
    connect(FTabs, &QTabWidget::currentChanged, this, [this] { ShowCaret(); });
    BuildMenus();
    BuildDocks();
    FCaretLabel = new QLabel(this);
    FCaretLabel->setObjectName("CaretPos");
    FCaretLabel->setMinimumWidth(fontMetrics().horizontalAdvance("00000: 000") + 8);
    FModifiedLabel = new QLabel(this);
    FModifiedLabel->setObjectName("ModifiedState");
    FModifiedLabel->setMinimumWidth(fontMetrics().horizontalAdvance("Modified") + 8);
    statusBar()->addWidget(FCaretLabel);
    statusBar()->addWidget(FModifiedLabel);
    FTools = std::make_unique<TIdeToolServices>(*this);
    FLoader = std::make_unique<TPackageLoader>();
    qApp->installEventFilter(this);
    resize(1100, 720);
    ShowCaret();
}

TIdeWindow::~TIdeWindow() {
    qApp->removeEventFilter(this);
    // Tool windows that delete themselves once closed go while their code is loaded.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FLoader.reset();          // the experts take their items out of the menus that still exist
    while (!FModules.empty()) // each page with its form view before the form it shows
        RemoveModule(FModules.back().get());
    FTools.reset();
}

void TIdeWindow::Start() {
    try {
        EnsureSearchPath(HostServices().SettingsStore(), IdeDefaultSearchPath());
    } catch (const Exception& e) {
        AddMessage("Library path: " + e.Message());
    }
    LoadPackages();
}

std::vector<std::string> TIdeWindow::LoadPackages() {
    std::vector<std::string> errors;
    try {
        errors = FLoader->LoadKnownPackages(*HostServices().SettingsStore());
    } catch (const Exception& e) {
        errors.push_back(e.Message());
    }
    for (const std::string& error : errors)
        AddMessage(error);
    if (FPalette)
        FPalette->Refresh();
    return errors;
}

// Menus

QAction* TIdeWindow::AddAction(QMenu* menu, const QString& caption, const char* name,
                               const QKeySequence& key, const std::function<void()>& handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!key.isEmpty())
        action->setShortcut(key);
    connect(action, &QAction::triggered, this, GuardedSlot([handler] { handler(); }));
    return action;
}

QMenu* TIdeWindow::Menu(const char* name) const {
    return menuBar()->findChild<QMenu*>(name, Qt::FindDirectChildrenOnly);
}

void TIdeWindow::BuildMenus() {
    auto menu = [this](const QString& title, const char* name) {
        QMenu* m = menuBar()->addMenu(title);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenu* file = menu("&File", "FileMenu");
    AddAction(file, "New &Form", "FileNewFormItem", {}, [this] { NewForm(); });
    AddAction(file, "&Open...", "FileOpenItem", QKeySequence(Qt::CTRL | Qt::Key_O),
              [this] { OpenFileDialog(); });
    AddAction(file, "Open &Project...", "FileOpenProjectItem", QKeySequence(Qt::CTRL | Qt::Key_F11),
              [this] { OpenProjectDialog(); });
    file->addSeparator();
    AddAction(file, "&Save", "FileSaveItem", QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (TIdeModule* module = CurrentModule())
            SaveModule(module);
    });
    AddAction(file, "Sa&ve All", "FileSaveAllItem", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S),
              [this] { SaveAll(); });
    file->addSeparator();
    AddAction(file, "&Close", "FileCloseItem", QKeySequence(Qt::CTRL | Qt::Key_F4), [this] {
        if (TIdeModule* module = CurrentModule())
            CloseModule(module);
    });
    AddAction(file, "Close &All", "FileCloseAllItem", {}, [this] { CloseProject(); });
    file->addSeparator();
    AddAction(file, "E&xit", "FileExitItem", {}, [this] { close(); });

    QMenu* edit = menu("&Edit", "EditMenu");
    // Each edit goes to what is shown: the unit's editor, or the designer of its form.
    auto onShown = [this](void (QsciScintilla::*operation)(), bool (TFormView::*design)()) {
        return [this, operation, design] {
            TIdeModule* module = CurrentModule();
            if (!module)
                return;
            if (!module->FormShown())
                (module->Editor()->*operation)();
            else if (TFormView* view = module->FormView())
                (view->*design)();
        };
    };
    AddAction(edit, "&Undo", "EditUndoItem", QKeySequence(Qt::CTRL | Qt::Key_Z),
              onShown(&QsciScintilla::undo, &TFormView::Undo));
    AddAction(edit, "&Redo", "EditRedoItem", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z),
              onShown(&QsciScintilla::redo, &TFormView::Redo));
    edit->addSeparator();
    AddAction(edit, "Cu&t", "EditCutItem", QKeySequence(Qt::CTRL | Qt::Key_X),
              onShown(&QsciScintilla::cut, &TFormView::Cut));
    AddAction(edit, "&Copy", "EditCopyItem", QKeySequence(Qt::CTRL | Qt::Key_C),
              onShown(&QsciScintilla::copy, &TFormView::Copy));
    AddAction(edit, "&Paste", "EditPasteItem", QKeySequence(Qt::CTRL | Qt::Key_V),
              onShown(&QsciScintilla::paste, &TFormView::Paste));
    AddAction(edit, "Select &All", "EditSelectAllItem", QKeySequence(Qt::CTRL | Qt::Key_A), [this] {
        if (TIdeModule* module = CurrentModule(); module && !module->FormShown())
            module->Editor()->selectAll();
    });

    QMenu* search = menu("&Search", "SearchMenu");
    AddAction(search, "&Find...", "SearchFindItem", QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        if (!CurrentModule())
            return;
        bool ok = false;
        const QString text = QInputDialog::getText(
            this, "Find Text", "&Text to find:", QLineEdit::Normal, FLastFind, &ok);
        if (ok)
            Find(text);
    });
    AddAction(search, "Find &Next", "SearchAgainItem", QKeySequence(Qt::Key_F3),
              [this] { FindNext(); });

    QMenu* view = menu("&View", "ViewsMenu");
    AddAction(view, "&Project Manager", "ViewPrjMgrItem", {}, [this] {
        FProjectDock->show();
        FProjectDock->raise();
    });
    AddAction(view, "&Messages", "ViewMessagesItem", {}, [this] {
        FMessagesDock->show();
        FMessagesDock->raise();
    });
    AddAction(view, "&Toggle Form/Unit", "ViewSwapSourceFormItem", QKeySequence(Qt::Key_F12),
              [this] { ToggleFormUnit(); });

    QMenu* project = menu("&Project", "ProjectMenu");
    AddAction(project, "View &Source", "ProjectViewSourceItem", {}, [this] {
        if (!FProjectFile.empty())
            OpenFile(FProjectFile);
    });
    AddAction(project, "&Close Project", "ProjectCloseItem", {}, [this] { CloseProject(); });

    QMenu* run = menu("&Run", "RunMenu");
    // This IDE designs and edits; it has no compiler to run a program with.
    AddAction(run, "&Run", "RunRunItem", QKeySequence(Qt::Key_F9), [] {})->setEnabled(false);

    QMenu* component = menu("&Component", "ComponentMenu");
    AddAction(component, "Install &Packages...", "ComponentInstallPackagesItem", {}, [this] {
        const std::shared_ptr<TRegistryFile> store = HostServices().SettingsStore();
        ShowInstallPackages(*FLoader, *store, this);
        FPalette->Refresh(); // the packages' components came or went
    });

    QMenu* tools = menu("&Tools", "ToolsMenu");
    AddAction(tools, "&Environment Options...", "ToolsOptionsItem", {},
              [this] { EnvironmentOptions(); });

    QMenu* help = menu("&Help", "HelpMenu");
    AddAction(help, "&About...", "HelpAboutItem", {}, [this] {
        QMessageBox::about(this, "About Vesk IDE",
                           "Vesk IDE\n\nThe host that loads the Vesk and VeskExp packages.");
    });
}

QDockWidget* TIdeWindow::AddDock(const QString& title, const char* name, QWidget* widget,
                                 Qt::DockWidgetArea area) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    dock->setWidget(widget);
    addDockWidget(area, dock);
    return dock;
}

void TIdeWindow::BuildDocks() {
    FProjectTree = new QTreeWidget(this);
    FProjectTree->setObjectName("ProjectTree");
    FProjectTree->setHeaderLabels({"Units and forms"});
    FProjectTree->setRootIsDecorated(true);
    connect(FProjectTree, &QTreeWidget::itemActivated, this,
            GuardedSlot([this](QTreeWidgetItem* item) {
                const QString path = item->data(0, Qt::UserRole).toString();
                if (!path.isEmpty())
                    OpenFile(path.toStdString());
            }));
    FProjectDock =
        AddDock("Project Manager", "ProjectManager", FProjectTree, Qt::LeftDockWidgetArea);

    FMessages = new QListWidget(this);
    FMessages->setObjectName("MessageView");
    FMessagesDock = AddDock("Messages", "Messages", FMessages, Qt::BottomDockWidgetArea);

    FPalette = new TComponentPalette(this);
    FPalette->setObjectName("ComponentPalette");
    FPaletteDock =
        AddDock("Component Palette", "ComponentPaletteDock", FPalette, Qt::TopDockWidgetArea);

    FInspector = new TObjectInspector(this);
    FInspector->setObjectName("ObjectInspector");
    connect(FInspector, &TObjectInspector::error, this,
            [this](const QString& message) { AddMessage(message.toStdString()); });
    FInspectorDock =
        AddDock("Object Inspector", "ObjectInspectorDock", FInspector, Qt::LeftDockWidgetArea);
    splitDockWidget(FProjectDock, FInspectorDock, Qt::Vertical);

    resizeDocks({FProjectDock}, {300}, Qt::Horizontal);
    resizeDocks({FMessagesDock}, {110}, Qt::Vertical);
    connect(FTabs, &QTabWidget::currentChanged, this, [this] { AttachDesigner(); });
}

void TIdeWindow::DetachDesigner() {
    if (FPalette)
        FPalette->Attach(nullptr);
    if (FInspector) {
        FInspector->Attach(nullptr);
        FInspector->SetUnitSource(nullptr);
        FInspector->SetUnitSink(nullptr);
    }
}

void TIdeWindow::AttachDesigner() {
    DetachDesigner();
    TIdeModule* module = CurrentModule();
    TFormView* view = module && module->FormShown() ? module->FormView() : nullptr;
    if (!view || !FPalette || !FInspector)
        return;
    FPalette->Attach(view);
    FInspector->Attach(view);
    // The module outlives the attachment: it is detached before a module goes.
    FInspector->SetUnitSource([module] { return module->Editor()->Utf8Text(); });
    FInspector->SetUnitSink([module](const std::string& text, std::size_t body) {
        module->Editor()->ReplaceText(text);
        TEditPos pos;
        pos.Line =
            1 + static_cast<std::int32_t>(std::count(text.begin(), text.begin() + body, '\n'));
        const std::size_t lineStart = text.rfind('\n', body == 0 ? 0 : body - 1);
        pos.Col = static_cast<std::int16_t>(
            1 + body - (lineStart == std::string::npos || body == 0 ? 0 : lineStart + 1));
        module->Editor()->SetCaretPos(pos);
    });
}

// Modules

TIdeModule* TIdeWindow::FindModule(const std::string& fileName) const {
    const std::string full = ExpandFileName(fileName);
    for (const auto& module : FModules)
        if (SameText(module->FileName(), full) ||
            (module->HasForm() && SameText(module->FormFileName(), full)))
            return module.get();
    return nullptr;
}

TIdeModule* TIdeWindow::CurrentModule() const {
    QWidget* page = FTabs->currentWidget();
    for (const auto& module : FModules)
        if (module->Page() == page)
            return module.get();
    return nullptr;
}

void TIdeWindow::SetCurrentModule(TIdeModule* module) {
    if (module)
        FTabs->setCurrentWidget(module->Page());
}

std::string TIdeWindow::CurrentFile() const {
    const TIdeModule* module = CurrentModule();
    return module ? module->ShownFile() : std::string();
}

TIdeModule* TIdeWindow::OpenFile(const std::string& fileName) {
    const std::string full = ExpandFileName(fileName);
    std::string unit = full;
    bool showForm = false;
    if (const std::string beside = UnitFileBeside(full); !beside.empty()) {
        unit = ExpandFileName(beside); // a form opens with its unit
        showForm = true;
    }
    TIdeModule* module = FindModule(unit);
    if (!module) {
        try {
            auto made = std::make_unique<TIdeModule>(unit);
            module = made.get();
            AddModule(std::move(made));
        } catch (const Exception& e) {
            HostServices().MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK);
            return nullptr;
        }
    }
    SetCurrentModule(module);
    module->ShowForm(showForm);
    module->FocusTarget()->setFocus(Qt::OtherFocusReason);
    return module;
}

void TIdeWindow::AddModule(std::unique_ptr<TIdeModule> made) {
    TIdeModule* module = made.get();
    FModules.push_back(std::move(made));
    FTabs->addTab(module->Page(), Q(ExtractFileName(module->FileName())));
    connect(module, &TIdeModule::modifiedChanged, this, [this, module] { ShowTabTitle(module); });
    connect(module, &TIdeModule::shownChanged, this, [this, module] {
        ShowTabTitle(module);
        ShowCaret();
        AttachDesigner();
    });
    connect(module->Editor(), &QsciScintilla::cursorPositionChanged, this, [this] { ShowCaret(); });
    if (TFormView* view = module->FormView()) {
        connect(view, &TFormView::selectionChanged, this, [this] { ShowCaret(); });
        connect(view, &TFormView::designError, this,
                [this](const QString& message) { AddMessage(message.toStdString()); });
    }
    if (module->HasForm())
        if (TQtScreen* screen = IdeScreen())
            screen->AddForm(module->FormWindow(), module->Form()->Root());
    ShowTabTitle(module);
}

void TIdeWindow::ShowTabTitle(TIdeModule* module) {
    const int index = FTabs->indexOf(module->Page());
    if (index < 0)
        return;
    QString title = Q(ExtractFileName(module->ShownFile()));
    if (module->Modified())
        title += " *";
    FTabs->setTabText(index, title);
    FTabs->setTabToolTip(index, Q(module->ShownFile()));
    if (module == CurrentModule())
        ShowCaret();
}

void TIdeWindow::ShowCaret() {
    TIdeModule* module = CurrentModule();
    if (!module) {
        FCaretLabel->clear();
    } else if (module->FormShown()) {
        // The designer's selection where the editor shows its caret.
        const TComponent* selected = module->FormView()->Selected();
        FCaretLabel->setText(selected ? Q(selected->Name() + ": " + selected->ClassName()) : "");
    } else {
        const TEditPos pos = module->Editor()->CaretPos();
        FCaretLabel->setText(QString("%1: %2").arg(pos.Line).arg(pos.Col));
    }
    FModifiedLabel->setText(module && module->Modified() ? "Modified" : "");
}

void TIdeWindow::RemoveModule(TIdeModule* module) {
    DetachDesigner(); // the form view may go with the module
    if (TQtScreen* screen = IdeScreen(); screen && module->HasForm())
        screen->RemoveForm(module->FormWindow());
    auto it = std::find_if(FModules.begin(), FModules.end(),
                           [module](const auto& m) { return m.get() == module; });
    if (it == FModules.end())
        return;
    // Out of the list before it goes: the tabs' change of page asks for the current one.
    std::unique_ptr<TIdeModule> removed = std::move(*it);
    FModules.erase(it);
    if (const int index = FTabs->indexOf(removed->Page()); index >= 0)
        FTabs->removeTab(index);
    removed.reset();
    ShowCaret();
    AttachDesigner();
}

bool TIdeWindow::AskToSave(TIdeModule* module) {
    if (!module->Modified())
        return true;
    SetCurrentModule(module);
    const TModalResult answer =
        HostServices().MessageDlg("Save changes to " + ExtractFileName(module->FileName()) + "?",
                                  TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
    if (answer == mrYes)
        return SaveModule(module);
    return answer == mrNo;
}

bool TIdeWindow::CloseModule(TIdeModule* module) {
    if (!module || !AskToSave(module))
        return false;
    RemoveModule(module);
    return true;
}

bool TIdeWindow::CloseProject() {
    for (const auto& module : FModules)
        if (!AskToSave(module.get()))
            return false;
    while (!FModules.empty())
        RemoveModule(FModules.back().get());
    FProjectFile.clear();
    ShowProject();
    return true;
}

bool TIdeWindow::OpenProject(const std::string& fileName) {
    TProject project;
    try {
        project = ReadProject(fileName);
    } catch (const Exception& e) {
        HostServices().MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK);
        return false;
    }
    if (!CloseProject())
        return false;
    FProjectFile = ExpandFileName(fileName);
    // The project's folder is the current one, as in the old IDE: the relative names its
    // forms store (a table's DatabaseName) are found at design time as when it runs.
    std::error_code ignored; // a folder that cannot be entered leaves the current one
    std::filesystem::current_path(std::filesystem::path(FProjectFile).parent_path(), ignored);
    TIdeModule* first = nullptr;
    for (std::size_t i = 0; i < project.Units.size(); ++i) {
        const std::string& unitFile = project.UnitFiles[i];
        if (unitFile.empty()) {
            if (!project.Units[i].InPath.empty())
                AddMessage(ExtractFileName(fileName) + ": unit " + project.Units[i].Name +
                           ": file '" + project.Units[i].InPath + "' not found");
            continue;
        }
        TIdeModule* module = OpenFile(unitFile);
        if (!first)
            first = module;
    }
    ShowProject();
    if (first) {
        SetCurrentModule(first);
        first->FocusTarget()->setFocus(Qt::OtherFocusReason);
    }
    setWindowTitle(Q("Vesk IDE - " + ExtractFileName(FProjectFile)));
    return true;
}

void TIdeWindow::ShowProject() {
    FProjectTree->clear();
    if (FProjectFile.empty()) {
        setWindowTitle("Vesk IDE");
        return;
    }
    auto* root = new QTreeWidgetItem(FProjectTree, {Q(ExtractFileName(FProjectFile))});
    root->setData(0, Qt::UserRole, Q(FProjectFile));
    root->setToolTip(0, Q(FProjectFile));
    TProject project;
    try {
        project = ReadProject(FProjectFile);
    } catch (const Exception&) {
        return; // the file went away since it was opened: only its name is shown
    }
    for (std::size_t i = 0; i < project.Units.size(); ++i) {
        const std::string& file = project.UnitFiles[i];
        if (file.empty() && project.Units[i].InPath.empty())
            continue; // a unit of the library
        QString label = Q(project.Units[i].Name);
        if (!project.Units[i].FormName.empty())
            label += Q("  {" + project.Units[i].FormName + "}");
        if (file.empty())
            label += Q("  (missing: " + project.Units[i].InPath + ")");
        auto* item = new QTreeWidgetItem(root, {label});
        item->setData(0, Qt::UserRole, Q(file));
        item->setToolTip(0, Q(file.empty() ? project.Units[i].InPath : file));
        // The unit's form file below it: opening it shows the form.
        if (const std::string form = file.empty() ? "" : FormFileBeside(file); !form.empty()) {
            auto* formItem = new QTreeWidgetItem(item, {Q(ExtractFileName(form))});
            formItem->setData(0, Qt::UserRole, Q(form));
            formItem->setToolTip(0, Q(form));
        }
    }
    FProjectTree->expandAll();
    FProjectTree->resizeColumnToContents(0);
}

bool TIdeWindow::SaveModule(TIdeModule* module) {
    const bool first = module->New();
    try {
        module->Save();
    } catch (const Exception& e) {
        HostServices().MessageDlg("Cannot save " + module->FileName() + ": " + e.Message(),
                                  TMsgDlgType::mtError, mbOK);
        return false;
    }
    ShowTabTitle(module);
    ShowCaret();
    if (first)
        AddToProject(module);
    return true;
}

// New forms

std::string TIdeWindow::NewModuleFolder() const {
    if (!FProjectFile.empty())
        return ExtractFilePath(FProjectFile);
    if (const TIdeModule* module = CurrentModule())
        return ExtractFilePath(module->FileName());
    return IncludeTrailingPathDelimiter(ExpandFileName("."));
}

TIdeModule* TIdeWindow::NewForm() {
    const std::string folder = NewModuleFolder();
    std::vector<TProjectUnit> projectUnits;
    if (!FProjectFile.empty()) {
        try {
            projectUnits = ReadProject(FProjectFile).Units;
        } catch (const Exception&) {
            // gone since it was opened: only the folder and the open modules count
        }
    }
    // UnitN/FormN with the lowest N that no file of the folder, open module or unit of
    // the project uses: the new module must not write over anything.
    auto taken = [&](const std::string& unitName, const std::string& formName) {
        const std::string unitFile = folder + unitName + ".pas";
        if (!FindFileNoCase(unitFile).empty() ||
            !FindFileNoCase(folder + unitName + ".dfm").empty() || FindModule(unitFile))
            return true;
        for (const auto& module : FModules)
            if (module->HasForm() && SameText(module->Form()->Root()->Name(), formName))
                return true;
        return std::any_of(projectUnits.begin(), projectUnits.end(), [&](const TProjectUnit& u) {
            return SameText(u.Name, unitName) || SameText(u.FormName, formName);
        });
    };
    int number = 1;
    while (taken("Unit" + IntToStr(number), "Form" + IntToStr(number)))
        ++number;
    const std::string unitName = "Unit" + IntToStr(number);
    const TNewFormTexts texts = NewFormTexts(unitName, "Form" + IntToStr(number));
    auto made = std::make_unique<TIdeModule>(folder + unitName + ".pas", texts.Unit, texts.Form);
    TIdeModule* module = made.get();
    AddModule(std::move(made));
    SetCurrentModule(module);
    ShowModuleForm(module);
    module->FocusTarget()->setFocus(Qt::OtherFocusReason);
    return module;
}

void TIdeWindow::AddToProject(TIdeModule* module) {
    if (FProjectFile.empty())
        return;
    namespace fs = std::filesystem;
    const std::string unitName = fs::path(module->FileName()).stem().string();
    const std::string inPath = fs::path(module->FileName())
                                   .lexically_relative(fs::path(FProjectFile).parent_path())
                                   .string();
    const std::string formName = module->HasForm() ? module->Form()->Root()->Name() : "";
    const std::string project = ExtractFileName(FProjectFile);
    try {
        // The project's source open in the editor takes the entry there, for the user to
        // save with it; else the file is rewritten.
        TIdeModule* source = FindModule(FProjectFile);
        const std::string text =
            source ? source->Editor()->Utf8Text() : ReadFileContent(FProjectFile);
        const auto added = AddUnitToProject(text, unitName, inPath, formName);
        if (!added) {
            AddMessage(project + ": no uses clause to add " + unitName + " to");
            return;
        }
        if (*added == text)
            return;
        if (source)
            source->Editor()->ReplaceText(*added);
        else
            ReplaceFile(FProjectFile, *added);
        AddMessage(project + ": " + unitName + " added");
    } catch (const Exception& e) {
        HostServices().MessageDlg("Cannot add " + unitName + " to " + project + ": " + e.Message(),
                                  TMsgDlgType::mtError, mbOK);
    }
    ShowProject();
}

bool TIdeWindow::SaveAll() {
    bool all = true;
    for (const auto& module : FModules)
        if (module->Modified() && !SaveModule(module.get()))
            all = false;
    return all;
}

bool TIdeWindow::ShowModuleForm(TIdeModule* module) {
    if (!module || !module->HasForm())
        return false;
    SetCurrentModule(module);
    module->ShowForm(true);
    return true;
}

void TIdeWindow::ToggleFormUnit() {
    TIdeModule* module = CurrentModule();
    if (!module || !module->HasForm())
        return;
    module->ShowForm(!module->FormShown());
    module->FocusTarget()->setFocus(Qt::OtherFocusReason);
}

// Search

bool TIdeWindow::Find(const QString& text) {
    FLastFind = text;
    return FindNext();
}

bool TIdeWindow::FindNext() {
    TIdeModule* module = CurrentModule();
    if (!module || FLastFind.isEmpty())
        return false;
    module->ShowForm(false);
    if (module->Editor()->FindText(FLastFind)) {
        statusBar()->clearMessage();
        return true;
    }
    statusBar()->showMessage("Search string '" + FLastFind + "' not found", 5000);
    return false;
}

// Messages and dialogs

void TIdeWindow::AddMessage(const std::string& text) {
    FMessages->addItem(Q(text));
    FMessages->scrollToBottom();
}

void TIdeWindow::OpenFileDialog() {
    TOpenDialog dialog;
    dialog.Title = "Open";
    dialog.Filter = "Pascal unit (*.pas;*.pp)|*.pas;*.pp|Form (*.dfm;*.lfm)|*.dfm;*.lfm|"
                    "Project (*.dpr)|*.dpr|Any file (*.*)|*.*";
    if (TIdeModule* module = CurrentModule())
        dialog.InitialDir = ExtractFilePath(module->FileName());
    if (HostServices().ExecuteOpenDialog(dialog)) {
        if (SameText(ExtractFileExt(dialog.FileName), ".dpr"))
            OpenProject(dialog.FileName);
        else
            OpenFile(dialog.FileName);
    }
}

void TIdeWindow::OpenProjectDialog() {
    TOpenDialog dialog;
    dialog.Title = "Open Project";
    dialog.Filter = "Project (*.dpr)|*.dpr";
    if (HostServices().ExecuteOpenDialog(dialog))
        OpenProject(dialog.FileName);
}

void TIdeWindow::EnvironmentOptions() {
    TEnvironmentOptionsDlg dialog(HostServices().SettingsStore(), this);
    dialog.exec();
}

void TIdeWindow::RunToolHandler(const std::function<void()>& handler) {
    RunHandler(handler);
    for (const auto& module : FModules)
        RunHandler([&] { module->RefreshForm(); });
    // The tool's window is gone: the keys go to the page it was opened from.
    activateWindow();
    if (TIdeModule* module = CurrentModule())
        module->FocusTarget()->setFocus(Qt::OtherFocusReason);
    ShowCaret();
}

void TIdeWindow::closeEvent(QCloseEvent* event) {
    if (CloseProject())
        event->accept();
    else
        event->ignore();
}

// Shortcuts

QAction* TIdeWindow::MenuShortcutAction(const QKeyCombination& key) const {
    std::vector<QAction*> actions;
    CollectActions(menuBar()->actions(), actions);
    const QKeySequence pressed(key);
    for (QAction* action : actions)
        if (action->isEnabled() && action->isVisible())
            for (const QKeySequence& sequence : action->shortcuts())
                if (sequence == pressed)
                    return action;
    return nullptr;
}

bool TIdeWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((modifiers & (Qt::AltModifier | Qt::ControlModifier)) || key->key() >= Qt::Key_F1) {
            // A menu item's key runs the item wherever the focus is, as the old IDE had it:
            // before the focused widget's own binding of the key (the editor binds many)
            // and before a menu title's accelerator letter ("&File" and Alt+F).
            if (QAction* action =
                    MenuShortcutAction(QKeyCombination(modifiers, Qt::Key(key->key())))) {
                key->accept();
                if (type == QEvent::KeyPress)
                    action->trigger();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vesk
