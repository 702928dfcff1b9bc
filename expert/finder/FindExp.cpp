#include "expert/finder/FindExp.h"

#include "platform/qt/ControlInput.h"
#include "platform/qt/SlotGuard.h"
#include "platform/rtl/FileUtils.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace vesk {

TFindExpDlg* FindExpDlg = nullptr;

namespace {

constexpr int ClientWidth = 457, ClientHeight = 188;
constexpr int NameColumnLimit = 40; // a longer name pushes its folder along

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QStringList ToQt(const TStringList& list) {
    QStringList out;
    out.reserve(list.Count());
    for (int i = 0; i < list.Count(); ++i)
        out.append(FromUtf8(list[i]));
    return out;
}

QStringList ItemsOf(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    return items;
}

QStringList ItemsOf(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items.append(list.item(i)->text());
    return items;
}

// The history and the text; the entry selected is only set along with a text that
// differs, so that typing keeps its caret.
void ShowItems(QComboBox& box, const TComboBoxState& state) {
    const QString text = FromUtf8(state.Text);
    const QStringList items = ToQt(state.Items);
    bool changed = false;
    if (ItemsOf(box) != items) {
        box.clear();
        box.addItems(items);
        changed = true;
    }
    if (changed || box.currentText() != text) {
        box.setCurrentIndex(state.ItemIndex);
        box.setEditText(text);
    }
}

void ShowItems(QListWidget& list, const TListBoxState& state) {
    const QStringList items = ToQt(state.Items);
    if (ItemsOf(list) != items) {
        list.clear();
        list.addItems(items);
    }
    if (list.currentRow() != state.ItemIndex) {
        if (state.ItemIndex < 0)
            list.setCurrentRow(-1, QItemSelectionModel::Clear);
        else
            list.setCurrentRow(state.ItemIndex);
    }
}

// A multi-line text shows Lines; left alone when it holds them already, so that the
// caret stays where the user types.
void ShowLines(QPlainTextEdit& edit, const TStringList& lines) {
    TStringList shown;
    shown.SetText(ToUtf8(edit.toPlainText()));
    if (shown.Text() == lines.Text())
        return;
    QStringList text = ToQt(lines);
    edit.setPlainText(text.join('\n'));
}

std::optional<TFindKey> FindKeyOf(int key) {
    switch (key) {
    case Qt::Key_Down:
        return TFindKey::fkDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TFindKey::fkEnter;
    case Qt::Key_Home:
        return TFindKey::fkHome;
    case Qt::Key_End:
        return TFindKey::fkEnd;
    case Qt::Key_PageUp:
        return TFindKey::fkPageUp;
    case Qt::Key_PageDown:
        return TFindKey::fkPageDown;
    default:
        return std::nullopt;
    }
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QListWidget* List(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    return list;
}

QPlainTextEdit* Memo(QWidget* parent, const char* name) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    return memo;
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    return layout;
}

} // namespace

// The found list

void TFoundListModel::SetEngine(const TFindExpEngine* engine) {
    FEngine = engine;
    Refresh();
}

void TFoundListModel::Refresh() {
    beginResetModel();
    FCount = FEngine ? FEngine->FoundBox().Items.Count() : 0;
    FNameWidth = 0;
    if (FEngine && FEngine->Options().FolderColumn && FEngine->LoadEnabled()) {
        const TStringList& items = FEngine->FoundBox().Items;
        for (int i = 0; i < FCount && FNameWidth < NameColumnLimit; ++i)
            FNameWidth =
                std::max(FNameWidth, static_cast<int>(FromUtf8(ExtractFileName(items[i])).size()));
        FNameWidth = std::min(FNameWidth, NameColumnLimit);
    }
    endResetModel();
}

int TFoundListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FCount;
}

QVariant TFoundListModel::data(const QModelIndex& index, int role) const {
    if (!FEngine || role != Qt::DisplayRole || !index.isValid())
        return {};
    const TStringList& items = FEngine->FoundBox().Items;
    if (index.row() >= FCount || index.row() >= items.Count())
        return {};
    const std::string& entry = items[index.row()];
    if (FNameWidth == 0)
        return FromUtf8(entry);
    // The name, then its folder: in the fixed-pitch font the folders line up.
    return FromUtf8(ExtractFileName(entry)).leftJustified(FNameWidth) + "  " +
           FromUtf8(ExtractFilePath(entry));
}

