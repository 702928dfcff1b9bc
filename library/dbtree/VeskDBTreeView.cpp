#include "library/dbtree/VeskDBTreeView.h"

#include "platform/design/Palette.h"
#include "platform/design/PropertyEditors.h"
#include "platform/qt/HostWidgets.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/SlotGuard.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>

namespace vesk {

// The logic of the widget: the nodes' changes reach the widget through the host
// tree view's hooks.
class TVeskDBTreeView::TLogic final : public TVeskCustomDBTreeView {
public:
    explicit TLogic(TVeskDBTreeView& widget) : FWidget(widget) {
        // A widget always has its window, placed on a parent or on its own.
        SetHasParent(true);
    }

protected:
    void ItemsChanging() override {
        if (FWidget.FModel && !FWidget.FModel->Fetching() && !FWidget.FModel->Resetting()) {
            FWidget.FScrollBefore = FWidget.verticalScrollBar()->value();
            FWidget.FModel->BeginReset();
        }
    }
    void ItemsChanged() override {
        if (FWidget.FModel && FWidget.FModel->Resetting()) {
            FWidget.FModel->EndReset();
            FWidget.SyncFromNodes();
        }
    }
    void NodeAdding(TTreeNode* parent, int index) override {
        if (Follows())
            FWidget.FModel->BeginInsert(parent, index);
    }
    void NodeAdded(TTreeNode*) override {
        if (Follows())
            FWidget.FModel->EndInsert();
    }
    void NodeDeleting(TTreeNode* node) override {
        if (Follows())
            FWidget.FModel->BeginRemove(node);
    }
    void NodeDeleted() override {
        if (FWidget.FModel && FWidget.FModel->Removing()) {
            FWidget.FModel->EndRemove();
            FWidget.SyncSelection();
        }
    }
    void NodeChanged(TTreeNode* node) override {
        if (Follows())
            FWidget.FModel->NodeChanged(node);
    }
    void NodeExpandedChanged(TTreeNode* node) override {
        if (!Items().Updating())
            FWidget.NodeExpandedChanged(node);
    }
    void SelectionChanged() override {
        if (!Items().Updating() && !(FWidget.FModel && FWidget.FModel->Removing()))
            FWidget.SyncSelection();
    }
    void LookChanged() override { FWidget.ApplyLook(); }
    void DestroyWnd() override {
        TVeskCustomDBTreeView::DestroyWnd();
        FWidget.DropNativePart();
    }
    void CreateWnd() override {
        if (!HandleAllocated())
            FWidget.MakeNativePart();
        TVeskCustomDBTreeView::CreateWnd();
    }

private:
    // The model follows single changes row by row unless it is being reset.
    bool Follows() const {
        return FWidget.FModel && !FWidget.FModel->Fetching() && !FWidget.FModel->Resetting();
    }

    TVeskDBTreeView& FWidget;
};

TVeskDBTreeView::TVeskDBTreeView(QWidget* parent)
    : QTreeView(parent), FTree(std::make_unique<TLogic>(*this)) {
    resize(121, 97); // a new tree's size, as the old control was made
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    MakeNativePart();

    TVeskCustomDBTreeView& tree = *FTree;
    tree.OnChange = [this](TObject*, TTreeNode* node) { emit OnChange(node); };
    tree.OnChanging = [this](TObject*, TTreeNode* node, bool& allow) {
        emit OnChanging(node, allow);
    };
    tree.OnExpanding = [this](TObject*, TTreeNode* node, bool& allow) {
        emit OnExpanding(node, allow);
    };
    tree.OnExpanded = [this](TObject*, TTreeNode* node) { emit OnExpanded(node); };
    tree.OnCollapsing = [this](TObject*, TTreeNode* node, bool& allow) {
        emit OnCollapsing(node, allow);
    };
    tree.OnCollapsed = [this](TObject*, TTreeNode* node) { emit OnCollapsed(node); };
    tree.OnEditing = [this](TObject*, TTreeNode* node, bool& allow) {
        emit OnEditing(node, allow);
    };
    tree.OnEdited = [this](TObject*, TTreeNode* node, std::string& text) {
        QString typed = QString::fromStdString(text);
        emit OnEdited(node, typed);
        text = typed.toStdString();
    };
    tree.OnDeletion = [this](TObject*, TTreeNode* node) { emit OnDeletion(node); };
    tree.SetOnFillNode([this](TObject*, TTreeNode* node) { emit OnFillNode(node); });

    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (FSyncing)
            return;
        Forward([&] {
            if (!FTree->UserExpand(NodeAt(index), true))
                NodeExpandedChanged(NodeAt(index)); // refused: shut again
        });
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (FSyncing)
            return;
        Forward([&] {
            if (!FTree->UserExpand(NodeAt(index), false))
                NodeExpandedChanged(NodeAt(index));
        });
    });
}

TVeskDBTreeView::~TVeskDBTreeView() {
    // The model goes first: the nodes it points at go with the logic.
    setModel(nullptr);
    delete FModel;
    FModel = nullptr;
    FTree.reset();
}

