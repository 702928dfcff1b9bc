// The tree view's nodes (TTreeNodes) as a Qt item model: an adapter that reads the
// nodes where they are, one column, each index pointing at its node. The view's
// logic brackets its changes (ItemsChanging / ItemsChanged) and the model resets
// around them; children loaded on expanding are inserted as rows.
#pragma once

#include "platform/controls/ComCtrls.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>

namespace vesk {

class TTreeNodesModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // The icon of a node (selected: the selected image), or a null icon.
    using TIconOf = std::function<QIcon(const TTreeNode& node, bool selected)>;
    // Children held back for Node (shown as expandable), and loading them.
    using TPendingOf = std::function<int(const TTreeNode& node)>;
    using TLoadChildren = std::function<void(TTreeNode& node)>;

    explicit TTreeNodesModel(TCustomTreeView& view, QObject* parent = nullptr);

    void SetIconOf(TIconOf iconOf) { FIconOf = std::move(iconOf); }
    void SetPendingChildren(TPendingOf pending, TLoadChildren load) {
        FPending = std::move(pending);
        FLoad = std::move(load);
    }

    // The index of a node of the tree; invalid for none.
    QModelIndex IndexOf(const TTreeNode* node) const;
    static TTreeNode* NodeAt(const QModelIndex& index) {
        return static_cast<TTreeNode*>(index.internalPointer());
    }

    // Around a change of the nodes that the model cannot follow row by row.
    void BeginReset();
    void EndReset();
    bool Resetting() const { return FResetting; }
    // Inside fetchMore: the changes the loading makes are the rows being inserted.
    bool Fetching() const { return FFetching; }
    // The node's text or image changed.
    void NodeChanged(const TTreeNode* node);
    // One node added at Index of Parent (none: a root), or one removed with its
    // subtree, while the rest of the nodes stay as they are.
    void BeginInsert(const TTreeNode* parent, int index);
    void EndInsert();
    void BeginRemove(const TTreeNode* node);
    void EndRemove();
    bool Removing() const { return FRemoving; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    TTreeNode* Child(const TTreeNode* parent, int row) const;

    TCustomTreeView& FView;
    TIconOf FIconOf;
    TPendingOf FPending;
    TLoadChildren FLoad;
    bool FResetting = false;
    bool FRemoving = false;
    bool FFetching = false; // fetchMore is loading children
    // Each parent's children by row, made when first asked for (a node's children
    // are a linked list); cleared whenever the rows change.
    mutable std::unordered_map<const TTreeNode*, std::vector<TTreeNode*>> FRows;
};

} // namespace vesk
