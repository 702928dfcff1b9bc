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
    return FChildren[index];
}

TTreeNode* TTreeNode::GetFirstChild() const {
    return FChildren.empty() ? nullptr : FChildren.front();
}

TTreeNode* TTreeNode::GetLastChild() const {
    return FChildren.empty() ? nullptr : FChildren.back();
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

bool TTreeNode::Selected() const {
    return FOwner && FOwner->Owner()->Selected() == this;
}

// ---- TTreeNodes

TTreeNodes::~TTreeNodes() {
    FreeSubtrees(std::move(FRoots));
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

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string text) {
    if (parent && (parent->FOwner != this || parent->FLevel < 0))
        throw EArgumentError("AddChild: the parent is not a node of this tree");
    std::unique_ptr<TTreeNode> made = FOwner->CreateNode();
    TTreeNode* node = made.get();
    node->FOwner = this;
    node->SetText(std::move(text));
    const bool atEnd = FOrderValid && IsAtEnd(parent);
    if (parent)
        parent->FChildren.push_back(node);
    else
        FRoots.push_back(node);
    made.release(); // owned by the tree from here on
    node->FParent = parent;
    node->FLevel = parent ? parent->FLevel + 1 : 0;
    ++FCount;
    if (atEnd) {
        node->FAbsoluteIndex = static_cast<int>(FOrder.size());
        FOrder.push_back(node);
    } else {
        FOrderValid = false;
    }
    Changed();
    return node;
}

void TTreeNodes::FreeSubtrees(std::vector<TTreeNode*> roots) {
    // Iterative, so that a deep chain of nodes cannot exhaust the stack.
    std::vector<TTreeNode*> pending = std::move(roots);
    while (!pending.empty()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), node->FChildren.begin(), node->FChildren.end());
        FOwner->NodeRemoved(node);
        --FCount;
        delete node;
    }
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->FOwner != this || node->FLevel < 0)
        return;
    std::vector<TTreeNode*>& siblings = node->FParent ? node->FParent->FChildren : FRoots;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    FOrderValid = false;
    FreeSubtrees({node});
    Changed();
}

void TTreeNodes::Clear() {
    if (FRoots.empty())
        return;
    FOrder.clear();
    FOrderValid = true;
    FreeSubtrees(std::move(FRoots));
    FRoots.clear();
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
    std::vector<TTreeNode*> stack(FRoots.rbegin(), FRoots.rend());
    while (!stack.empty()) {
        TTreeNode* node = stack.back();
        stack.pop_back();
        node->FAbsoluteIndex = static_cast<int>(FOrder.size());
        FOrder.push_back(node);
        stack.insert(stack.end(), node->FChildren.rbegin(), node->FChildren.rend());
    }
    FOrderValid = true;
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        FOwner->ItemsChanged();
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
    if (OnChange)
        OnChange(this, node);
}

void TCustomTreeView::NodeRemoved(TTreeNode* node) {
    if (node != FSelected)
        return;
    FSelected = nullptr;
    if (OnChange)
        OnChange(this, nullptr);
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
        TTreeNode* node = FItems.AddChild(path.empty() ? nullptr : path.back(), saved.Text);
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
