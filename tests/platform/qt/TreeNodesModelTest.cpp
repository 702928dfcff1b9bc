// The item model over a tree view's nodes, checked by Qt's own model tester while
// the nodes change in every way the view changes them.
#include "platform/qt/TreeNodesModel.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace vesk {
namespace {

// A view whose window is the model: the hooks drive its resets and row changes.
class TModelledView : public TCustomTreeView {
public:
    TModelledView() : Model(*this) {}
    TTreeNodesModel Model;

protected:
    void ItemsChanging() override { Model.BeginReset(); }
    void ItemsChanged() override { Model.EndReset(); }
    void NodeAdding(TTreeNode* parent, int index) override {
        if (!Model.Resetting())
            Model.BeginInsert(parent, index);
    }
    void NodeAdded(TTreeNode*) override {
        if (!Model.Resetting())
            Model.EndInsert();
    }
    void NodeDeleting(TTreeNode* node) override {
        if (!Model.Resetting())
            Model.BeginRemove(node);
    }
    void NodeDeleted() override {
        if (Model.Removing())
            Model.EndRemove();
    }
};

TEST(TreeNodesModel, StaysConsistentAsTheNodesChange) {
    TModelledView view;
    QAbstractItemModelTester tester(&view.Model,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    TTreeNodes& items = view.Items();
    TTreeNode* a = items.AddChild(nullptr, "a");
    for (int i = 0; i < 40; ++i) // past the rows walked along the siblings
        items.AddChild(a, "child " + std::to_string(i));
    TTreeNode* b = items.AddChild(nullptr, "b");
    items.AddChild(b, "b1");
    EXPECT_EQ(view.Model.rowCount(), 2);
    const QModelIndex aIndex = view.Model.index(0, 0);
    EXPECT_EQ(view.Model.rowCount(aIndex), 40);
    const QModelIndex last = view.Model.index(39, 0, aIndex);
    EXPECT_EQ(last.data().toString(), "child 39");
    EXPECT_EQ(view.Model.parent(last), aIndex);
    EXPECT_EQ(view.Model.IndexOf(a->GetLastChild()), last);

    items.Delete(a->Item(20));
    EXPECT_EQ(view.Model.index(20, 0, aIndex).data().toString(), "child 21");
    EXPECT_EQ(view.Model.index(38, 0, aIndex).data().toString(), "child 39");
    items.BeginUpdate();
    for (int i = 0; i < 10; ++i)
        items.AddChild(b, "more");
    items.Delete(a);
    items.EndUpdate();
    EXPECT_EQ(view.Model.rowCount(), 1);
    EXPECT_EQ(view.Model.rowCount(view.Model.index(0, 0)), 11);
    view.SetSortType(stText);
    EXPECT_EQ(view.Model.index(0, 0, view.Model.index(0, 0)).data().toString(), "b1");
    items.Clear();
    EXPECT_EQ(view.Model.rowCount(), 0);
    EXPECT_FALSE(view.Model.hasChildren(view.Model.index(0, 0)));
}

TEST(TreeNodesModel, ChildrenHeldBackAreFetchedAsRows) {
    TModelledView view;
    QAbstractItemModelTester tester(&view.Model,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    TTreeNode* root = view.Items().AddChild(nullptr, "root");
    int pending = 3;
    root->SetHasChildren(true);
    view.Model.SetPendingChildren([&](const TTreeNode&) { return pending; },
                                  [&](TTreeNode& node) {
                                      view.Items().BeginUpdate(); // as a view's build does
                                      for (int i = 0; i < pending; ++i)
                                          view.Items().AddChild(&node, "late");
                                      node.SetHasChildren(false);
                                      pending = 0;
                                      view.Items().EndUpdate();
                                  });
    const QModelIndex at = view.Model.index(0, 0);
    EXPECT_TRUE(view.Model.hasChildren(at));
    EXPECT_EQ(view.Model.rowCount(at), 0);
    ASSERT_TRUE(view.Model.canFetchMore(at));
    // The loading's own bracket does not reset the model in the middle of the rows.
    bool resetInside = false;
    QObject::connect(&view.Model, &QAbstractItemModel::modelAboutToBeReset,
                     [&] { resetInside = true; });
    view.Model.fetchMore(at);
    EXPECT_EQ(view.Model.rowCount(at), 3);
    EXPECT_FALSE(view.Model.canFetchMore(at));
    EXPECT_FALSE(resetInside);
}

} // namespace
} // namespace vesk
