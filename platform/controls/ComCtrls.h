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
    // A node of the tree tells its view, so that the window shows the change.
    void SetText(const std::string& value) {
        FText = value;
        Changed();
    }
    void SetText(std::string&& value) {
        FText = std::move(value);
        Changed();
    }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) {
        FImageIndex = value;
        Changed();
    }
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value) {
        FSelectedIndex = value;
        Changed();
    }
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    bool Expanded() const { return FExpanded; }
    // Expanding a node of the tree asks the view first (OnExpanding) and lets it load
    // children it holds back; the view's window follows.
    void SetExpanded(bool value);
    // Shows the node as having children before any is placed (they come on expanding).
    void SetHasChildren(bool value) { FChildrenPending = value; }
    // The position among its siblings, counted from 0; -1 for a node not in the tree.
    int Index() const { return FLevel < 0 ? -1 : FIndex; }

    TTreeNode* Parent() const { return FParent; }
    // 0 for a root; -1 for a node that is not in the tree.
    int Level() const { return FLevel; }
    int Count() const { return FChildCount; }
    // The child at Index, counted from the first (a walk along the siblings).
    TTreeNode* Item(int index) const;
    bool HasChildren() const { return FFirstChild != nullptr || FChildrenPending; }
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
    void Changed() {
        if (FLevel >= 0)
            NodeChanged();
    }
    void NodeChanged();
    TTreeNodes* FOwner;
    std::string FText;
    int FImageIndex = 0;
    int FSelectedIndex = 0;
    void* FData = nullptr;
    bool FExpanded = false;
    bool FChildrenPending = false;
    TTreeNode* FParent = nullptr;
    int FIndex = -1;
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

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    // Before a change outside an update bracket, and when the outermost bracket opens.
    void Changing();
    void Changed();
    // The absolute order, rebuilt when an insertion in the middle or a deletion made
    // it stale; appending at the end (what a depth-first fill does) keeps it valid.
    void EnsureOrder() const;
    bool IsAtEnd(const TTreeNode* parent) const;
    void FreeSubtree(TTreeNode* node);
    // Relinks every node's children in the order Before gives (a stable sort).
    void SortChildren(const std::function<bool(TTreeNode*, TTreeNode*)>& before);
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
// A handler that may refuse the change by setting Allow to false.
using TTVAllowEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allow)>;
// Compare < 0 when Node1 goes before Node2 (the handler sets it; 0 before the call).
using TTVCompareEvent =
    std::function<void(TObject* sender, TTreeNode* node1, TTreeNode* node2, int& compare)>;
// The text the user typed for a node; the handler may change it.
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::string& text)>;

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TSortType : std::uint8_t { stNone, stData, stText, stBoth };

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
    TTVAllowEvent OnChanging;
    TTVAllowEvent OnExpanding;
    TNodeEvent OnExpanded;
    TTVAllowEvent OnCollapsing;
    TNodeEvent OnCollapsed;
    TTVAllowEvent OnEditing;
    TTVEditedEvent OnEdited;
    // Used by SortType stData and stBoth.
    TTVCompareEvent OnCompare;
    TNodeEvent OnDeletion;

    // The host tree view's published look; the window shows it.
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value) { SetLook(FShowButtons, value); }
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool value) { SetLook(FShowLines, value); }
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool value) { SetLook(FShowRoot, value); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { SetLook(FReadOnly, value); }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value) { SetLook(FHideSelection, value); }
    int Indent() const { return FIndent; }
    void SetIndent(int value) { SetLook(FIndent, value); }
    TSortType SortType() const { return FSortType; }
    // stText orders every node's children by their text (without regard to case),
    // stData by OnCompare, stBoth by OnCompare and then by text. The order is kept
    // as nodes are added (at the end of each update bracket); stNone keeps the order
    // they were added in.
    void SetSortType(TSortType value);
    // Orders the nodes now by the sort type; false when there is nothing to sort by.
    bool SortNodes();
    // Changing the border re-creates the window (DestroyWnd, CreateWnd).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    void RecreateWnd();

    // The user's side, from the window: each asks the handlers first and returns
    // whether the change happened.
    bool UserSelect(TTreeNode* node);
    bool UserExpand(TTreeNode* node, bool expand);
    // Whether OnEditing lets the user edit the node's text.
    bool CanEdit(TTreeNode* node);
    // The user typed Text for the node: OnEdited may change it, then the node takes it.
    void UserEdited(TTreeNode* node, std::string text);

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
    // The items are about to change (outside an update bracket, or as the outermost
    // bracket opens), and they changed (the bracket closed): the window re-reads them.
    virtual void ItemsChanging() {}
    virtual void ItemsChanged() {}
    // A node of the tree was expanded or collapsed, the selection moved, a look
    // property changed; outside an update bracket the window follows at once.
    virtual void NodeExpandedChanged(TTreeNode* /*node*/) {}
    // One node added or deleted outside an update bracket: before and after. By
    // default the items as a whole are about to change.
    virtual void NodeAdding(TTreeNode* /*parent*/, int /*index*/) { ItemsChanging(); }
    virtual void NodeAdded(TTreeNode* /*node*/) {}
    virtual void NodeDeleting(TTreeNode* /*node*/) { ItemsChanging(); }
    virtual void NodeDeleted() {}
    // A node's text or images changed outside an update bracket.
    virtual void NodeChanged(TTreeNode* /*node*/) {}
    virtual void SelectionChanged() {}
    virtual void LookChanged() {}
    // Expanding Node: a view that holds children back places them now.
    virtual void LoadChildren(TTreeNode* /*node*/) {}

private:
    friend class TTreeNodes;
    friend class TTreeNode;
    void NodeRemoved(TTreeNode* node);

    struct TSavedNode {
        std::string Text;
        int ImageIndex, SelectedIndex, Level;
        void* Data;
        bool Expanded;
    };

    template <typename T>
    void SetLook(T& field, T value) {
        if (field == value)
            return;
        field = value;
        LookChanged();
    }

    TTreeNodes FItems{*this};
    TTreeNode* FSelected = nullptr;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    bool FReadOnly = false;
    bool FHideSelection = true;
    int FIndent = 19;
    TSortType FSortType = stNone;
    TBorderStyle FBorderStyle = bsSingle;
    TComponentState FComponentState;
    bool FHasParent = false;
    bool FHandleAllocated = true;
    std::vector<TSavedNode> FSavedNodes;
};

} // namespace vesk
