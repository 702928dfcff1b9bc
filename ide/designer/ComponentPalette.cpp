#include "ide/designer/ComponentPalette.h"

#include "ide/form/ClassIcons.h"
#include "ide/form/FormView.h"
#include "platform/design/Palette.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr int IconSize = ClassIconSize;

const std::vector<std::pair<std::string, std::vector<const char*>>>& HostPages() {
    static const std::vector<std::pair<std::string, std::vector<const char*>>> pages = {
        {"Standard",
         {"TMainMenu", "TPopupMenu", "TLabel", "TEdit", "TMemo", "TButton", "TCheckBox", "TListBox",
          "TComboBox", "TGroupBox", "TRadioGroup", "TPanel"}},
        {"Additional", {"TSpeedButton", "TMaskEdit", "TImage", "TBevel", "TScrollBox"}},
        {"Win32", {"TPageControl", "TTreeView", "TImageList"}},
        {"System", {"TTimer"}},
        {"Data Access", {"TDataSource", "TTable", "TQuery", "TStoredProc"}},
        {"Data Controls",
         {"TDBGrid", "TDBNavigator", "TDBText", "TDBEdit", "TDBMemo", "TDBCheckBox"}},
    };
    return pages;
}

// The pages in the order shown: the host's first, in their order, then the others in
// the order they were named.
std::vector<std::string> ShownPages() {
    std::vector<std::string> pages;
    const std::vector<std::string> named = PalettePages();
    for (const auto& [page, classes] : HostPages())
        if (std::find(named.begin(), named.end(), page) != named.end())
            pages.push_back(page);
    for (const std::string& page : named)
        if (std::find(pages.begin(), pages.end(), page) == pages.end() &&
            !PaletteClasses(page).empty())
            pages.push_back(page);
    return pages;
}

} // namespace

void RegisterHostPalette() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    TPackageScope host(""); // the host's own, whatever package is loading
    const TClassRegistry& registry = TClassRegistry::Instance();
    for (const auto& [page, names] : HostPages()) {
        std::vector<const TClassInfo*> classes;
        for (const char* name : names)
            if (const TClassInfo* c = registry.Find(name))
                classes.push_back(c);
        RegisterComponents(page, classes);
    }
}

TComponentPalette::TComponentPalette(QWidget* parent) : QTabWidget(parent) {
    setObjectName("ComponentPalette");
    setDocumentMode(true);
    RegisterHostPalette();
    Refresh();
}

void TComponentPalette::Refresh() {
    const QString shown = count() ? tabText(currentIndex()) : QString();
    const TClassInfo* picked = FPicked;
    FPicked = nullptr;
    FGroups.clear();
    while (count()) {
        QWidget* page = widget(0);
        removeTab(0);
        delete page;
    }
    for (const std::string& pageName : ShownPages()) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromStdString(pageName));
        auto* layout = new QHBoxLayout(page);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(1);
        auto* group = new QButtonGroup(page);
        group->setExclusive(true);
        auto* pointer = new QToolButton(page);
        pointer->setObjectName("Pointer");
        pointer->setIcon(PointerIcon());
        pointer->setToolTip("Pointer");
        pointer->setCheckable(true);
        pointer->setChecked(true);
        pointer->setAutoRaise(true);
        pointer->setIconSize(QSize(IconSize, IconSize));
        group->addButton(pointer);
        layout->addWidget(pointer);
        connect(pointer, &QToolButton::clicked, this, [this] { Pick(nullptr); });
        for (const TClassInfo* c : PaletteClasses(pageName)) {
            auto* button = new QToolButton(page);
            button->setObjectName(QString::fromStdString(c->ClassName()));
            QString tip = QString::fromStdString(c->ClassName());
            if (tip.startsWith('T'))
                tip.remove(0, 1);
            button->setToolTip(tip);
            button->setIcon(ClassIcon(*c));
            button->setIconSize(QSize(IconSize, IconSize));
            button->setCheckable(true);
            button->setAutoRaise(true);
            group->addButton(button);
            layout->addWidget(button);
            connect(button, &QToolButton::clicked, this, [this, c] { Pick(c); });
            if (c == picked) {
                button->setChecked(true);
                FPicked = c;
            }
        }
        layout->addStretch(1);
        FGroups.push_back(group);
        addTab(page, QString::fromStdString(pageName));
        if (QString::fromStdString(pageName) == shown)
            setCurrentIndex(count() - 1);
    }
    if (picked != FPicked)
        emit classPicked(FPicked);
}

void TComponentPalette::Pick(const TClassInfo* classInfo) {
    FPicked = classInfo;
    emit classPicked(classInfo);
}

void TComponentPalette::ClearPick() {
    for (QButtonGroup* group : FGroups)
        if (auto* pointer = group->buttons().value(0))
            pointer->setChecked(true);
    if (FPicked) {
        FPicked = nullptr;
        emit classPicked(nullptr);
    }
}

QAbstractButton* TComponentPalette::ButtonOf(const std::string& className) const {
    for (QButtonGroup* group : FGroups)
        for (QAbstractButton* b : group->buttons())
            if (SameText(b->objectName().toStdString(), className) && b->objectName() != "Pointer")
                return b;
    return nullptr;
}

void TComponentPalette::Attach(TFormView* view) {
    for (const auto& c : FViewConnections)
        disconnect(c);
    FViewConnections.clear();
    if (!view)
        return;
    FViewConnections.push_back(connect(this, &TComponentPalette::classPicked, view,
                                       [view](const TClassInfo* c) { view->SetDropClass(c); }));
    FViewConnections.push_back(
        connect(view, &TFormView::componentDropped, this, [this] { ClearPick(); }));
    FViewConnections.push_back(
        connect(view, &QObject::destroyed, this, [this] { Attach(nullptr); }));
    view->SetDropClass(FPicked);
}

} // namespace vesk
