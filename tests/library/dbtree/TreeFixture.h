// A tree view fed by an in-memory data set of (ID, OwnerID, Name, Image) records.
#pragma once

#include "library/dbtree/VeskDBTree.h"
#include "platform/data/MemDataSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vesk::testing {

struct TRecord {
    int ID;
    int OwnerID;
    std::string Text;
    int Image = 0;
};

class TreeFixture : public ::testing::Test {
protected:
    TreeFixture();
    // Replaces the records; the view rebuilds once.
    void Load(const std::vector<TRecord>& records);
    // The tree in absolute order, one node a line: indent, text, [ID].
    std::string Dump() const;
    TVeskTreeNode* Node(int absoluteIndex) const;

    TMemoryDataSet Records;
    TDataSource Source;
    TVeskCustomDBTreeView View;
};

// The tree of a view, as Dump writes it.
std::string DumpTree(const TTreeNodes& items);

} // namespace vesk::testing
