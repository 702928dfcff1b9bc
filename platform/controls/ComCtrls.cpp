#include "platform/controls/ComCtrls.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace vesk {

// ---- TTreeNode

TTreeNode::TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

TTreeNode::~TTreeNode() = default;

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    TTreeNode* child = FFirstChild;
    while (index-- > 0)
        child = child->FNextSibling;
    return child;
}

TTreeNode* TTreeNode::GetNext() const {
    const int index = AbsoluteIndex();
    if (index < 0 || index + 1 >= FOwner->Count())
        return nullptr;
    return FOwner->Item(index + 1);
}

int TTreeNode::AbsoluteIndex() const {
    if (FLevel < 0)
        return -1;
    FOwner->EnsureOrder();
    return FAbsoluteIndex;
}

void TTreeNode::SetExpanded(bool value) {
    if (value == FExpanded)
        return;
    TCustomTreeView* view = FLevel >= 0 && FOwner ? FOwner->Owner() : nullptr;
    if (value && view && FChildrenPending)
        view->LoadChildren(this);
    FExpanded = value;
    if (view)
        view->NodeExpandedChanged(this);
}

void TTreeNode::NodeChanged() {
    if (FOwner && !FOwner->Updating())
        FOwner->Owner()->NodeChanged(this);
}

bool TTreeNode::Selected() const {
    return FOwner && FOwner->Owner()->Selected() == this;
}

// ---- TTreeNodes

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* root : FRoots)
        FreeSubtree(root);
}

TTreeNode* TTreeNodes::Root(int index) const {
    if (index < 0 || index >= RootCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FRoots[index];
}

bool TTreeNodes::IsAtEnd(const TTreeNode* parent) const {
    // A new last child of Parent ends the absolute order when the current last node
    // is Parent or lies below it; a new root always does.
    if (!parent)
        return true;
    if (FOrder.empty())
        return false;
    const TTreeNode* last = FOrder.back();
    while (last && last->FLevel > parent->FLevel)
        last = last->FParent;
    return last == parent;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    return AddNewChild(parent, [&](TTreeNode& node) { node.SetText(text); });
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string&& text) {
    return AddNewChild(parent, [&](TTreeNode& node) { node.SetText(std::move(text)); });
}

template <typename SetText>
TTreeNode* TTreeNodes::AddNewChild(TTreeNode* parent, SetText&& setText) {
    if (parent && (parent->FOwner != this || parent->FLevel < 0))
        throw EArgumentError("AddChild: the parent is not a node of this tree");
    std::unique_ptr<TTreeNode> made = FOwner->CreateNode();
    TTreeNode* node = made.get();
    node->FOwner = this;
    setText(*node);
    node->FIndex = parent ? parent->FChildCount : static_cast<int>(FRoots.size());
    // A sorted view places the node by its sort: a change of the whole order.
    const bool sorted = FOwner->SortType() != stNone;
    if (FUpdateCount == 0)
        sorted ? FOwner->ItemsChanging() : FOwner->NodeAdding(parent, node->FIndex);
    const bool atEnd = FOrderValid && IsAtEnd(parent);
    TTreeNode* previous = parent ? parent->FLastChild : (FRoots.empty() ? nullptr : FRoots.back());
    if (!parent)
        FRoots.push_back(node);
    made.release(); // owned by the tree from here on
    node->FPrevSibling = previous;
    if (previous)
        previous->FNextSibling = node;
    if (parent) {
        if (!parent->FFirstChild)
            parent->FFirstChild = node;
        parent->FLastChild = node;
        ++parent->FChildCount;
    }
    node->FParent = parent;
    node->FLevel = parent ? parent->FLevel + 1 : 0;
    ++FCount;
    if (atEnd) {
        node->FAbsoluteIndex = static_cast<int>(FOrder.size());
        FOrder.push_back(node);
    } else {
        FOrderValid = false;
    }
    if (FUpdateCount == 0 && sorted)
        FOwner->SortNodes();
    else if (FUpdateCount == 0)
        FOwner->NodeAdded(node);
    Changed();
    return node;
}

void TTreeNodes::FreeSubtree(TTreeNode* top) {
    // Iterative, so that a deep chain of nodes cannot exhaust the stack: free the
    // leaves first; a parent whose children are gone becomes a leaf in turn.
    TTreeNode* node = top;
    while (node) {
        while (node->FFirstChild)
            node = node->FFirstChild;
        TTreeNode* next = nullptr;
        if (node != top) {
            node->FParent->FFirstChild = node->FNextSibling;
            next = node->FNextSibling ? node->FNextSibling : node->FParent;
        }
        FOwner->NodeRemoved(node);
        --FCount;
        delete node;
        node = next;
    }
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->FOwner != this || node->FLevel < 0)
        return;
    if (FUpdateCount == 0)
        FOwner->NodeDeleting(node);
    for (TTreeNode* after = node->FNextSibling; after; after = after->FNextSibling)
        --after->FIndex;
    TTreeNode* parent = node->FParent;
    if (node->FPrevSibling)
        node->FPrevSibling->FNextSibling = node->FNextSibling;
    if (node->FNextSibling)
        node->FNextSibling->FPrevSibling = node->FPrevSibling;
    if (parent) {
        if (parent->FFirstChild == node)
            parent->FFirstChild = node->FNextSibling;
        if (parent->FLastChild == node)
            parent->FLastChild = node->FPrevSibling;
        --parent->FChildCount;
    } else {
        FRoots.erase(std::find(FRoots.begin(), FRoots.end(), node));
    }
    FOrderValid = false;
    FreeSubtree(node);
    if (FUpdateCount == 0)
        FOwner->NodeDeleted();
    Changed();
}