// The dialog

TFindExpDlg::TFindExpDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("FindExpDlg");
    setWindowTitle("Source Find Expert");
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    pc = new QTabWidget(this);
    pc->setObjectName("pc");
    // Six captions across a dialog this narrow: the tabs' letters a little smaller.
    QFont tabs = pc->tabBar()->font();
    if (tabs.pointSizeF() > 0) {
        tabs.setPointSizeF(tabs.pointSizeF() * 0.85);
        pc->tabBar()->setFont(tabs);
    }
    pc->setUsesScrollButtons(false);
    outer->addWidget(pc);
    BuildSearchPage();
    BuildListPages();
    BuildPathPages();
    BuildConfigPage();
    connect(pc, &QTabWidget::currentChanged, this, &TFindExpDlg::pcChange);
    pc->tabBar()->installEventFilter(this);
    FormCreate();
}

TFindExpDlg::~TFindExpDlg() {
    FormDestroy();
}

void TFindExpDlg::BuildSearchPage() {
    tsSearch = new QWidget;
    tsSearch->setObjectName("tsSearch");
    pc->addTab(tsSearch, "&Search");
    auto* grid = new QGridLayout(tsSearch);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);

    cbSearch = new QComboBox(tsSearch);
    cbSearch->setObjectName("cbSearch");
    cbSearch->setEditable(true);
    cbSearch->setInsertPolicy(QComboBox::NoInsert); // the history is the engine's
    cbSearch->setCompleter(nullptr);                // what is typed is searched for, not completed
    auto* nameLabel = new QLabel("&File Name", tsSearch);
    nameLabel->setBuddy(cbSearch);

    lbFound = new QListView(tsSearch);
    lbFound->setObjectName("lbFound");
    lbFound->setUniformItemSizes(true);
    lbFound->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    lbFound->setFont(fixed);
    // A full name too long for the list keeps its end, the file's own name, in sight.
    lbFound->setTextElideMode(Qt::ElideLeft);
    lbFound->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFoundModel = new TFoundListModel(this);
    lbFound->setModel(FFoundModel);
    auto* foundLabel = new QLabel("Files Found ", tsSearch);
    foundLabel->setBuddy(lbFound);

    btnSearch = Button(tsSearch, "btnSearch", "&Search");
    btnLoad = Button(tsSearch, "btnLoad", "&Load");
    btnLoad->setEnabled(false);
    btnCancel = Button(tsSearch, "btnCancel", "Cancel");

    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(cbSearch, 1, 0);
    grid->addWidget(foundLabel, 2, 0);
    grid->addWidget(lbFound, 3, 0, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(btnSearch);
    buttons->addWidget(btnLoad);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1, 4, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);
    setTabOrder(cbSearch, btnSearch);

    connect(cbSearch, &QComboBox::editTextChanged, this, &TFindExpDlg::cbSearchChange);
    connect(btnSearch, &QPushButton::clicked, this, &TFindExpDlg::btnSearchClick);
    connect(btnLoad, &QPushButton::clicked, this, &TFindExpDlg::btnLoadClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFindExpDlg::btnCancelClick);
    connect(lbFound, &QListView::doubleClicked, this, &TFindExpDlg::btnLoadClick);
    connect(lbFound->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!FShowing)
                    Run([&] { FEngine->SelectFound(current.isValid() ? current.row() : -1); });
            });
    cbSearch->lineEdit()->installEventFilter(this);
    lbFound->installEventFilter(this);
}

