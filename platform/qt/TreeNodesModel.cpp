#include "platform/qt/TreeNodesModel.h"

namespace vesk {

namespace {

// Below this many children, walking the siblings costs less than keeping rows.
constexpr int WalkLimit = 16;

} // namespace

TTreeNodesModel::TTreeNodesModel(TCustomTreeView& view, QObject* parent)
    : QAbstractItemModel(parent), FView(view) {}

QModelIndex TTreeNodesModel::IndexOf(const TTreeNode* node) const {
    if (!node || node->Level() < 0 || FResetting)
        return {};
    return createIndex(node->Index(), 0, const_cast<TTreeNode*>(node));
}

void TTreeNodesModel::BeginReset() {
    if (FResetting || FFetching)
        return;
    FResetting = true;
    beginResetModel();
}

void TTreeNodesModel::EndReset() {
    if (!FResetting || FFetching)
        return;
    FRows.clear();
    FResetting = false;
    endResetModel();
}

void TTreeNodesModel::NodeChanged(const TTreeNode* node) {
    const QModelIndex at = IndexOf(node);
    if (at.isValid())
        emit dataChanged(at, at);
}

void TTreeNodesModel::BeginInsert(const TTreeNode* parent, int index) {
    if (FFetching)
        return;
    FRows.erase(parent);
    beginInsertRows(IndexOf(parent), index, index);
}

void TTreeNodesModel::EndInsert() {
    if (FFetching)
        return;
    endInsertRows();
}

void TTreeNodesModel::BeginRemove(const TTreeNode* node) {
    FRows.erase(node->Parent());
    FRemoving = true;
    beginRemoveRows(IndexOf(node->Parent()), node->Index(), node->Index());
}

void TTreeNodesModel::EndRemove() {
    // Rows of the removed subtree are gone with it.
    FRows.clear();
    FRemoving = false;
    endRemoveRows();
}

TTreeNode* TTreeNodesModel::Child(const TTreeNode* parent, int row) const {
    if (!parent)
        return row < FView.Items().RootCount() ? FView.Items().Root(row) : nullptr;
    if (row >= parent->Count())
        return nullptr;
    if (row < WalkLimit) {
        TTreeNode* child = parent->GetFirstChild();
        for (int i = 0; i < row; ++i)
            child = child->GetNextSibling();
        return child;
    }
    std::vector<TTreeNode*>& rows = FRows[parent];
    if (static_cast<int>(rows.size()) != parent->Count()) {
        rows.clear();
        rows.reserve(parent->Count());
        for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
            rows.push_back(child);
    }
    return rows[row];
}

QModelIndex TTreeNodesModel::index(int row, int column, const QModelIndex& parent) const {
    if (FResetting || row < 0 || column != 0)
        return {};
    TTreeNode* node = Child(NodeAt(parent), row);
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex TTreeNodesModel::parent(const QModelIndex& child) const {
    if (FResetting || !child.isValid())
        return {};
    return IndexOf(NodeAt(child)->Parent());
}

int TTreeNodesModel::rowCount(const QModelIndex& parent) const {
    if (FResetting || parent.column() > 0)
        return 0;
    const TTreeNode* node = NodeAt(parent);
    return node ? node->Count() : FView.Items().RootCount();
}

int TTreeNodesModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TTreeNodesModel::hasChildren(const QModelIndex& parent) const {
    if (FResetting)
        return false;
    const TTreeNode* node = NodeAt(parent);
    return node ? node->HasChildren() : FView.Items().RootCount() > 0;
}

QVariant TTreeNodesModel::data(const QModelIndex& index, int role) const {
    if (FResetting || !index.isValid())
        return {};
    const TTreeNode& node = *NodeAt(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(node.Text());
    case Qt::DecorationRole:
        if (FIconOf) {
            const QIcon icon = FIconOf(node, node.Selected());
            if (!icon.isNull())
                return icon;
        }
        return {};
    default:
        return {};
    }
}

bool TTreeNodesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (FResetting || !index.isValid() || role != Qt::EditRole)
        return false;
    TTreeNode* node = NodeAt(index);
    FView.UserEdited(node, value.toString().toStdString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TTreeNodesModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!FView.ReadOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TTreeNodesModel::canFetchMore(const QModelIndex& parent) const {
    const TTreeNode* node = NodeAt(parent);
    return !FResetting && !FFetching && node && FPending && node->Count() == 0 &&
           FPending(*node) > 0;
}

void TTreeNodesModel::fetchMore(const QModelIndex& parent) {
    TTreeNode* node = NodeAt(parent);
    if (!canFetchMore(parent) || !FLoad)
        return;
    // The loading brackets its own changes: they are these rows, not a reset. Set
    // first: whoever follows the insertion may ask to fetch again.
    FFetching = true;
    beginInsertRows(parent, 0, FPending(*node) - 1);
    try {
        FLoad(*node);
    } catch (...) {
        FFetching = false;
        FRows.erase(node);
        endInsertRows();
        throw;
    }
    FFetching = false;
    FRows.erase(node);
    endInsertRows();
}

} // namespace vesk
