#include "expert/navigator/MNavExp.h"

#include "expert/frame/ComExp.h"
#include "expert/frame/VeskCommon.h"
#include "platform/qt/ControlInput.h"
#include "platform/qt/SlotGuard.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace vesk {

TMNavExpDlg* MNavExpDlg = nullptr;

namespace {

constexpr int DefaultLeft = 606, DefaultTop = 67, DefaultWidth = 186, DefaultHeight = 395;
constexpr int ItemHeight = 13; // at least; a taller font gets the height it needs
constexpr int EditTop = 4, EditHeight = 21, EditPanelHeight = 28;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Draws an entry: the letters the filter matched in bold, the body's line right-aligned.
class TMethodItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const bool selected = item.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            item.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        const QColor ink =
            item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        QRect room = item.rect.adjusted(2, 0, -2, 0);
        painter->save();
        painter->setClipRect(item.rect);

        const QString line = index.data(TMethodListModel::LineRole).toString();
        if (!line.isEmpty()) {
            const int width = item.fontMetrics.horizontalAdvance(QStringLiteral("00000"));
            QColor dim = ink;
            if (!selected)
                dim.setAlphaF(0.6f);
            painter->setPen(dim);
            painter->setFont(item.font);
            painter->drawText(room, Qt::AlignRight | Qt::AlignVCenter, line);
            room.setRight(room.right() - width - 4);
        }

        painter->setPen(ink);
        QFont bold = item.font;
        bold.setBold(true);
        // The text as runs of plain and bold letters.
        std::vector<std::pair<QString, const QFont*>> runs;
        int at = 0;
        auto add = [&](int from, int to, const QFont& font) {
            if (to > from)
                runs.emplace_back(text.mid(from, to - from), &font);
        };
        for (const QVariant& span : index.data(TMethodListModel::SpansRole).toList()) {
            const QPoint run = span.toPoint(); // x: start, y: length, in Qt's characters
            add(at, run.x(), item.font);
            add(run.x(), run.x() + run.y(), bold);
            at = run.x() + run.y();
        }
        add(at, static_cast<int>(text.size()), item.font);

        int width = 0;
        for (const auto& [piece, font] : runs)
            width += QFontMetrics(*font).horizontalAdvance(piece);
        const QString ellipsis(QChar(0x2026));
        // Too long for the room: it is cut where an ellipsis still fits after it.
        const int limit = width <= room.width()
                              ? room.right() + 1
                              : room.right() + 1 - item.fontMetrics.horizontalAdvance(ellipsis);
        int x = room.left();
        for (auto [piece, font] : runs) {
            const QFontMetrics metrics(*font);
            bool cut = false;
            while (!piece.isEmpty() && x + metrics.horizontalAdvance(piece) > limit) {
                piece.chop(1);
                cut = true;
            }
            if (cut)
                piece += ellipsis;
            painter->setFont(*font);
            painter->drawText(QRect(x, room.top(), room.right() - x + 1, room.height()),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, piece);
            x += metrics.horizontalAdvance(piece);
            if (cut)
                break;
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(ItemHeight, option.fontMetrics.height()));
        return size;
    }
};

} // namespace

// The model

void TMethodListModel::SetLogic(TMNavExpLogic* logic) {
    beginResetModel();
    FLogic = logic;
    endResetModel();
}

void TMethodListModel::Refresh() {
    beginResetModel();
    endResetModel();
}

int TMethodListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !FLogic ? 0 : FLogic->Count();
}

QVariant TMethodListModel::data(const QModelIndex& index, int role) const {
    if (!FLogic || !index.isValid() || index.row() >= FLogic->Count())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return FromUtf8(FLogic->DisplayName(row));
    case SpansRole: {
        // Byte runs of the name as runs of Qt's characters.
        const std::string& name = FLogic->DisplayName(row);
        auto chars = [&](int bytes) {
            return static_cast<int>(
                QString::fromUtf8(name.data(), std::clamp<qsizetype>(bytes, 0, name.size()))
                    .size());
        };
        QVariantList spans;
        for (const TMatchSpan& span : FLogic->MatchedSpans(row)) {
            const int start = chars(span.Start);
            spans.append(QPoint(start, chars(span.Start + span.Length) - start));
        }
        return spans;
    }
    case LineRole: {
        if (!FLogic->Options().LineColumn)
            return {};
        const int line = FLogic->BodyLine(row);
        return line > 0 ? QString::number(line) : QString();
    }
    default:
        return {};
    }
}