void TFindExpDlg::BuildListPages() {
    tsPackages = new QWidget;
    tsPackages->setObjectName("tsPackages");
    pc->addTab(tsPackages, "&DPK");
    lbDpk = List(tsPackages, "lbDpk");
    PageLayout(tsPackages)->addWidget(lbDpk);
    pmDpk = new QMenu(this);
    pmDpk->setObjectName("pmDpk");
    RefreshDPKItem = pmDpk->addAction("&Refresh");
    RefreshDPKItem->setObjectName("RefreshDPKItem");
    connect(RefreshDPKItem, &QAction::triggered, this, &TFindExpDlg::RefreshDPKItemClick);
    connect(lbDpk, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmDpk->popup(lbDpk->viewport()->mapToGlobal(at)); });
    connect(lbDpk, &QListWidget::itemDoubleClicked, this, &TFindExpDlg::lbFilesPackagesDblClick);
    connect(lbDpk, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!FShowing)
            Run([&] { FEngine->SelectDpk(row); });
    });
    lbDpk->installEventFilter(this);

    tsFavor = new QWidget;
    tsFavor->setObjectName("tsFavor");
    pc->addTab(tsFavor, "Favorites");
    lbFavor = List(tsFavor, "lbFavor");
    PageLayout(tsFavor)->addWidget(lbFavor);
    pmFavor = new QMenu(this);
    pmFavor->setObjectName("pmFavor");
    AddFavorite1 = pmFavor->addAction("Add Favorite");
    AddFavorite1->setObjectName("AddFavorite1");
    AddFavorite1->setShortcut(Qt::Key_Insert);
    DelFavorite1 = pmFavor->addAction("Del Favorite");
    DelFavorite1->setObjectName("DelFavorite1");
    DelFavorite1->setShortcut(Qt::Key_Delete);
    for (QAction* action : {AddFavorite1, DelFavorite1}) {
        action->setShortcutContext(Qt::WidgetShortcut); // while the list has the focus
        lbFavor->addAction(action);
    }
    connect(AddFavorite1, &QAction::triggered, this, &TFindExpDlg::AddFavorite1Click);
    connect(DelFavorite1, &QAction::triggered, this, &TFindExpDlg::DelFavorite1Click);
    connect(lbFavor, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmFavor->popup(lbFavor->viewport()->mapToGlobal(at)); });
    connect(lbFavor, &QListWidget::itemDoubleClicked, this, &TFindExpDlg::lbFavorDblClick);
    connect(lbFavor, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!FShowing)
            Run([&] { FEngine->SelectFavor(row); });
    });
    lbFavor->installEventFilter(this);
}

void TFindExpDlg::BuildPathPages() {
    auto page = [this](QWidget*& sheet, const char* name, const char* caption,
                       QPlainTextEdit*& memo, const char* memoName, TFindPathEdit which) {
        sheet = new QWidget;
        sheet->setObjectName(name);
        pc->addTab(sheet, caption);
        memo = Memo(sheet, memoName);
        PageLayout(sheet)->addWidget(memo);
        QPlainTextEdit* edit = memo;
        connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, which] {
            if (!FShowing)
                Run([&] { FEngine->SetPathText(which, ToUtf8(edit->toPlainText())); });
        });
        edit->viewport()->installEventFilter(this);
    };
    page(TabSheet21, "TabSheet21", "&Main paths", edMainPath, "edMainPath",
         TFindPathEdit::edMainPath);
    page(TabSheet22, "TabSheet22", "&Extended Paths", edExPath, "edExPath",
         TFindPathEdit::edExPath);
}

void TFindExpDlg::BuildConfigPage() {
    tsConfig = new QWidget;
    tsConfig->setObjectName("tsConfig");
    pc->addTab(tsConfig, "&Config");
    auto* layout = PageLayout(tsConfig);
    auto* extRow = new QHBoxLayout;
    cbExt = new QComboBox(tsConfig);
    cbExt->setObjectName("cbExt");
    cbExt->setEditable(true);
    cbExt->setInsertPolicy(QComboBox::NoInsert);
    cbExt->setCompleter(nullptr);
    auto* extLabel = new QLabel("Ext", tsConfig);
    extLabel->setBuddy(cbExt);
    extRow->addWidget(extLabel);
    extRow->addWidget(cbExt, 1);
    layout->addLayout(extRow);

    auto* lower = new QHBoxLayout;
    mmMain = Memo(tsConfig, "mmMain");
    mmMain->setReadOnly(true);
    lower->addWidget(mmMain, 1);
    auto* options = new QVBoxLayout;
    options->setSpacing(0);
    auto check = [&](QCheckBox*& box, const char* name, const char* caption) {
        box = new QCheckBox(caption, tsConfig);
        box->setObjectName(name);
        options->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TFindExpDlg::OptionsClick);
    };
    check(chkMatchAnywhere, "chkMatchAnywhere", "Match any&where in the name");
    check(chkFolderColumn, "chkFolderColumn", "F&older column");
    check(chkOpenSeveral, "chkOpenSeveral", "O&pen several files");
    check(chkStopButton, "chkStopButton", "S&top button for a deep search");
    options->addStretch();
    lower->addLayout(options);
    layout->addLayout(lower, 1);

    connect(cbExt, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!FShowing)
            Run([&] { FEngine->SetExtText(ToUtf8(text)); });
    });
    connect(cbExt, &QComboBox::activated, this, &TFindExpDlg::cbExtClick);
}