void TVeskDBTreeView::Forward(const std::function<void()>& action) {
    Guarded(action); // an error shows in the host's error box and goes no further
}

void TVeskDBTreeView::MakeNativePart() {
    FModel = new TTreeNodesModel(*FTree, this);
    FModel->SetIconOf(
        [this](const TTreeNode& node, bool selected) { return IconOf(node, selected); });
    FModel->SetPendingChildren(
        [this](const TTreeNode& node) { return FTree->PendingChildCount(&node); },
        [this](TTreeNode& node) { Forward([&] { FTree->LoadPendingChildren(&node); }); });
    setModel(FModel);
    ApplyLook();
    ++FWindowGeneration;
    SyncFromNodes();
}

void TVeskDBTreeView::DropNativePart() {
    setModel(nullptr);
    delete FModel;
    FModel = nullptr;
}

void TVeskDBTreeView::ApplyLook() {
    const TVeskCustomDBTreeView& tree = *FTree;
    setFrameShape(tree.BorderStyle() == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    setRootIsDecorated(tree.ShowRoot() && tree.ShowButtons());
    setItemsExpandable(true);
    setIndentation(tree.Indent());
    setEditTriggers(tree.ReadOnly()
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    viewport()->update(); // lines and buttons are drawn with the branches
    // HideSelection: the selection shows only while the view has the focus.
    QPalette colours = palette();
    const QPalette base = QApplication::palette(this);
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     tree.HideSelection() ? colours.color(QPalette::Inactive, QPalette::Base)
                                          : base.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     tree.HideSelection()
                         ? base.color(QPalette::Inactive, QPalette::Text)
                         : base.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

QModelIndex TVeskDBTreeView::IndexOf(const TTreeNode* node) const {
    return FModel ? FModel->IndexOf(node) : QModelIndex();
}

void TVeskDBTreeView::SyncFromNodes() {
    if (!FModel)
        return;
    FSyncing = true;
    const TTreeNodes& items = FTree->Items();
    for (int i = 0; i < items.Count(); ++i) {
        const TTreeNode* node = items.Item(i);
        if (node->Expanded() && node->HasChildren())
            setExpanded(IndexOf(node), true);
    }
    FSyncing = false;
    SyncSelection();
    // Where the view stood, as far as the rows still reach, with the selected node
    // brought into sight.
    doItemsLayout();
    verticalScrollBar()->setValue(FScrollBefore);
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void TVeskDBTreeView::SyncSelection() {
    if (!FModel || !selectionModel())
        return;
    FSyncing = true;
    const QModelIndex current = IndexOf(FTree->Selected());
    if (current.isValid())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
    FSyncing = false;
}

void TVeskDBTreeView::NodeExpandedChanged(TTreeNode* node) {
    FSyncing = true;
    const QModelIndex at = IndexOf(node);
    if (at.isValid())
        setExpanded(at, node->Expanded());
    FSyncing = false;
}

void TVeskDBTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (FSyncing)
        return;
    Forward([&] {
        if (!FTree->UserSelect(NodeAt(current)))
            SyncSelection(); // refused: back to the node that was selected
    });
}

bool TVeskDBTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Asked only when the trigger would start editing (a plain click does not).
    const bool starts = trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger);
    if (starts && index.isValid() && !FTree->ReadOnly()) {
        bool allowed = false;
        Forward([&] { allowed = FTree->CanEdit(NodeAt(index)); });
        if (!allowed)
            return false;
    }
    return QTreeView::edit(index, trigger, event);
}

void TVeskDBTreeView::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        viewport()->update();
}

void TVeskDBTreeView::drawBranches(QPainter* painter, const QRect& rect,
                                   const QModelIndex& index) const {
    const TTreeNode* node = NodeAt(index);
    if (FTree->ShowLines() && node && indentation() > 0) {
        painter->save();
        QPen pen(palette().color(QPalette::Mid));
        pen.setStyle(Qt::DotLine);
        painter->setPen(pen);
        const int step = indentation();
        const int middleY = rect.center().y();
        // The node's own column is the rightmost; its ancestors' lie to the left.
        int column = rect.right() + 1 - step;
        const bool decorated = rootIsDecorated();
        if (node->Level() > 0 || decorated) {
            const int x = column + step / 2;
            painter->drawLine(x, middleY, column + step - 2, middleY);
            const bool first = !node->GetPrevSibling() && !node->Parent();
            painter->drawLine(x, first ? middleY : rect.top(), x,
                              node->GetNextSibling() ? rect.bottom() : middleY);
        }
        for (const TTreeNode* up = node->Parent(); up; up = up->Parent()) {
            column -= step;
            if ((up->Level() > 0 || decorated) && up->GetNextSibling()) {
                const int x = column + step / 2;
                painter->drawLine(x, rect.top(), x, rect.bottom());
            }
        }
        painter->restore();
    }
    if (FTree->ShowButtons())
        QTreeView::drawBranches(painter, rect, index);
}