// The window

TMNavExpDlg::TMNavExpDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("MNavExpDlg");
    setWindowTitle("Method Navigator");
    // A sizeable tool window whose frame offers only the system menu and closing.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    BuildMenu();
    edFilter->setFocus(); // the first control that takes the tab, the list not being one
    MNavExpDlg = this;
    FBounds.SetLeft(DefaultLeft);
    FBounds.SetTop(DefaultTop);
    FBounds.SetWidth(DefaultWidth);
    FBounds.SetHeight(DefaultHeight);
    FormCreate();
}

TMNavExpDlg::~TMNavExpDlg() {
    FModel->SetLogic(nullptr);
    if (MNavExpDlg == this)
        MNavExpDlg = nullptr;
}

void TMNavExpDlg::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    plSearch = new QFrame(this);
    plSearch->setObjectName("plSearch");
    outer->addWidget(plSearch);
    auto* search = new QVBoxLayout(plSearch);
    search->setContentsMargins(0, 0, 0, 0);
    search->setSpacing(0);

    plEd = new QFrame(plSearch);
    plEd->setObjectName("plEd");
    plEd->setFixedHeight(EditPanelHeight);
    search->addWidget(plEd);
    edFilter = new QLineEdit(plEd);
    edFilter->setObjectName("edFilter");
    edFilter->setGeometry(2, EditTop, DefaultWidth - 4, EditHeight);

    plList = new QFrame(plSearch);
    plList->setObjectName("plList");
    search->addWidget(plList, 1);
    auto* list = new QVBoxLayout(plList);
    list->setContentsMargins(2, 2, 2, 2);
    lbMethod = new QListView(plList);
    lbMethod->setObjectName("lbMethod");
    lbMethod->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    lbMethod->setUniformItemSizes(true);
    lbMethod->setSelectionMode(QAbstractItemView::SingleSelection);
    lbMethod->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbMethod->setItemDelegate(new TMethodItemDelegate(lbMethod));
    FModel = new TMethodListModel(this);
    lbMethod->setModel(FModel);
    list->addWidget(lbMethod);

    plStatus = new QLabel(plSearch);
    plStatus->setObjectName("plStatus");
    plStatus->setWordWrap(true);
    plStatus->setFrameShape(QFrame::StyledPanel);
    plStatus->setContentsMargins(2, 1, 2, 1);
    plStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    plStatus->hide();
    search->addWidget(plStatus);

    // The window sees keys before its controls, the size of the filter's panel and
    // double clicks anywhere in the list.
    for (QObject* watched :
         {static_cast<QObject*>(plEd), static_cast<QObject*>(edFilter),
          static_cast<QObject*>(lbMethod), static_cast<QObject*>(lbMethod->viewport())})
        watched->installEventFilter(this);

    connect(edFilter, &QLineEdit::textChanged, this, &TMNavExpDlg::edFilterChange);
    connect(lbMethod->selectionModel(), &QItemSelectionModel::currentChanged, this,
            GuardedSlot([this] { ShowHeader(); }));
}

void TMNavExpDlg::BuildMenu() {
    pm = new QMenu(this);
    pm->setObjectName("pm");
    StayOnTop1 = pm->addAction("&Stay On Top");
    StayOnTop1->setObjectName("StayOnTop1");
    StayOnTop1->setCheckable(true);
    StayOnTop1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    StayOnTop1->setShortcutContext(Qt::WindowShortcut);
    addAction(StayOnTop1); // the shortcut works without the menu open
    connect(StayOnTop1, &QAction::triggered, this, &TMNavExpDlg::StayOnTop1Click);

    pm->addSeparator();
    Options1 = pm->addMenu("&Options");
    Options1->setObjectName("Options1");
    auto* match = new QActionGroup(this);
    auto option = [&](QAction*& action, const char* name, const char* caption) {
        action = Options1->addAction(caption);
        action->setObjectName(name);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, &TMNavExpDlg::OptionsClick);
    };
    option(MatchPrefix1, "MatchPrefix1", "Match Name &Prefix");
    option(MatchAnywhere1, "MatchAnywhere1", "Match &Anywhere");
    option(MatchFuzzy1, "MatchFuzzy1", "&Fuzzy Match");
    for (QAction* action : {MatchPrefix1, MatchAnywhere1, MatchFuzzy1})
        match->addAction(action);
    Options1->addSeparator();
    option(LineColumn1, "LineColumn1", "&Line Numbers");
    option(SortByName1, "SortByName1", "Sort by &Name");
    option(HeaderLine1, "HeaderLine1", "Show &Header");
    option(OpenAtCaret1, "OpenAtCaret1", "Open at &Caret");

    auto popup = [this](QWidget* owner) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, this,
                [this, owner](const QPoint& at) { pm->popup(owner->mapToGlobal(at)); });
    };
    popup(this);
    popup(lbMethod);
}

