// The view places records in linear time; this checks it against a direct reading of
// the documented walk (every node walks the whole pending list) on many random
// record sets with duplicate, negative and zero IDs, missing owners, self-owners and
// cycles.
#include "TreeFixture.h"

#include <functional>
#include <random>

namespace vesk::testing {
namespace {

struct TRefTree {
    struct TNode {
        TRecord Record;
        std::vector<int> Children;
    };
    std::vector<TNode> Nodes;
    std::vector<int> Roots;
    std::vector<bool> Pending;
};

// The documented walk, as written: from the first pending record, place each one
// whose owner is P, then at once its own records, then go on with the records that
// followed it and are still pending.
// What an OnCreateNode handler does to a node just placed.
using TCreated = std::function<void(TRecord&)>;

void RefBuildNode(TRefTree& tree, const std::vector<TRecord>& list, int parent,
                  const TCreated& created) {
    const int owner = parent < 0 ? 0 : tree.Nodes[parent].Record.ID;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!tree.Pending[i] || list[i].OwnerID != owner)
            continue;
        const int node = static_cast<int>(tree.Nodes.size());
        tree.Nodes.push_back({list[i], {}});
        if (owner == 0)
            tree.Roots.push_back(node);
        else
            tree.Nodes[parent].Children.push_back(node);
        tree.Pending[i] = false;
        if (created)
            created(tree.Nodes[node].Record);
        const TRecord& placed = tree.Nodes[node].Record;
        if (placed.ID >= 0 && placed.OwnerID >= 0)
            RefBuildNode(tree, list, node, created);
    }
}

void RefDump(const TRefTree& tree, int node, int level, std::string& out) {
    const TRecord& r = tree.Nodes[node].Record;
    out.append(2 * level, ' ').append(r.Text).append(" [" + std::to_string(r.ID) + "]\n");
    for (int child : tree.Nodes[node].Children)
        RefDump(tree, child, level + 1, out);
}

std::string ReferenceTree(const std::vector<TRecord>& list, const TCreated& created = nullptr) {
    TRefTree tree;
    tree.Pending.assign(list.size(), true);
    RefBuildNode(tree, list, -1, created);
    std::string out;
    for (int root : tree.Roots)
        RefDump(tree, root, 0, out);
    return out;
}

std::vector<TRecord> RandomRecords(std::mt19937& random) {
    const int count = random() % 8 == 0 ? 60 + random() % 140 : random() % 30;
    // A narrow range of values makes duplicates, zeros, cycles and self-owners common.
    const int low = -3;
    const int high = random() % 2 ? 8 : std::max(4, count);
    std::uniform_int_distribution<int> value(low, high);
    std::vector<TRecord> list;
    for (int i = 0; i < count; ++i) {
        const int id = value(random);
        int owner = value(random);
        if (random() % 5 == 0)
            owner = 0;
        else if (random() % 12 == 0)
            owner = id;
        list.push_back({id, owner, "r" + std::to_string(i)});
    }
    return list;
}

struct TCoverage {
    int DuplicateIDs = 0, Negative = 0, MissingOwner = 0, SelfOwner = 0, Cycle = 0, ZeroID = 0;
    void Count(const std::vector<TRecord>& list) {
        bool dup = false, negative = false, missing = false, self = false, cycle = false,
             zero = false;
        for (const TRecord& a : list) {
            negative = negative || a.ID < 0 || a.OwnerID < 0;
            self = self || a.ID == a.OwnerID;
            zero = zero || a.ID == 0;
            bool ownerFound = a.OwnerID == 0;
            for (const TRecord& b : list) {
                dup = dup || (&a != &b && a.ID == b.ID);
                ownerFound = ownerFound || b.ID == a.OwnerID;
                cycle = cycle || (&a != &b && a.ID == b.OwnerID && b.ID == a.OwnerID);
            }
            missing = missing || !ownerFound;
        }
        DuplicateIDs += dup;
        Negative += negative;
        MissingOwner += missing;
        SelfOwner += self;
        Cycle += cycle;
        ZeroID += zero;
    }
};

using BuildTreeCompare = TreeFixture;

TEST_F(BuildTreeCompare, LinearBuildGivesTheTreeOfTheDocumentedWalk) {
    std::mt19937 random(20240229);
    TCoverage coverage;
    const int sets = 3000;
    for (int set = 0; set < sets; ++set) {
        const std::vector<TRecord> list = RandomRecords(random);
        coverage.Count(list);
        Load(list);
        ASSERT_EQ(Dump(), ReferenceTree(list)) << "record set " << set;
        ASSERT_EQ(View.NodeCount(), 0);
    }
    // Every kind of awkward record turned up often.
    for (int seen : {coverage.DuplicateIDs, coverage.Negative, coverage.MissingOwner,
                     coverage.SelfOwner, coverage.Cycle, coverage.ZeroID})
        EXPECT_GT(seen, sets / 10);
}

// A handler may give a node just placed another ID or owner; the walk then follows
// the node as it now is.
TEST_F(BuildTreeCompare, NodesChangedByOnCreateNodeLeadTheWalk) {
    const TCreated created = [](TRecord& node) {
        if (node.Text.back() == '3')
            node.ID = node.ID == 0 ? 1 : node.ID - 1;
        else if (node.Text.back() == '7')
            node.OwnerID = -1;
    };
    View.SetOnCreateNode([&](TObject*, TTreeNode* node) {
        auto* veskNode = static_cast<TVeskTreeNode*>(node);
        TRecord record{veskNode->ID, veskNode->OwnerID, veskNode->Text()};
        created(record);
        veskNode->ID = record.ID;
        veskNode->OwnerID = record.OwnerID;
    });
    std::mt19937 random(7);
    for (int set = 0; set < 1000; ++set) {
        const std::vector<TRecord> list = RandomRecords(random);
        Load(list);
        ASSERT_EQ(Dump(), ReferenceTree(list, created)) << "record set " << set;
    }
}

TEST_F(BuildTreeCompare, BuildNodeByHandPlacesPendingRecordsAndKeepsTheRest) {
    Load({{1, 0, "A"}, {-2, 1, "N"}});
    View.SaveTree();
    View.SaveTree(); // the pending list: A N A N
    View.Items().Clear();
    View.BuildNode(nullptr);
    EXPECT_EQ(Dump(), "A [1]\n  N [-2]\n  N [-2]\nA [1]\n");
    EXPECT_EQ(View.NodeCount(), 0);

    // A node with a negative ID takes the records owned by that ID when asked.
    View.SaveTree(); // A N N A
    auto x = std::make_unique<TVeskTreeNode>(&View.Items());
    x->ID = 9;
    x->OwnerID = -2;
    x->SetText("X");
    View.SetNode(0, std::move(x));
    View.BuildNode(Node(1));
    EXPECT_EQ(Dump(), "A [1]\n  N [-2]\n    X [9]\n  N [-2]\nA [1]\n");
    ASSERT_EQ(View.NodeCount(), 3);
    EXPECT_EQ(View.GetNode(0)->Text(), "N");
    EXPECT_EQ(View.GetNode(2)->Text(), "A");
}

} // namespace
} // namespace vesk::testing