void TTreeNodes::Clear() {
    if (FRoots.empty())
        return;
    Changing();
    FOrder.clear();
    FOrderValid = true;
    std::vector<TTreeNode*> roots = std::move(FRoots);
    FRoots.clear();
    for (TTreeNode* root : roots)
        FreeSubtree(root);
    FCount = 0;
    Changed();
}

TTreeNode* TTreeNodes::Item(int index) const {
    if (index < 0 || index >= FCount)
        throw EListError("Tree node index out of bounds (" + IntToStr(index) + ")");
    EnsureOrder();
    return FOrder[index];
}

void TTreeNodes::EnsureOrder() const {
    if (FOrderValid)
        return;
    FOrder.clear();
    FOrder.reserve(FCount);
    // Pre-order along the links: down to the first child, else on to the next
    // sibling of the node or of its nearest ancestor that has one.
    TTreeNode* node = FRoots.empty() ? nullptr : FRoots.front();
    while (node) {
        node->FAbsoluteIndex = static_cast<int>(FOrder.size());
        FOrder.push_back(node);
        if (node->FFirstChild) {
            node = node->FFirstChild;
            continue;
        }
        while (node && !node->FNextSibling)
            node = node->FParent;
        if (node)
            node = node->FNextSibling;
    }
    FOrderValid = true;
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (FUpdateCount == 1)
        FOwner->SortNodes(); // still inside the bracket: one change for the window
    if (--FUpdateCount == 0)
        FOwner->ItemsChanged();
}

void TTreeNodes::SortChildren(const std::function<bool(TTreeNode*, TTreeNode*)>& before) {
    auto relink = [&](std::vector<TTreeNode*>& children, TTreeNode* parent) {
        std::stable_sort(children.begin(), children.end(), before);
        TTreeNode* previous = nullptr;
        for (std::size_t i = 0; i < children.size(); ++i) {
            TTreeNode* child = children[i];
            child->FIndex = static_cast<int>(i);
            child->FPrevSibling = previous;
            child->FNextSibling = nullptr;
            if (previous)
                previous->FNextSibling = child;
            previous = child;
        }
        if (parent) {
            parent->FFirstChild = children.empty() ? nullptr : children.front();
            parent->FLastChild = previous;
        }
    };
    relink(FRoots, nullptr);
    std::vector<TTreeNode*> children;
    // Every parent once, in any order: walk the nodes along the new links.
    std::vector<TTreeNode*> parents(FRoots.begin(), FRoots.end());
    while (!parents.empty()) {
        TTreeNode* parent = parents.back();
        parents.pop_back();
        if (parent->FChildCount == 0)
            continue;
        children.clear();
        for (TTreeNode* child = parent->FFirstChild; child; child = child->FNextSibling)
            children.push_back(child);
        relink(children, parent);
        parents.insert(parents.end(), children.begin(), children.end());
    }
    FOrderValid = false;
}

void TTreeNodes::BeginUpdate() {
    if (FUpdateCount++ == 0)
        FOwner->ItemsChanging();
}

void TTreeNodes::Changing() {
    if (FUpdateCount == 0)
        FOwner->ItemsChanging();
}

void TTreeNodes::Changed() {
    if (FUpdateCount == 0)
        FOwner->ItemsChanged();
}