int TMNavExpDlg::ItemIndex() const {
    const QModelIndexList rows = lbMethod->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TMNavExpDlg::SetItemIndex(int index) {
    if (index < 0 || index >= FModel->rowCount()) {
        lbMethod->selectionModel()->clear();
        return;
    }
    lbMethod->setCurrentIndex(FModel->index(index));
}

// Handlers

void TMNavExpDlg::FormCreate() {
    Guarded([this] { ReadFormPlacement(FBounds, VeskRegistryRoot); });
    Guarded([this] {
        FModel->SetLogic(nullptr);
        FMethodList = std::make_unique<TMNavExpLogic>();
        FMethodList->SetOptions(TMNavOptions::Read());
        const std::unique_ptr<TStringList> text = GetCurrentFile();
        FMethodList->Parse(text.get());
        FModel->SetLogic(FMethodList.get());
        ShowOptions();
        {
            const QSignalBlocker quiet(edFilter);
            edFilter->clear();
        }
        edFilterChange(); // every method, the first selected
        if (FMethodList->Options().OpenAtCaret)
            SelectCaretRoutine();
    });
}

void TMNavExpDlg::FormClose() {
    Guarded([this] { WriteFormPlacement(FBounds, VeskRegistryRoot); });
    FModel->SetLogic(nullptr);
    FMethodList.reset();
    if (MNavExpDlg == this)
        MNavExpDlg = nullptr;
}

bool TMNavExpDlg::FormKeyPress(char key) {
    constexpr char Enter = '\r', Escape = 27;
    bool consumed = false;
    Guarded([&] {
        if (key == Enter) {
            consumed = true;
            const QWidget* focused = focusWidget();
            if (focused == edFilter || focused == lbMethod)
                lbMethodDblClick();
        } else if (key == Escape) {
            consumed = true;
            close();
        }
    });
    return consumed;
}

void TMNavExpDlg::edFilterChange() {
    Guarded([this] {
        if (!FMethodList)
            return;
        FMethodList->Filter(edFilter->text().toStdString());
        FModel->Refresh();
        SetItemIndex(FMethodList->Count() > 0 ? 0 : -1);
        ShowHeader();
    });
}

void TMNavExpDlg::edFilterKeyDown(int key) {
    Guarded([&] {
        const int count = FModel->rowCount();
        const int index = ItemIndex();
        switch (key) {
        case Qt::Key_PageUp:
            SetItemIndex(count > 0 ? 0 : -1);
            break;
        case Qt::Key_PageDown:
            SetItemIndex(count - 1);
            break;
        case Qt::Key_Up:
            if (index > 0)
                SetItemIndex(index - 1);
            break;
        case Qt::Key_Down:
            if (index + 1 < count)
                SetItemIndex(index + 1);
            break;
        default:
            break;
        }
    });
}

void TMNavExpDlg::lbMethodKeyPress(char key) {
    Guarded([&] {
        TQtEditBox edit(edFilter);
        edKeyChar(key, edit); // the change of text filters the list
        edFilter->setFocus();
        edFilter->end(false);
    });
}

void TMNavExpDlg::ExtraText(const QString& text) {
    Guarded([&] {
        edFilter->insert(text);
        edFilter->setFocus();
        edFilter->end(false);
    });
}

void TMNavExpDlg::lbMethodDblClick() {
    Guarded([this] {
        if (!FMethodList)
            return;
        TEditPos top, cursor;
        FMethodList->GetMethodPos(ItemIndex(), top, cursor);
        SetCursorPos(top, cursor);
        setResult(QDialog::Accepted);
        close();
    });
}

void TMNavExpDlg::plEdResize() {
    edFilter->setGeometry(2, EditTop, std::max(plEd->width() - 4, 0), EditHeight);
}

void TMNavExpDlg::StayOnTop1Click() {
    Guarded([this] {
        // Picking the item has inverted its mark. The flags change on the live window,
        // which a new set of widget flags would hide and so end its modal run.
        Qt::WindowFlags flags = windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, StayOnTop1->isChecked());
        overrideWindowFlags(flags);
        if (QWindow* window = windowHandle())
            window->setFlags(flags);
    });
}