template <typename Handler>
void TFindExpDlg::Run(Handler handler) {
    if (FEngine)
        Guarded(handler);
}

// The widgets follow the engine

void TFindExpDlg::ShowState() {
    if (!FEngine)
        return;
    const TFindExpEngine& engine = *FEngine;
    const QScopedValueRollback<bool> showing(FShowing, true);

    pc->setCurrentIndex(static_cast<int>(engine.Page()));

    ShowItems(*cbSearch, engine.SearchBox());
    cbSearch->setEnabled(engine.SearchBox().Enabled);
    const bool several = engine.Options().OpenSeveral;
    lbFound->setSelectionMode(several ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
    // With the folder column the name comes first: the folder's end may go.
    lbFound->setTextElideMode(engine.Options().FolderColumn ? Qt::ElideRight : Qt::ElideLeft);
    const int found = engine.FoundBox().ItemIndex;
    const int current = lbFound->currentIndex().isValid() ? lbFound->currentIndex().row() : -1;
    if (FShownFound != engine.FoundVersion()) {
        FShownFound = engine.FoundVersion();
        FFoundModel->Refresh();
        if (found >= 0)
            lbFound->setCurrentIndex(FFoundModel->index(found));
    } else if (found != current) {
        if (found < 0)
            lbFound->selectionModel()->clear();
        else
            lbFound->setCurrentIndex(FFoundModel->index(found));
    }
    btnLoad->setEnabled(engine.LoadEnabled());

    ShowItems(*lbDpk, engine.DpkBox());
    ShowItems(*lbFavor, engine.FavorBox());
    ShowLines(*edMainPath, engine.PathMemo(TFindPathEdit::edMainPath).Lines);
    ShowLines(*edExPath, engine.PathMemo(TFindPathEdit::edExPath).Lines);
    ShowLines(*mmMain, engine.LibPathMemo().Lines);

    ShowItems(*cbExt, engine.ExtBox());
    const TFindExpOptions& options = engine.Options();
    chkMatchAnywhere->setChecked(options.MatchAnywhere);
    chkFolderColumn->setChecked(options.FolderColumn);
    chkOpenSeveral->setChecked(options.OpenSeveral);
    chkStopButton->setChecked(options.StopButton);
}

void TFindExpDlg::ShowFocus() {
    if (!FEngine)
        return;
    switch (FEngine->Focused()) {
    case TFindFocus::fcSearch:
        cbSearch->setFocus();
        break;
    case TFindFocus::fcFound:
        lbFound->setFocus();
        break;
    case TFindFocus::fcDpk:
        tsPackagesEnter();
        break;
    case TFindFocus::fcFavor:
        tsFavorEnter();
        break;
    case TFindFocus::fcNone:
        break;
    }
}

std::vector<int> TFindExpDlg::SelectedFound() const {
    std::vector<int> rows;
    for (const QModelIndex& index : lbFound->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Handlers

void TFindExpDlg::FormCreate() {
    Guarded([this] { FEngine = std::make_unique<TFindExpEngine>(&FBounds, true); });
    if (!FEngine)
        return;
    FFoundModel->SetEngine(FEngine.get());
    FEngine->SetOnChange([this] { ShowState(); });
    ShowState();
}

void TFindExpDlg::FormDestroy() {
    FFoundModel->SetEngine(nullptr);
    FEngine.reset();
    if (FindExpDlg == this)
        FindExpDlg = nullptr;
}

void TFindExpDlg::FormClose() {
    Run([this] { FEngine->FormClose(); });
}

void TFindExpDlg::FormActivate() {
    Run([this] { FEngine->FormActivate(); });
    ShowFocus();
}

bool TFindExpDlg::FormKeyPress(char key) {
    constexpr char Escape = 27;
    Run([&] { FEngine->FormKeyPress(key); });
    return key == Escape;
}

void TFindExpDlg::btnCancelClick() {
    Run([this] { FEngine->btnCancelClick(); });
}

void TFindExpDlg::SelectPage(PageType page) {
    Run([&] { FEngine->SelectPage(page); });
    ShowFocus();
}

void TFindExpDlg::pcChange(int index) {
    if (FShowing || index < 0)
        return;
    Run([&] { FEngine->ChangePage(static_cast<TFindPage>(index)); });
    ShowFocus();
}

void TFindExpDlg::pcEnter() {
    QWidget* page = pc->currentWidget();
    if (page == tsSearch)
        cbSearch->setFocus();
    else if (page == tsPackages)
        tsPackagesEnter();
    else if (page == tsFavor)
        tsFavorEnter();
    else if (page == TabSheet21)
        edMainPath->setFocus();
    else if (page == TabSheet22)
        edExPath->setFocus();
    else
        cbExt->setFocus();
}

void TFindExpDlg::tsPackagesEnter() {
    lbDpk->setFocus();
}

void TFindExpDlg::tsFavorEnter() {
    lbFavor->setFocus();
}

void TFindExpDlg::tsConfigExit() {
    Run([this] { FEngine->tsConfigExit(); });
}

void TFindExpDlg::edPathDblClick(QPlainTextEdit* sender) {
    if (sender != edMainPath && sender != edExPath)
        return; // only the path texts take a directory
    Run([&] {
        FEngine->edPathDblClick(sender == edMainPath ? TFindPathEdit::edMainPath
                                                     : TFindPathEdit::edExPath);
    });
}

void TFindExpDlg::RefreshDPKItemClick() {
    Run([this] { FEngine->ReadDpk(); });
}

void TFindExpDlg::lbFilesPackagesDblClick() {
    FOpened = true;
    Run([this] { FEngine->lbFilesPackagesDblClick(); });
    FOpened = FOpened && !isVisible();
}

bool TFindExpDlg::lbDpkKeyDown(int key) {
    const std::optional<TFindKey> findKey = FindKeyOf(key);
    if (!findKey || *findKey == TFindKey::fkDown)
        return false; // the list moves on its own
    FOpened = *findKey == TFindKey::fkEnter;
    Run([&] { FEngine->lbDpkKeyDown(*findKey); });
    FOpened = FOpened && !isVisible();
    return true;
}

void TFindExpDlg::AddFavorite1Click() {
    Run([this] { FEngine->AddFavorite1Click(); });
}

void TFindExpDlg::DelFavorite1Click() {
    Run([this] { FEngine->DelFavorite1Click(); });
}

void TFindExpDlg::lbFavorDblClick() {
    FOpened = true;
    Run([this] { FEngine->lbFavorDblClick(); });
    FOpened = FOpened && !isVisible();
}

void TFindExpDlg::lbFavorKeyPress(char key) {
    FOpened = true;
    Run([&] { FEngine->lbFavorKeyPress(key); });
    FOpened = FOpened && !isVisible();
}

void TFindExpDlg::cbSearchChange() {
    if (FShowing)
        return;
    Run([this] { FEngine->SetSearchText(ToUtf8(cbSearch->currentText())); });
}

void TFindExpDlg::btnSearchClick() {
    if (!FEngine)
        return;
    if (FEngine->DeepSearching()) {
        if (FEngine->Options().StopButton)
            FEngine->CancelSearch(); // the walk stops; what it found is shown
        else
            Run([this] { FEngine->btnSearchClick(); }); // runs once this one has ended
        return;
    }
    // The engine tells the window only once the search has ended: meanwhile the field
    // shows it takes no typing, and the button that it stops the search.
    cbSearch->setEnabled(false);
    if (FEngine->Options().StopButton)
        btnSearch->setText("S&top");
    Run([this] { FEngine->btnSearchClick(); });
    btnSearch->setText("&Search");
    ShowState();
    ShowFocus();
}

void TFindExpDlg::cbExtClick(int index) {
    Run([&] { FEngine->PickExt(index); });
}

void TFindExpDlg::btnLoadClick() {
    FOpened = true;
    if (FEngine && FEngine->Options().OpenSeveral)
        Run([this] { FEngine->LoadFiles(SelectedFound()); });
    else
        Run([this] { FEngine->btnLoadClick(); });
    FOpened = FOpened && !isVisible();
}

bool TFindExpDlg::cbSearchKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!FEngine)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        btnLoadClick();
        return true;
    }
    if (key != Qt::Key_Down)
        return false;
    bool consumed = false;
    const bool shift = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool droppedDown = cbSearch->view()->isVisible();
    Run([&] { consumed = FEngine->cbSearchKeyDown(TFindKey::fkDown, shift, droppedDown); });
    if (consumed)
        ShowFocus();
    return consumed;
}

