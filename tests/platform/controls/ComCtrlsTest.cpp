#include "platform/controls/ComCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <random>

namespace vesk {
namespace {

// The absolute order read the slow way, for comparison.
void PreOrder(TTreeNode* node, std::vector<TTreeNode*>& out) {
    out.push_back(node);
    for (int i = 0; i < node->Count(); ++i)
        PreOrder(node->Item(i), out);
}

std::vector<TTreeNode*> PreOrder(TTreeNodes& items) {
    std::vector<TTreeNode*> out;
    for (int i = 0; i < items.RootCount(); ++i)
        PreOrder(items.Root(i), out);
    return out;
}

TEST(TreeNodes, AbsoluteIndexFollowsInsertionsAnywhereAndDeletions) {
    TCustomTreeView view;
    TTreeNodes& items = view.Items();
    std::mt19937 random(7);
    std::vector<TTreeNode*> all;
    for (int step = 0; step < 600; ++step) {
        const int choice = random() % 10;
        if (choice < 7 || all.empty()) {
            TTreeNode* parent =
                all.empty() || random() % 4 == 0 ? nullptr : all[random() % all.size()];
            all.push_back(items.AddChild(parent, "n" + std::to_string(step)));
        } else {
            items.Delete(all[random() % all.size()]);
            all = PreOrder(items);
        }
        if (step % 7 == 0 || choice >= 7) {
            const std::vector<TTreeNode*> expected = PreOrder(items);
            ASSERT_EQ(items.Count(), static_cast<int>(expected.size()));
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(items.Item(static_cast<int>(i)), expected[i]) << "step " << step;
                ASSERT_EQ(expected[i]->AbsoluteIndex(), static_cast<int>(i));
            }
        }
    }
    EXPECT_THROW(items.Item(items.Count()), EListError);
    TTreeNode detached(&items);
    EXPECT_EQ(detached.AbsoluteIndex(), -1);
    EXPECT_THROW(items.AddChild(&detached, "x"), EArgumentError);
}

TEST(TreeNodes, DeepChainsAreBuiltIndexedAndFreedWithoutRecursion) {
    TCustomTreeView view;
    TTreeNode* node = nullptr;
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        node = view.Items().AddChild(node, "");
    EXPECT_EQ(node->Level(), depth - 1);
    EXPECT_EQ(node->AbsoluteIndex(), depth - 1);
    EXPECT_EQ(view.Items().Item(depth / 2)->Level(), depth / 2);
    view.Items().Clear();
    EXPECT_EQ(view.Items().Count(), 0);
}

TEST(TreeView, SelectionFollowsRemovalAndRaisesOnChange) {
    TCustomTreeView view;
    std::vector<TTreeNode*> changes;
    view.OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    TTreeNode* a = view.Items().AddChild(nullptr, "A");
    TTreeNode* b = view.Items().AddChild(a, "B");
    view.SetSelected(b);
    view.SetSelected(b);
    EXPECT_TRUE(b->Selected());
    view.Items().Delete(a);
    EXPECT_EQ(view.Selected(), nullptr);
    EXPECT_EQ(changes, (std::vector<TTreeNode*>{b, nullptr}));
    TCustomTreeView other;
    TTreeNode* foreign = other.Items().AddChild(nullptr, "F");
    EXPECT_THROW(view.SetSelected(foreign), EArgumentError);
}

TEST(TreeView, RecreatingTheWindowGivesPlainNodesOfTheSameShape) {
    TCustomTreeView view;
    int data = 5;
    TTreeNode* a = view.Items().AddChild(nullptr, "A");
    TTreeNode* b = view.Items().AddChild(a, "B");
    b->SetImageIndex(3);
    b->SetData(&data);
    view.Items().AddChild(b, "C");
    view.Items().AddChild(nullptr, "D");
    view.DestroyWnd();
    EXPECT_EQ(view.Items().Count(), 0);
    view.CreateWnd();
    ASSERT_EQ(view.Items().Count(), 4);
    EXPECT_EQ(view.Items().Item(1)->Text(), "B");
    EXPECT_EQ(view.Items().Item(1)->Parent(), view.Items().Item(0));
    EXPECT_EQ(view.Items().Item(1)->ImageIndex(), 3);
    EXPECT_EQ(view.Items().Item(1)->Data(), &data);
    EXPECT_EQ(view.Items().Item(2)->Level(), 2);
    EXPECT_EQ(view.Items().Item(3)->Level(), 0);
}

struct RecordingScreen : TScreen {
    std::vector<TCursor> Shown;
    void ShowCursor(TCursor value) override { Shown.push_back(value); }
};

TEST(Screen, InstalledScreenShowsCursorChanges) {
    RecordingScreen screen;
    SetScreen(&screen);
    Screen().SetCursor(crHourGlass);
    Screen().SetCursor(crHourGlass);
    Screen().SetCursor(crDefault);
    SetScreen(nullptr);
    EXPECT_EQ(screen.Shown, (std::vector<TCursor>{crHourGlass, crDefault}));
    EXPECT_NE(&Screen(), &screen);
}

// A view that counts the window's notifications.
class TWatchedView : public TCustomTreeView {
public:
    int Changing = 0;
    int Changed = 0;
    std::vector<const TTreeNode*> Loaded;

protected:
    void ItemsChanging() override { ++Changing; }
    void ItemsChanged() override { ++Changed; }
    void LoadChildren(TTreeNode* node) override {
        Loaded.push_back(node);
        node->SetHasChildren(false);
        Items().AddChild(node, "late");
    }
};

TEST(TreeViewWindowHooks, BracketsSiblingIndexesAndTheUsersSide) {
    TWatchedView view;
    TTreeNodes& items = view.Items();
    items.BeginUpdate();
    TTreeNode* a = items.AddChild(nullptr, "a");
    TTreeNode* b = items.AddChild(nullptr, "b");
    TTreeNode* c = items.AddChild(nullptr, "c");
    items.AddChild(nullptr, "d");
    items.EndUpdate();
    EXPECT_EQ(view.Changing, 1); // once for the whole bracket
    EXPECT_EQ(view.Changed, 1);
    EXPECT_EQ(c->Index(), 2);
    items.Delete(b);
    EXPECT_EQ(view.Changing, 2);
    EXPECT_EQ(c->Index(), 1);
    EXPECT_EQ(items.Root(2)->Index(), 2);

    // Children held back come when the node is first expanded.
    a->SetHasChildren(true);
    EXPECT_TRUE(a->HasChildren());
    bool allow = false;
    view.OnExpanding = [&](TObject*, TTreeNode*, bool& ok) { ok = allow; };
    EXPECT_FALSE(view.UserExpand(a, true));
    EXPECT_TRUE(view.Loaded.empty());
    allow = true;
    EXPECT_TRUE(view.UserExpand(a, true));
    ASSERT_EQ(view.Loaded.size(), 1u);
    EXPECT_EQ(a->GetFirstChild()->Text(), "late");
    a->SetExpanded(false);
    a->SetExpanded(true);
    EXPECT_EQ(view.Loaded.size(), 1u); // loaded once

    view.OnChanging = [](TObject*, TTreeNode* node, bool& ok) { ok = node->Text() != "c"; };
    EXPECT_FALSE(view.UserSelect(c));
    EXPECT_EQ(view.Selected(), nullptr);
    EXPECT_TRUE(view.UserSelect(a));
    EXPECT_EQ(view.Selected(), a);

    view.SetReadOnly(true);
    EXPECT_FALSE(view.CanEdit(a));
    view.SetReadOnly(false);
    view.OnEdited = [](TObject*, TTreeNode*, std::string& text) { text = "[" + text + "]"; };
    view.UserEdited(a, "A");
    EXPECT_EQ(a->Text(), "[A]");
}

TEST(TreeViewWindowHooks, ABorderStyleChangeReCreatesTheWindowKeepingTheNodes) {
    TCustomTreeView view;
    TTreeNode* root = view.Items().AddChild(nullptr, "root");
    view.Items().AddChild(root, "leaf")->SetImageIndex(3);
    root->SetExpanded(true);
    view.SetBorderStyle(bsNone);
    EXPECT_TRUE(view.HandleAllocated());
    ASSERT_EQ(view.Items().Count(), 2);
    EXPECT_TRUE(view.Items().Item(0)->Expanded());
    EXPECT_EQ(view.Items().Item(1)->ImageIndex(), 3);
    EXPECT_EQ(view.Items().Item(1)->Parent(), view.Items().Item(0));
}

TEST(TreeViewSortType, OrdersEveryLevelAndKeepsTheOrderAsNodesCome) {
    TCustomTreeView view;
    TTreeNodes& items = view.Items();
    auto dump = [&] {
        std::string out;
        for (int i = 0; i < items.Count(); ++i)
            out += std::string(items.Item(i)->Level(), ' ') + items.Item(i)->Text() + ",";
        return out;
    };
    TTreeNode* b = items.AddChild(nullptr, "b");
    items.AddChild(b, "z");
    items.AddChild(b, "Y");
    items.AddChild(nullptr, "A");
    EXPECT_EQ(dump(), "b, z, Y,A,");
    view.SetSortType(stText);
    EXPECT_EQ(dump(), "A,b, Y, z,");
    EXPECT_EQ(items.Root(1), b);
    EXPECT_EQ(b->GetFirstChild()->Text(), "Y");
    EXPECT_EQ(b->GetLastChild()->Index(), 1);
    items.AddChild(b, "x"); // one at a time
    items.BeginUpdate();
    items.AddChild(nullptr, "C");
    items.AddChild(nullptr, "a2");
    items.EndUpdate();
    EXPECT_EQ(dump(), "A,a2,b, x, Y, z,C,");
    // By data first, then by text for equal data.
    view.OnCompare = [](TObject*, TTreeNode* n1, TTreeNode* n2, int& compare) {
        compare = n2->ImageIndex() - n1->ImageIndex();
    };
    items.Root(3)->SetImageIndex(5); // C
    view.SetSortType(stBoth);
    EXPECT_EQ(dump(), "C,A,a2,b, x, Y, z,");
    view.SetSortType(stNone); // stays as it is
    items.AddChild(nullptr, "0");
    EXPECT_EQ(items.Root(items.RootCount() - 1)->Text(), "0");
}

} // namespace
} // namespace vesk
