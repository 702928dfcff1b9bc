// The tree view's model without a toolkit: nodes with their attributes, the node
// collection with its update bracket and absolute (pre-order) indexing, and the
// view's selection, change event and window re-creation. A widget draws this model
// and forwards the user's actions to it.
#pragma once

#include "platform/rtl/Classes.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

class TTreeNodes;
class TCustomTreeView;

class TTreeNode : public TObject {
public:
    // A node of Owner's tree; it takes its place there only through Owner's AddChild.
    explicit TTreeNode(TTreeNodes* owner);
    ~TTreeNode() override;
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TTreeNodes* Owner() const { return FOwner; }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value) { FText = value; }
    void SetText(std::string&& value) { FText = std::move(value); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value) { FSelectedIndex = value; }
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool value) { FExpanded = value; }

    TTreeNode* Parent() const { return FParent; }
    // 0 for a root; -1 for a node that is not in the tree.
    int Level() const { return FLevel; }
    int Count() const { return FChildCount; }
    // The child at Index, counted from the first (a walk along the siblings).
    TTreeNode* Item(int index) const;
    bool HasChildren() const { return FFirstChild != nullptr; }
    TTreeNode* GetFirstChild() const { return FFirstChild; }
    TTreeNode* GetLastChild() const { return FLastChild; }
    TTreeNode* GetNextSibling() const { return FNextSibling; }
    TTreeNode* GetPrevSibling() const { return FPrevSibling; }
    // The next node in absolute order, or none.
    TTreeNode* GetNext() const;
    // Position in the whole tree read top to bottom with every node expanded; -1 for
    // a node that is not in the tree.
    int AbsoluteIndex() const;
    bool Selected() const;

private:
    friend class TTreeNodes;
    TTreeNodes* FOwner;
    std::string FText;
    int FImageIndex = 0;
    int FSelectedIndex = 0;
    void* FData = nullptr;
    bool FExpanded = false;
    TTreeNode* FParent = nullptr;
    int FLevel = -1;
    int FAbsoluteIndex = -1; // valid while the owner's order is
    // Children as a linked list: adding one allocates nothing.
    TTreeNode* FFirstChild = nullptr;
    TTreeNode* FLastChild = nullptr;
    TTreeNode* FPrevSibling = nullptr;
    TTreeNode* FNextSibling = nullptr;
    int FChildCount = 0;
};

// The nodes of one tree view; owns every node placed in the tree.
class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView& owner) : FOwner(&owner) {}
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TCustomTreeView* Owner() const { return FOwner; }
    // Appends a node made by the view's CreateNode as the last child of Parent, or as
    // the last root when Parent is none; returns it.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChild(TTreeNode* parent, std::string&& text);
    // Removes Node and everything below it.
    void Delete(TTreeNode* node);
    void Clear();
    int Count() const { return FCount; }
    // The node at an absolute index; raises EListError outside 0 .. Count-1.
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    int RootCount() const { return static_cast<int>(FRoots.size()); }
    TTreeNode* Root(int index) const;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

private:
    friend class TTreeNode;
    void Changed();
    // The absolute order, rebuilt when an insertion in the middle or a deletion made
    // it stale; appending at the end (what a depth-first fill does) keeps it valid.
    void EnsureOrder() const;
    bool IsAtEnd(const TTreeNode* parent) const;
    void FreeSubtree(TTreeNode* node);
    // A node from the view's CreateNode, with its text given by SetText.
    template <typename SetText>
    TTreeNode* AddNewChild(TTreeNode* parent, SetText&& setText);

    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    int FCount = 0;
    int FUpdateCount = 0;
    mutable std::vector<TTreeNode*> FOrder;
    mutable bool FOrderValid = true;
};

enum TComponentStateItem { csLoading, csDesigning, csDestroying };
using TComponentState = std::bitset<3>;

// Sender and the node concerned.
using TNodeEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVChangedEvent = TNodeEvent;

// What the host's tree view control does beyond drawing: its items, the selected
// node and the change event, the node factory, and keeping its items across a
// re-creation of its window.
class TCustomTreeView : public TObject {
public:
    TCustomTreeView();
    ~TCustomTreeView() override;

    TTreeNodes& Items() { return FItems; }
    const TTreeNodes& Items() const { return FItems; }
    TTreeNode* Selected() const { return FSelected; }
    // Selects Node (none clears the selection); raises OnChange when it changes.
    void SetSelected(TTreeNode* node);
    TTVChangedEvent OnChange;

    // The node factory AddChild uses; every node of the view comes from here.
    virtual std::unique_ptr<TTreeNode> CreateNode();

    const TComponentState& ComponentState() const { return FComponentState; }
    // Loading from a form file: BeginLoading, set the properties, Loaded.
    void BeginLoading() { FComponentState.set(csLoading); }
    virtual void Loaded() { FComponentState.reset(csLoading); }

    bool HasParent() const { return FHasParent; }
    void SetHasParent(bool value) { FHasParent = value; }
    // Around a re-creation of the window: the host keeps the nodes' texts, images,
    // data and shape (not the nodes themselves) and makes plain nodes again.
    virtual void DestroyWnd();
    virtual void CreateWnd();
    bool HandleAllocated() const { return FHandleAllocated; }

protected:
    // The items changed outside an update bracket, or the bracket closed: repaint.
    virtual void ItemsChanged() {}

private:
    friend class TTreeNodes;
    void NodeRemoved(TTreeNode* node);

    struct TSavedNode {
        std::string Text;
        int ImageIndex, SelectedIndex, Level;
        void* Data;
        bool Expanded;
    };

    TTreeNodes FItems{*this};
    TTreeNode* FSelected = nullptr;
    TComponentState FComponentState;
    bool FHasParent = false;
    bool FHandleAllocated = true;
    std::vector<TSavedNode> FSavedNodes;
};

} // namespace vesk