// ---- TCustomTreeView

TCustomTreeView::TCustomTreeView() = default;

TCustomTreeView::~TCustomTreeView() {
    // The nodes go without telling anyone: the view is half gone.
    FSelected = nullptr;
    OnChange = nullptr;
    OnDeletion = nullptr;
    FItems.Clear();
}

std::unique_ptr<TTreeNode> TCustomTreeView::CreateNode() {
    return std::make_unique<TTreeNode>(&FItems);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
    if (node && (node->Owner() != &FItems || node->Level() < 0))
        throw EArgumentError("Selected: the node is not a node of this tree");
    if (node == FSelected)
        return;
    FSelected = node;
    SelectionChanged();
    if (OnChange)
        OnChange(this, node);
}

void TCustomTreeView::NodeRemoved(TTreeNode* node) {
    if (OnDeletion)
        OnDeletion(this, node);
    if (node != FSelected)
        return;
    FSelected = nullptr;
    SelectionChanged();
    if (OnChange)
        OnChange(this, nullptr);
}

void TCustomTreeView::SetSortType(TSortType value) {
    if (value == FSortType)
        return;
    FSortType = value;
    LookChanged();
    if (FItems.Updating() || FItems.Count() == 0)
        return; // sorted as the bracket ends
    ItemsChanging();
    SortNodes();
    ItemsChanged();
}

bool TCustomTreeView::SortNodes() {
    const bool byData = (FSortType == stData || FSortType == stBoth) && OnCompare;
    const bool byText = FSortType == stText || FSortType == stBoth;
    if (!byData && !byText)
        return false;
    FItems.SortChildren([&](TTreeNode* a, TTreeNode* b) {
        int compare = 0;
        if (byData)
            OnCompare(this, a, b, compare);
        if (compare == 0 && byText)
            compare = CompareText(a->Text(), b->Text());
        return compare < 0;
    });
    return true;
}

void TCustomTreeView::SetBorderStyle(TBorderStyle value) {
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomTreeView::RecreateWnd() {
    if (!FHandleAllocated)
        return;
    DestroyWnd();
    CreateWnd();
}

bool TCustomTreeView::UserSelect(TTreeNode* node) {
    if (node == FSelected)
        return true;
    bool allow = true;
    if (OnChanging && node)
        OnChanging(this, node, allow);
    if (allow)
        SetSelected(node);
    return allow;
}

bool TCustomTreeView::UserExpand(TTreeNode* node, bool expand) {
    if (!node || node->Expanded() == expand)
        return true;
    bool allow = true;
    const TTVAllowEvent& asking = expand ? OnExpanding : OnCollapsing;
    if (asking)
        asking(this, node, allow);
    if (!allow)
        return false;
    node->SetExpanded(expand);
    const TNodeEvent& done = expand ? OnExpanded : OnCollapsed;
    if (done)
        done(this, node);
    return true;
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
    if (FReadOnly || !node)
        return false;
    bool allow = true;
    if (OnEditing)
        OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeView::UserEdited(TTreeNode* node, std::string text) {
    if (OnEdited)
        OnEdited(this, node, text);
    node->SetText(std::move(text));
}

void TCustomTreeView::DestroyWnd() {
    if (!FHandleAllocated)
        return;
    FSavedNodes.clear();
    FSavedNodes.reserve(FItems.Count());
    for (int i = 0; i < FItems.Count(); ++i) {
        const TTreeNode* node = FItems.Item(i);
        FSavedNodes.push_back({node->Text(), node->ImageIndex(), node->SelectedIndex(),
                               node->Level(), node->Data(), node->Expanded()});
    }
    FItems.Clear();
    FHandleAllocated = false;
}

void TCustomTreeView::CreateWnd() {
    if (FHandleAllocated)
        return;
    FHandleAllocated = true;
    // The saved nodes in absolute order: each one's parent is the latest node one
    // level up.
    std::vector<TTreeNode*> path;
    FItems.BeginUpdate();
    for (TSavedNode& saved : FSavedNodes) {
        path.resize(saved.Level);
        TTreeNode* node =
            FItems.AddChild(path.empty() ? nullptr : path.back(), std::move(saved.Text));
        node->SetImageIndex(saved.ImageIndex);
        node->SetSelectedIndex(saved.SelectedIndex);
        node->SetData(saved.Data);
        node->SetExpanded(saved.Expanded);
        path.push_back(node);
    }
    FSavedNodes.clear();
    FItems.EndUpdate();
}

} // namespace vesk