bool TVeskDBTreeView::event(QEvent* event) {
    return ApplyDynamicProperty(*this, event, VeskDBTreeViewClass()) || QTreeView::event(event);
}

void TVeskDBTreeView::SetFont(const TFont& font) {
    if (font == FFont)
        return;
    FFont = font;
    setFont(ToQFont(font));
}

void TVeskDBTreeView::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, ToQColor(color));
    setPalette(colours);
    ApplyLook(); // a hidden selection takes the new background
}

void TVeskDBTreeView::SetImages(TImageList* images) {
    if (FImages == images)
        return;
    if (FImages)
        disconnect(FImages, nullptr, this, nullptr);
    FImages = images;
    if (images)
        connect(images, &TImageList::Changed, viewport(), [this] { viewport()->update(); });
    viewport()->update();
}

QIcon TVeskDBTreeView::IconOf(const TTreeNode& node, bool selected) const {
    if (!FImages)
        return {};
    return FImages->Icon(selected ? node.SelectedIndex() : node.ImageIndex());
}

// ---- registration

const TClassInfo& VeskDBTreeViewClass() {
    TClassRegistry& registry = TClassRegistry::Instance();
    TClassInfo* info = const_cast<TClassInfo*>(registry.Find("TVeskDBTreeView"));
    if (info && info->Live())
        return *info;
    if (!info) {
        info = &registry.Register("TVeskDBTreeView", "TCustomTreeView")
                    .Add(ClassProp("DataSource", "TDataSource"))
                    .Add(StrProp("DataFieldID"))
                    .Add(StrProp("DataFieldOwnerID"))
                    .Add(StrProp("DataFieldImageIndex"))
                    .Add(StrProp("DataFieldText"))
                    .Add(EventProp("OnFillNode", "TNodeEvent"));
        AddTreeViewProperties(*info);
    }
    using V = const TValue&;
    using S = const TLiveScope*;
    using W = TVeskDBTreeView;
    auto b = MakeWidgetClass<W>();
    b->Bind("DataSource", nullptr, [](W& w, V v, S scope) {
        w.Tree().SetDataSource(ReferencedObject<TDataSource>(v, scope));
    });
    const char* fields[] = {"DataFieldID", "DataFieldOwnerID", "DataFieldText",
                            "DataFieldImageIndex"};
    for (int index = 0; index < 4; ++index)
        b->Bind(
            fields[index],
            [index](const W& w) { return TValue::String(w.Tree().DataField(index)); },
            [index](W& w, V v, S) { w.Tree().SetDataField(index, StringValue(v)); });
    auto flag = [&](const char* name, bool (TCustomTreeView::*get)() const,
                    void (TCustomTreeView::*set)(bool)) {
        b->Bind(
            name, [get](const W& w) { return BooleanToValue((w.Tree().*get)()); },
            [set](W& w, V v, S) { (w.Tree().*set)(BooleanValue(v)); });
    };
    flag("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons);
    flag("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines);
    flag("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot);
    flag("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly);
    flag("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection);
    BindFont(*b);
    b->Bind(
        "Color", [](const W& w) { return ColorToValue(w.Color()); },
        [](W& w, V v, S) { w.SetColor(ColorValue(v)); });
    b->Bind(
        "Indent", [](const W& w) { return TValue::Integer(w.Tree().Indent()); },
        [](W& w, V v, S) { w.Tree().SetIndent(static_cast<int>(IntegerValue(v))); });
    static const TPropInfo* border = info->FindProp("BorderStyle");
    static const TPropInfo* sort = info->FindProp("SortType");
    b->Bind(
        "BorderStyle", [](const W& w) { return EnumToValue(*border, w.Tree().BorderStyle()); },
        [](W& w, V v, S) { w.Tree().SetBorderStyle(TBorderStyle(OrdinalOf(*border, v))); });
    b->Bind(
        "SortType", [](const W& w) { return EnumToValue(*sort, w.Tree().SortType()); },
        [](W& w, V v, S) { w.Tree().SetSortType(TSortType(OrdinalOf(*sort, v))); });
    b->Bind("Images", nullptr,
            [](W& w, V v, S scope) { w.SetImages(ReferencedObject<TImageList>(v, scope)); });
    b->Bind("StateImages", nullptr,
            [](W& w, V v, S scope) { w.SetStateImages(ReferencedObject<TImageList>(v, scope)); });
    info->SetLive(b);
    return *info;
}

namespace VeskDBTree {

void Register() {
    const TClassInfo* view = &VeskDBTreeViewClass();
    RegisterComponents("Vesk", {view});
    for (const char* name :
         {"DataFieldID", "DataFieldOwnerID", "DataFieldText", "DataFieldImageIndex"})
        RegisterPropertyEditor("string", view, name,
                               EditorClassOf<TDataFieldProperty>("TDataFieldProperty"));
}

} // namespace VeskDBTree

} // namespace vesk
