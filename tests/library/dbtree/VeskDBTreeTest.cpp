#include "TreeFixture.h"

#include "platform/controls/Forms.h"
#include "platform/data/DBTables.h"

namespace vesk::testing {
namespace {

const std::vector<TRecord> FirstExample = {{1, 0, "A"}, {2, 1, "B"}, {3, 1, "C"}, {4, 0, "D"}};

using DBTree = TreeFixture;

TEST_F(DBTree, BuildsRootsAndChildrenInRecordOrderAndSelectsTheFirstNode) {
    Load(FirstExample);
    EXPECT_EQ(Dump(), "A [1]\n  B [2]\n  C [3]\nD [4]\n");
    EXPECT_EQ(View.Selected(), Node(0));
    EXPECT_TRUE(Node(0)->Expanded());
    EXPECT_FALSE(View.Building());
    EXPECT_EQ(View.NodeCount(), 0); // pending records freed
    // The data set is left on its last record.
    EXPECT_TRUE(Records.Eof());
    EXPECT_EQ(Records.FieldByName("Name")->AsString(), "D");

    EXPECT_EQ(View.GetNodeAtID(2), Node(1));
    EXPECT_EQ(View.GetNodeAtID(2.5L), nullptr);
    EXPECT_EQ(View.GetNodeAtID(99), nullptr);
    EXPECT_EQ(View.GetLastNodeAtLevel(Node(0), 3), Node(2));
    EXPECT_EQ(View.GetLastNodeAtLevel(Node(0), 1), Node(0));
    EXPECT_EQ(View.GetLastNodeAtLevel(nullptr, 2), nullptr);
    TVeskNodeInfo info;
    View.GetNodeInfo(Node(2), info);
    EXPECT_EQ(info.ID, 3);
    EXPECT_EQ(info.OwnerID, 1);
    EXPECT_EQ(info.Text, "C");
}

TEST_F(DBTree, PlacesEachRecordOnceWhateverTheOrderAndLeavesOutTheUnreachable) {
    Load({{2, 1, "B"}, {1, 0, "A"}, {4, 0, "D"}});
    EXPECT_EQ(Dump(), "A [1]\n  B [2]\nD [4]\n");
    // No owner 9; a pair owning each other; a self-owner; a negative owner.
    Load({{5, 9, "E"}, {6, 7, "F"}, {7, 6, "G"}, {8, 8, "H"}, {10, -1, "N"}, {1, 0, "A"}});
    EXPECT_EQ(Dump(), "A [1]\n");
    // A negative ID is shown but gets no children; an ID 0 node places the
    // remaining records of owner 0 as roots.
    Load({{-5, 0, "Neg"}, {6, -5, "Lost"}, {1, 0, "A"}, {0, 1, "Zero"}, {3, 0, "R"}, {4, 3, "S"}});
    EXPECT_EQ(Dump(), "Neg [-5]\nA [1]\n  Zero [0]\nR [3]\n  S [4]\n");
    EXPECT_EQ(View.GetNodeAtID(0), Node(2));
}

TEST_F(DBTree, ImageIndexComesFromItsFieldOrFromOnFillNode) {
    int data = 0;
    std::vector<std::string> seen;
    View.SetOnFillNode([&](TObject* sender, TTreeNode* node) {
        auto* pending = dynamic_cast<TVeskTreeNode*>(node);
        EXPECT_EQ(sender, &View);
        seen.push_back(std::to_string(pending->ID) + pending->Text());
        EXPECT_EQ(Screen().Cursor(), crHourGlass);
        node->SetImageIndex(7);
        node->SetData(&data);
        node->SetText("overwritten");
    });
    Load({{1, 0, "A", 3}, {2, 1, "B", 4}});
    EXPECT_EQ(seen, (std::vector<std::string>{"-1", "-1"}));
    EXPECT_EQ(Screen().Cursor(), crDefault);
    EXPECT_EQ(Node(1)->ImageIndex(), 7);
    EXPECT_EQ(Node(1)->SelectedIndex(), 7);
    EXPECT_EQ(Node(1)->Data(), &data);
    EXPECT_EQ(Node(1)->Text(), "B");

    View.SetDataFieldImageIndex("Image");
    EXPECT_EQ(Node(1)->ImageIndex(), 4);
    EXPECT_EQ(Node(1)->SelectedIndex(), 4);
    View.SetOnFillNode(nullptr);
    View.SetDataFieldImageIndex("");
    EXPECT_EQ(Node(1)->ImageIndex(), 0);
}

TEST_F(DBTree, RebuildsOnlyWhenAFieldNameChanges) {
    Load(FirstExample);
    int builds = 0;
    View.SetOnCreateNode([&](TObject*, TTreeNode*) { ++builds; });
    View.SetDataFieldText("Name");
    EXPECT_EQ(builds, 0);
    View.SetDataFieldText("name"); // a different name (compared exactly), same field
    EXPECT_EQ(builds, 4);
    Records.Next(); // scrolling leaves the tree alone
    EXPECT_EQ(builds, 4);
}

TEST_F(DBTree, FollowsTheDataSetAndKeepsNodesWithoutConfiguration) {
    Load(FirstExample);
    Records.Close();
    EXPECT_EQ(View.Items().Count(), 0);
    Records.Open();
    EXPECT_EQ(View.Items().Count(), 4);
    EXPECT_EQ(View.Selected(), Node(0));

    Records.Append();
    Records.FieldByName("ID")->SetAsInteger(5);
    Records.FieldByName("OwnerID")->SetAsInteger(4);
    Records.FieldByName("Name")->SetAsString("E");
    Records.Post();
    EXPECT_EQ(Dump(), "A [1]\n  B [2]\n  C [3]\nD [4]\n  E [5]\n");

    View.SetDataFieldOwnerID("");
    Records.Close();
    EXPECT_EQ(View.Items().Count(), 5);
    View.SetDataFieldOwnerID("OwnerID");
    Records.Open();
    View.SetDataSource(nullptr);
    EXPECT_EQ(View.Items().Count(), 5);
    Records.Close();
    EXPECT_EQ(View.Items().Count(), 5);
}

TEST_F(DBTree, ForgetsADestroyedDataSourceAndWaitsWhileLoading) {
    TVeskCustomDBTreeView view;
    {
        TDataSource source(&Records);
        view.BeginLoading();
        view.SetDataSource(&source);
        view.SetDataFieldID("ID");
        view.SetDataFieldOwnerID("OwnerID");
        view.SetDataFieldText("Name");
        Load(FirstExample);
        EXPECT_EQ(view.Items().Count(), 0);
        view.Loaded();
        EXPECT_EQ(view.Items().Count(), 0); // no build when loading ends
        Records.Refresh();
        EXPECT_EQ(view.Items().Count(), 4);
    }
    EXPECT_EQ(view.GetDataSource(), nullptr);
    EXPECT_EQ(view.Items().Count(), 4);
}

TEST_F(DBTree, RecreatingTheWindowKeepsNodesIdentifiersAndSelection) {
    Load(FirstExample);
    View.SetHasParent(true);
    View.SetSelected(Node(3));
    View.Items().AddChild(Node(3), "own"); // the application's own node, ID -1
    Node(3)->SetExpanded(false);
    View.DestroyWnd();
    EXPECT_EQ(View.Items().Count(), 0);
    View.CreateWnd();
    EXPECT_EQ(Dump(), "A [1]\n  B [2]\n  C [3]\nD [4]\n");
    EXPECT_EQ(Node(1)->OwnerID, 1);
    EXPECT_EQ(View.Selected(), Node(3));
    EXPECT_FALSE(Node(3)->Expanded());
    EXPECT_EQ(View.NodeCount(), 1); // the unplaced copy waits for the next ClearNodes
    View.ClearNodes();

    View.SetHasParent(false);
    View.DestroyWnd();
    View.CreateWnd(); // no parent: nothing to restore from
    EXPECT_EQ(View.Items().Count(), 0);
}

TEST_F(DBTree, RefreshKeepsTheSelectedPositionAndHidesTheCloseFromOnChange) {
    Load(FirstExample);
    std::vector<TTreeNode*> changes;
    View.OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    Records.First();
    Records.Edit();
    Records.FieldByName("Name")->SetAsString("A2");
    Records.Post();
    View.SetSelected(Node(2));
    Node(2)->SetExpanded(true);
    changes.clear();
    View.RefreshTree();
    EXPECT_EQ(View.Selected(), Node(2));
    EXPECT_TRUE(Node(2)->Expanded());
    EXPECT_EQ(Node(0)->Text(), "A2");
    EXPECT_FALSE(View.Items().Updating());
    ASSERT_FALSE(changes.empty());
    EXPECT_NE(changes.front(), nullptr); // the close's emptying was not reported
    EXPECT_EQ(changes.back(), Node(2));
    EXPECT_TRUE(View.OnChange != nullptr);
}

TEST_F(DBTree, AFailedBuildPutsEverythingRightAndKeepsTheTree) {
    Load(FirstExample);
    const std::string before = Dump();
    auto expectRestored = [&] {
        EXPECT_FALSE(View.Building());
        EXPECT_EQ(Screen().Cursor(), crDefault);
        EXPECT_FALSE(Records.ControlsDisabled());
        EXPECT_FALSE(View.Items().Updating());
        EXPECT_EQ(View.NodeCount(), 0);
        EXPECT_EQ(Dump(), before);
    };
    try {
        View.SetDataFieldText("Nope");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Field 'Nope' not found");
    }
    expectRestored();
    View.SetDataFieldText("Name");

    View.SetOnFillNode([](TObject*, TTreeNode*) { throw EConvertError("bad record"); });
    EXPECT_THROW(Records.Refresh(), EConvertError);
    expectRestored();

    // A handler that closes the data set mid-walk gets an error, not a crash.
    View.SetOnFillNode([&](TObject*, TTreeNode*) { Records.Close(); });
    EXPECT_THROW(View.SetDataFieldImageIndex("Image"), EDatabaseError);
    EXPECT_FALSE(View.Building());
    EXPECT_EQ(Screen().Cursor(), crDefault);
    EXPECT_EQ(View.NodeCount(), 0);
}

// The build looks each field up once; a handler that changes what a field stands for
// part-way through must still be followed record by record.
TEST_F(DBTree, FieldsFollowAHandlerThatChangesThemMidBuild) {
    Load({{1, 0, "A", 5}, {2, 1, "B", 6}, {3, 1, "C", 7}});
    int filled = 0;
    View.SetOnFillNode([&](TObject*, TTreeNode*) {
        if (++filled == 2)
            View.SetDataFieldText("Image");
    });
    Records.Refresh();
    EXPECT_EQ(Dump(), "A [1]\n  6 [2]\n  7 [3]\n");

    // Closed and opened again by the handler: the field objects are new ones, and the
    // data set starts again at its first record.
    View.SetDataFieldText("Name");
    filled = 0;
    View.SetOnFillNode([&](TObject*, TTreeNode*) {
        if (++filled == 2) {
            Records.Close();
            Records.Open();
        }
    });
    Records.Refresh();
    EXPECT_EQ(Dump(), "A [1]\n  B [2]\n  C [3]\nA [1]\n");
}

TEST_F(DBTree, DeepChainsBuildWithoutExhaustingTheStack) {
    std::vector<TRecord> chain;
    const int depth = 100000;
    for (int i = 1; i <= depth; ++i)
        chain.push_back({i, i - 1, "n"});
    Load(chain);
    EXPECT_EQ(View.Items().Count(), depth);
    EXPECT_EQ(View.GetLastNodeAtLevel(Node(0), depth)->Level(), depth - 1);
}

TEST(DBTreeOnSQLite, BuildsFromTheSampleCustomerBook) {
    TTable table;
    table.SetDatabaseName(VESK_SOURCE_DIR "/examples/sample/customers.db");
    table.SetTableName("Book");
    TDataSource source(&table);
    TVeskCustomDBTreeView view;
    view.SetDataSource(&source);
    view.SetDataFieldID("ID");
    view.SetDataFieldOwnerID("OwnerID");
    view.SetDataFieldText("Name");
    view.SetDataFieldImageIndex("ImageIndex");
    table.Open();
    ASSERT_GT(view.Items().Count(), 0);
    EXPECT_EQ(view.Items().Item(0)->Level(), 0);
    EXPECT_EQ(view.Items().Count(), table.RecordCount());
}

} // namespace
} // namespace vesk::testing
