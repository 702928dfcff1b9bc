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

} // namespace
} // namespace vesk