bool TFindExpDlg::cbSearchKeyPress(char key) {
    return key == '\r'; // handled as the key went down
}

void TFindExpDlg::lbFoundKeyPress(char key) {
    if (key == '\r')
        btnLoadClick();
    else
        Run([&] { FEngine->lbFoundKeyPress(key); });
}

void TFindExpDlg::OptionsClick() {
    if (FShowing || !FEngine)
        return;
    TFindExpOptions options;
    options.MatchAnywhere = chkMatchAnywhere->isChecked();
    options.FolderColumn = chkFolderColumn->isChecked();
    options.OpenSeveral = chkOpenSeveral->isChecked();
    options.StopButton = chkStopButton->isChecked();
    const bool columns = options.FolderColumn != FEngine->Options().FolderColumn;
    Run([&] { FEngine->SetOptions(options); });
    if (columns) {
        FFoundModel->Refresh();
        ShowState();
    }
}

// Events

bool TFindExpDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == pc->tabBar() && type == QEvent::FocusIn) {
        pcEnter();
        return false;
    }
    if (type == QEvent::MouseButtonDblClick &&
        (watched == edMainPath->viewport() || watched == edExPath->viewport())) {
        edPathDblClick(watched == edMainPath->viewport() ? edMainPath : edExPath);
        return true;
    }
    if (type != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);

    const auto& key = static_cast<const QKeyEvent&>(*event);
    const char ch = KeyPressCharOf(key);
    if (ch == 27) // the dialog sees Esc before its controls
        return FormKeyPress(ch);
    if (watched == cbSearch->lineEdit())
        return cbSearchKeyDown(key.key(), key.modifiers()) || (ch && cbSearchKeyPress(ch));
    if (watched == lbFound) {
        if (ch != '\r')
            return false;
        lbFoundKeyPress(ch);
        return true;
    }
    if (watched == lbDpk)
        return lbDpkKeyDown(key.key());
    if (watched == lbFavor && ch != 0) {
        lbFavorKeyPress(ch);
        return true;
    }
    return false;
}

void TFindExpDlg::closeEvent(QCloseEvent* event) {
    FormClose();
    setResult(FOpened ? QDialog::Accepted : QDialog::Rejected);
    event->accept();
}

void TFindExpDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FOpened = false;
    FormActivate();
}

void TFindExpDlg::reject() {
    FormKeyPress(27);
    if (isVisible())
        close(); // no engine: nothing else closes it
}

// Entry points

TModalResult ExecuteFindExp(PageType page) {
    if (!FindExpDlg) {
        auto dialog = std::make_unique<TFindExpDlg>();
        if (!dialog->Ready())
            return mrCancel; // the error box has said why
        FindExpDlg = dialog.release();
    }
    FindExpDlg->SelectPage(page);
    return FindExpDlg->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void DestroyFindExpDlg() {
    delete FindExpDlg;
}

} // namespace vesk