void TMNavExpDlg::OptionsClick() {
    Guarded([this] {
        if (!FMethodList)
            return;
        TMNavOptions options;
        options.Match = MatchFuzzy1->isChecked()      ? TMNavMatch::nmFuzzy
                        : MatchAnywhere1->isChecked() ? TMNavMatch::nmAnywhere
                                                      : TMNavMatch::nmPrefix;
        options.LineColumn = LineColumn1->isChecked();
        options.SortByName = SortByName1->isChecked();
        options.HeaderLine = HeaderLine1->isChecked();
        options.OpenAtCaret = OpenAtCaret1->isChecked();
        const int selected = ItemIndex();
        const int method = selected >= 0 ? FMethodList->MethodOf(selected) : -1;
        FMethodList->SetOptions(options);
        FMethodList->Filter(edFilter->text().toStdString());
        FModel->Refresh();
        // The method selected stays selected when the new list still shows it.
        const int row = method >= 0 ? FMethodList->RowOfMethod(method) : -1;
        SetItemIndex(row >= 0 ? row : (FMethodList->Count() > 0 ? 0 : -1));
        ShowOptions();
        options.Write(); // last: the window follows the choice even if storing it fails
    });
}

void TMNavExpDlg::ShowOptions() {
    const TMNavOptions& options = FMethodList->Options();
    MatchPrefix1->setChecked(options.Match == TMNavMatch::nmPrefix);
    MatchAnywhere1->setChecked(options.Match == TMNavMatch::nmAnywhere);
    MatchFuzzy1->setChecked(options.Match == TMNavMatch::nmFuzzy);
    LineColumn1->setChecked(options.LineColumn);
    SortByName1->setChecked(options.SortByName);
    HeaderLine1->setChecked(options.HeaderLine);
    OpenAtCaret1->setChecked(options.OpenAtCaret);
    plStatus->setVisible(options.HeaderLine);
    lbMethod->viewport()->update();
    ShowHeader();
}

void TMNavExpDlg::ShowHeader() {
    if (!FMethodList || !FMethodList->Options().HeaderLine)
        return;
    const int row = ItemIndex();
    const QString header = row >= 0 ? FromUtf8(FMethodList->Header(row)) : QString();
    plStatus->setText(header);
    plStatus->setToolTip(header);
}

void TMNavExpDlg::SelectCaretRoutine() {
    const TEditPos caret = GetCursorPos();
    if (caret.Line < 1)
        return;
    const int row = FMethodList->RowHoldingLine(caret.Line);
    if (row >= 0)
        SetItemIndex(row);
}

// Events

bool TMNavExpDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plEd && event->type() == QEvent::Resize) {
        plEdResize();
        return false;
    }
    if (watched == lbMethod->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lbMethodDblClick();
        return true;
    }
    if (event->type() != QEvent::KeyPress || (watched != edFilter && watched != lbMethod))
        return QDialog::eventFilter(watched, event);

    const auto& key = static_cast<const QKeyEvent&>(*event);
    const char ch = KeyPressCharOf(key);
    if (ch != 0 && FormKeyPress(ch)) // the window sees the key first
        return true;
    if (watched == edFilter) {
        switch (key.key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down:
            edFilterKeyDown(key.key());
            break;
        default:
            break;
        }
        return false; // the edit gets the key as well
    }
    if (ch != 0) {
        lbMethodKeyPress(ch);
        return true;
    }
    const bool typed = !key.text().isEmpty() && key.text()[0].isPrint() &&
                       !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed) {
        ExtraText(key.text());
        return true;
    }
    return false; // arrows and the like move through the list
}

void TMNavExpDlg::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TMNavExpDlg::reject() {
    close();
}

// Entry points

TModalResult ExecuteMNavExp(QWidget* parent) {
    auto* dialog = new TMNavExpDlg(parent);
    return dialog->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void DestroyMNavExpDlg() {
    delete MNavExpDlg;
}

} // namespace vesk
