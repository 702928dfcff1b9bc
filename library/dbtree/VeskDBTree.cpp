#include "library/dbtree/VeskDBTree.h"

#include "platform/controls/Forms.h"
#include "platform/design/DataClasses.h"
#include "platform/forms/Component.h"
#include "platform/rtl/LargeMemory.h"

#include <algorithm>
#include <unordered_map>

namespace vesk {

namespace {

TVeskTreeNode* AsVeskNode(TTreeNode* node) {
    return dynamic_cast<TVeskTreeNode*>(node);
}

} // namespace

void TVeskTreeNode::GetNodeInfo(TVeskNodeInfo& info) const {
    info.ID = ID;
    info.OwnerID = OwnerID;
    info.ImageIndex = ImageIndex();
    info.Data = Data();
    info.Text = Text();
}

// ---- TVeskPendingList

void TVeskPendingList::TDelete::operator()(TVeskTreeNode* node) const {
    if (Pooled)
        node->~TVeskTreeNode(); // the block's memory goes with Clear
    else
        delete node;
}

TVeskTreeNode* TVeskPendingList::Add(TTreeNodes* owner) {
    if (FBlocks.empty() || FUsed == FBlocks.back().Capacity) {
        // Blocks double up to a few MiB: a small table costs little, a large one is
        // read from few huge pages.
        const std::size_t capacity =
            FBlocks.empty() ? FirstBlock
                            : std::min(2 * FBlocks.back().Capacity,
                                       2 * LargeBlockThreshold / sizeof(TVeskTreeNode));
        FBlocks.reserve(FBlocks.size() + 1); // so that the block cannot be lost
        FBlocks.push_back(
            {static_cast<std::byte*>(AllocateLarge(capacity * sizeof(TVeskTreeNode))), capacity});
        FUsed = 0;
    }
    void* place = FBlocks.back().Memory + FUsed * sizeof(TVeskTreeNode);
    auto* node = new (place) TVeskTreeNode(owner);
    ++FUsed;
    FItems.emplace_back(node, TDelete{true});
    return node;
}

void TVeskPendingList::Put(int index, std::unique_ptr<TVeskTreeNode> node) {
    FItems[index] = std::unique_ptr<TVeskTreeNode, TDelete>(node.release(), TDelete{false});
}

void TVeskPendingList::Clear() {
    FItems.clear();
    for (const TBlock& block : FBlocks)
        FreeLarge(block.Memory, block.Capacity * sizeof(TVeskTreeNode));
    FBlocks.clear();
    FUsed = 0;
}

// ---- TVeskDBTreeDataLink

void TVeskDBTreeDataLink::ActiveChanged() {
    if (TreeView)
        TreeView->BuildTree();
}

void TVeskDBTreeDataLink::DataSetChanged() {
    if (TreeView)
        TreeView->BuildTree();
}

// ---- TVeskLazyRecords

// The identifiers of every record, grouped by owner in record order, so that the
// records a node owns are found when it is first expanded. Each record leaves its
// group when placed.
class TVeskLazyRecords {
public:
    void Add(std::int32_t id, std::int32_t owner) {
        FIDs.push_back(id);
        FOwners.push_back(owner);
    }
    void Group() {
        const int count = static_cast<int>(FOwners.size());
        std::int64_t low = 0;
        std::int64_t high = 0;
        for (std::int32_t owner : FOwners) {
            low = std::min<std::int64_t>(low, owner);
            high = std::max<std::int64_t>(high, owner);
        }
        FDense = high - low <= 2 * static_cast<std::int64_t>(count) + 64;
        FLow = low;
        TLargeVector<int> groupOf(count);
        int groups = FDense ? static_cast<int>(high - low + 1) : 0;
        for (int i = 0; i < count; ++i) {
            if (FDense) {
                groupOf[i] = static_cast<int>(FOwners[i] - FLow);
            } else {
                const auto [slot, added] = FSparse.try_emplace(FOwners[i], groups);
                groups += added;
                groupOf[i] = slot->second;
            }
        }
        FFront.assign(groups, 0);
        FEnd.assign(groups, 0);
        for (int group : groupOf)
            ++FEnd[group];
        int start = 0;
        for (int g = 0; g < groups; ++g) {
            FFront[g] = start;
            start += FEnd[g];
            FEnd[g] = FFront[g];
        }
        FRecords.resize(count);
        for (int i = 0; i < count; ++i)
            FRecords[FEnd[groupOf[i]]++] = i;
    }
    // The group of Owner's records not placed yet; -1 when there is none.
    int GroupOf(std::int32_t owner) const {
        int group = -1;
        if (FDense) {
            const std::int64_t g = owner - FLow;
            if (g >= 0 && g < static_cast<std::int64_t>(FFront.size()))
                group = static_cast<int>(g);
        } else if (const auto found = FSparse.find(owner); found != FSparse.end()) {
            group = found->second;
        }
        return group >= 0 && FFront[group] < FEnd[group] ? group : -1;
    }
    int Pending(std::int32_t owner) const {
        const int group = GroupOf(owner);
        return group < 0 ? 0 : FEnd[group] - FFront[group];
    }
    // The next record (its index in the data set, from 0) of the group.
    int Take(int group) { return FRecords[FFront[group]++]; }

private:
    TLargeVector<std::int32_t> FIDs;
    TLargeVector<std::int32_t> FOwners;
    TLargeVector<int> FRecords;
    TLargeVector<int> FFront;
    TLargeVector<int> FEnd;
    bool FDense = true;
    std::int64_t FLow = 0;
    std::unordered_map<std::int32_t, int> FSparse;
};

// ---- TVeskCustomDBTreeView

TVeskCustomDBTreeView::TVeskCustomDBTreeView()
    : FDataLink(std::make_unique<TVeskDBTreeDataLink>(this)) {}

TVeskCustomDBTreeView::~TVeskCustomDBTreeView() {
    SetDataSource(nullptr);
    ClearNodes();
    FDataLink.reset();
}

TDataSource* TVeskCustomDBTreeView::GetDataSource() const {
    return FDataLink->DataSource();
}

void TVeskCustomDBTreeView::SetDataSource(TDataSource* value) {
    TDataSource* old = FDataLink->DataSource();
    if (old && old != value)
        old->RemoveFreeNotification(this);
    FDataLink->SetDataSource(value);
    if (value)
        value->FreeNotification(this);
}

void TVeskCustomDBTreeView::FreeNotification(TObject* component) {
    if (component && component == GetDataSource())
        SetDataSource(nullptr);
}

const std::string& TVeskCustomDBTreeView::DataField(int index) const {
    if (index < 0 || index > 3)
        throw EListError("Data field index out of bounds (" + IntToStr(index) + ")");
    return FDataFields[index];
}

void TVeskCustomDBTreeView::SetDataField(int index, const std::string& value) {
    if (DataField(index) == value)
        return;
    FDataFields[index] = value;
    ++FDataFieldsVersion;
    BuildTree();
}

TField* TVeskCustomDBTreeView::GetField(int index) const {
    if (!FDataLink->Active())
        return nullptr;
    return FDataLink->DataSet()->FieldByName(DataField(index));
}

TField& TVeskCustomDBTreeView::RequireField(int index) const {
    // A handler may close the data set in the middle of a build.
    if (TField* field = GetField(index))
        return *field;
    throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

std::unique_ptr<TTreeNode> TVeskCustomDBTreeView::CreateNode() {
    return std::make_unique<TVeskTreeNode>(&Items());
}

void TVeskCustomDBTreeView::DoCreateNode(TTreeNode* node) {
    if (FOnCreateNode)
        FOnCreateNode(this, node);
}

void TVeskCustomDBTreeView::DoDestroyNode(TTreeNode* node) {
    if (FOnDestroyNode)
        FOnDestroyNode(this, node);
}

void TVeskCustomDBTreeView::DoFillNode(TTreeNode* node) {
    if (FOnFillNode)
        FOnFillNode(this, node);
}

void TVeskCustomDBTreeView::ReadRecords(TDataSet& dataSet) {
    const bool withImage = !FDataFields[3].empty();
    // Looking the fields up by name for every record would cost as much as reading
    // them. A field found is kept while nothing a handler may do has changed what it
    // stands for: the field names, the data set, and the data set's field objects.
    std::array<TField*, 4> known{};
    std::uint64_t knownNames = 0;
    std::uint64_t knownFields = 0;
    auto field = [&](int index) -> TField& {
        if (!known[index])
            known[index] = &RequireField(index);
        return *known[index];
    };
    dataSet.First();
    while (!dataSet.Eof()) {
        TVeskTreeNode* record = FNodes.Add(&Items());
        DoFillNode(record);
        const TDataSet* current = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
        const std::uint64_t fields = current ? current->FieldsStamp() : 0;
        if (fields != knownFields || FDataFieldsVersion != knownNames) {
            known.fill(nullptr);
            knownFields = fields;
            knownNames = FDataFieldsVersion;
        }
        record->SetText(field(2).AsString());
        record->ID = field(0).AsInteger();
        record->OwnerID = field(1).AsInteger();
        if (withImage)
            record->SetImageIndex(field(3).AsInteger());
        dataSet.Next();
    }
}

void TVeskCustomDBTreeView::BuildTree() {
    if (FBuilding || ComponentState().test(csLoading) || !FDataLink->DataSet())
        return;
    if (FDataFields[0].empty() || FDataFields[1].empty() || FDataFields[2].empty())
        return;
    FLazy.reset();
    if (!FDataLink->Active()) {
        Items().Clear();
        return;
    }
    TDataSet& dataSet = *FDataLink->DataSet();
    if (FLoadOnExpand) {
        BuildLazily(dataSet);
        return;
    }
    Items().BeginUpdate();
    FBuilding = true;
    const TCursor savedCursor = Screen().Cursor();
    Screen().SetCursor(crHourGlass);
    dataSet.DisableControls();
    bool controlsDisabled = true;
    // Whatever fails, the cursor, the data set's controls, the guard, the update
    // bracket and the pending records are put right before the error passes on.
    auto restore = [&] {
        if (controlsDisabled) {
            controlsDisabled = false;
            dataSet.EnableControls();
        }
        ClearNodes();
        FBuilding = false;
        Items().EndUpdate();
        Screen().SetCursor(savedCursor);
    };
    try {
        ReadRecords(dataSet);
        controlsDisabled = false;
        dataSet.EnableControls(); // its notification ends at the guard
        Items().Clear();
        BuildNode(nullptr);
        ClearNodes();
        if (Items().Count() > 0) {
            TTreeNode* first = Items().Item(0);
            SetSelected(first);
            first->SetExpanded(true);
        }
    } catch (...) {
        try {
            restore();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
    restore();
}

TVeskTreeNode* TVeskCustomDBTreeView::PlaceRecord(const TVeskTreeNode& record, TTreeNode* parent) {
    TTreeNode* node = Items().AddChild(parent, record.Text());
    TVeskTreeNode* veskNode = AsVeskNode(node);
    if (veskNode) {
        veskNode->ID = record.ID;
        veskNode->OwnerID = record.OwnerID;
    }
    node->SetImageIndex(record.ImageIndex());
    node->SetSelectedIndex(record.ImageIndex());
    node->SetData(record.Data());
    DoCreateNode(node);
    return veskNode;
}

namespace {

// The pending records grouped by owner, each group in list order, so that placing a
// node's records reads them one after the other. Owners in a compact range (the usual
// run of database keys) are grouped by direct indexing, any others through a hash
// table.
class TOwnerGroups {
public:
    struct TEntry {
        TVeskTreeNode* Record;
        TVeskTreeNode* FirstChild; // the first record the ID owns, to read ahead
        std::int32_t ID;           // the record's ID as read
        int IDGroup;               // the group of the records that ID owns; -1 when none
        int Index;                 // position in the pending list
        int FirstChildEntry;       // the entry of FirstChild
    };

    explicit TOwnerGroups(const TVeskPendingList& records) {
        // The records are large and lie anywhere: read what the grouping needs of them
        // in one pass, then work on compact arrays.
        const int count = records.Count();
        TLargeVector<std::int32_t> ids(count);
        TLargeVector<std::int32_t> owners(count);
        std::int64_t low = 0;
        std::int64_t high = 0;
        for (int i = 0; i < count; ++i) {
            const TVeskTreeNode* record = records[i];
            ids[i] = record->ID;
            owners[i] = record->OwnerID;
            low = std::min<std::int64_t>(low, owners[i]);
            high = std::max<std::int64_t>(high, owners[i]);
        }
        FDense = high - low <= 2 * static_cast<std::int64_t>(count) + 64;
        FLow = low;
        TLargeVector<int> groupOf(count);
        int groups = FDense ? static_cast<int>(high - low + 1) : 0;
        for (int i = 0; i < count; ++i) {
            if (FDense) {
                groupOf[i] = static_cast<int>(owners[i] - FLow);
            } else {
                const auto [slot, added] = FSparse.try_emplace(owners[i], groups);
                groups += added;
                groupOf[i] = slot->second;
            }
        }
        // Counting sort: each group's records keep their list order.
        FGroups.assign(groups, TGroup{0, 0});
        for (int group : groupOf)
            ++FGroups[group].End;
        int start = 0;
        for (TGroup& group : FGroups) {
            group.Front = start;
            start += group.End;
            group.End = group.Front;
        }
        FEntries.resize(count);
        for (int i = 0; i < count; ++i)
            FEntries[FGroups[groupOf[i]].End++] = {records[i], nullptr, ids[i], -1, i, -1};
        for (TEntry& entry : FEntries) {
            entry.IDGroup = Group(entry.ID);
            if (entry.IDGroup >= 0) {
                entry.FirstChildEntry = FGroups[entry.IDGroup].Front;
                entry.FirstChild = FEntries[entry.FirstChildEntry].Record;
            }
        }
    }

    // The group of Owner's records; -1 when it has none.
    int Group(std::int32_t owner) const {
        if (FDense) {
            const std::int64_t group = owner - FLow;
            if (group < 0 || group >= static_cast<std::int64_t>(FGroups.size()))
                return -1;
            return FGroups[group].Front < FGroups[group].End ? static_cast<int>(group) : -1;
        }
        const auto found = FSparse.find(owner);
        return found == FSparse.end() ? -1 : found->second;
    }
    bool HasPending(int group) const { return FGroups[group].Front < FGroups[group].End; }
    // The group's first pending record, which leaves the group. The records of a
    // random tree lie anywhere in memory: ask for what the next steps read (the
    // record's first child and its next sibling) while this one is being placed.
    const TEntry& Take(int group) {
        const TEntry& entry = FEntries[FGroups[group].Front++];
        if (entry.IDGroup >= 0) {
            __builtin_prefetch(&FGroups[entry.IDGroup]);
            __builtin_prefetch(&FEntries[entry.FirstChildEntry]);
            __builtin_prefetch(entry.FirstChild);
        }
        if (HasPending(group))
            __builtin_prefetch(FEntries[FGroups[group].Front].Record);
        return entry;
    }
    // Whether the pending record at Index was taken: taken records are those before
    // the front of their group.
    std::vector<bool> Taken() const {
        std::vector<bool> taken(FEntries.size(), false);
        int start = 0;
        for (const TGroup& group : FGroups) {
            for (int k = start; k < group.Front; ++k)
                taken[FEntries[k].Index] = true;
            start = group.End;
        }
        return taken;
    }

private:
    struct TGroup {
        int Front; // the first entry not taken yet
        int End;   // one past the group's last entry
    };
    bool FDense = true;
    std::int64_t FLow = 0;
    std::unordered_map<std::int32_t, int> FSparse;
    TLargeVector<TGroup> FGroups;
    TLargeVector<TEntry> FEntries;
};

} // namespace

void TVeskCustomDBTreeView::BuildNode(TTreeNode* node) {
    // A walk for owner P places every pending record of P it meets, so the records of
    // P always leave from the front of P's records in list order. Taking from the
    // front of each owner's group therefore gives the same placements, in the same
    // order, as walking the whole pending list for every node, in linear time. An
    // explicit stack stands for the recursion, so that deep trees cannot exhaust the
    // call stack.
    if (FNodes.Empty())
        return;
    TOwnerGroups groups(FNodes);
    struct TWalk {
        int Group;
        TTreeNode* Parent; // none when the records become roots
    };
    std::vector<TWalk> walks;
    auto startWalk = [&](int group, std::int32_t owner, TTreeNode* parent) {
        if (group >= 0 && groups.HasPending(group)) {
            walks.push_back({group, owner == 0 ? nullptr : parent});
        }
    };
    // Placed records leave the pending list (and are freed) when the walk is over.
    int taken = 0; // records that left their group
    auto compact = [&] {
        if (taken == FNodes.Count()) {
            FNodes.Clear();
            return;
        }
        const std::vector<bool> wasTaken = groups.Taken();
        FNodes.RemoveIf([&](int index) { return wasTaken[index]; });
    };
    try {
        const TVeskTreeNode* veskParent = AsVeskNode(node);
        const std::int32_t owner = node ? (veskParent ? veskParent->ID : -1) : 0;
        startWalk(groups.Group(owner), owner, node);
        while (!walks.empty()) {
            const TWalk walk = walks.back();
            if (!groups.HasPending(walk.Group)) {
                walks.pop_back();
                continue;
            }
            const TOwnerGroups::TEntry& entry = groups.Take(walk.Group);
            ++taken;
            TVeskTreeNode* placed = PlaceRecord(*entry.Record, walk.Parent);
            if (placed && placed->ID >= 0 && placed->OwnerID >= 0) {
                // A handler of OnCreateNode may have given the node another ID.
                const int group = placed->ID == entry.ID ? entry.IDGroup : groups.Group(placed->ID);
                startWalk(group, placed->ID, placed);
            }
        }
    } catch (...) {
        compact();
        throw;
    }
    compact();
}

void TVeskCustomDBTreeView::ClearNodes() {
    FNodes.Clear();
}

TVeskTreeNode* TVeskCustomDBTreeView::GetNode(int index) const {
    if (index < 0 || index >= NodeCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FNodes[index];
}

void TVeskCustomDBTreeView::SetNode(int index, std::unique_ptr<TVeskTreeNode> node) {
    if (index < 0 || index >= NodeCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    FNodes.Put(index, std::move(node));
}

void TVeskCustomDBTreeView::SaveTree() {
    for (int i = 0; i < Items().Count(); ++i) {
        TTreeNode* node = Items().Item(i);
        TVeskTreeNode* copy = FNodes.Add(&Items());
        copy->SetText(node->Text());
        if (const TVeskTreeNode* veskNode = AsVeskNode(node)) {
            copy->ID = veskNode->ID;
            copy->OwnerID = veskNode->OwnerID;
        }
        copy->SetImageIndex(node->ImageIndex());
        copy->SetData(node->Data());
    }
}

void TVeskCustomDBTreeView::SaveState() {
    FSavedIndex = 0;
    FSavedExpanded = true;
    FSavedID.reset();
    if (TTreeNode* selected = Selected()) {
        FSavedIndex = selected->AbsoluteIndex();
        FSavedExpanded = selected->Expanded();
        if (const TVeskTreeNode* veskNode = AsVeskNode(selected))
            FSavedID = veskNode->ID;
    }
}

void TVeskCustomDBTreeView::LoadState() {
    TTreeNode* node = nullptr;
    if (FKeepSelectionByID && FSavedID)
        node = GetNodeAtID(*FSavedID);
    if (!node && Items().Count() > FSavedIndex && FSavedIndex >= 0)
        node = Items().Item(FSavedIndex);
    if (node) {
        SetSelected(node);
        node->SetExpanded(FSavedExpanded);
    }
}

// ---- children on expanding

namespace {

// Puts a data set back where it stood: on a record, or at its end.
class TPositionKeeper {
public:
    explicit TPositionKeeper(TDataSet& dataSet)
        : FDataSet(dataSet), FRecNo(dataSet.RecNo()), FEof(dataSet.Eof()) {}
    void Restore() {
        if (FEof || FRecNo <= 0) {
            FDataSet.Last();
            FDataSet.Next();
        } else {
            FDataSet.SetRecNo(FRecNo);
        }
    }

private:
    TDataSet& FDataSet;
    int FRecNo;
    bool FEof;
};

} // namespace

void TVeskCustomDBTreeView::BuildLazily(TDataSet& dataSet) {
    Items().BeginUpdate();
    FBuilding = true;
    const TCursor savedCursor = Screen().Cursor();
    Screen().SetCursor(crHourGlass);
    dataSet.DisableControls();
    bool controlsDisabled = true;
    auto restore = [&] {
        if (controlsDisabled) {
            controlsDisabled = false;
            dataSet.EnableControls();
        }
        FBuilding = false;
        Items().EndUpdate();
        Screen().SetCursor(savedCursor);
    };
    try {
        auto lazy = std::make_unique<TVeskLazyRecords>();
        TField& id = RequireField(0);
        TField& owner = RequireField(1);
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            lazy->Add(id.AsInteger(), owner.AsInteger());
        lazy->Group();
        Items().Clear();
        FLazy = std::move(lazy);
        TPositionKeeper atEnd(dataSet); // where a full build leaves it
        PlaceLazyRecords(nullptr, 0);
        atEnd.Restore();
        if (Items().Count() > 0) {
            TTreeNode* first = Items().Item(0);
            SetSelected(first);
            first->SetExpanded(true);
        }
        controlsDisabled = false;
        dataSet.EnableControls(); // its notification ends at the guard
    } catch (...) {
        FLazy.reset();
        try {
            restore();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
    restore();
}

void TVeskCustomDBTreeView::PlaceLazyRecords(TTreeNode* parent, std::int32_t owner) {
    TDataSet& dataSet = *FDataLink->DataSet();
    const bool withImage = !FDataFields[3].empty();
    for (int group = FLazy->GroupOf(owner); group >= 0; group = FLazy->GroupOf(owner)) {
        dataSet.SetRecNo(FLazy->Take(group) + 1);
        TVeskTreeNode record(&Items());
        DoFillNode(&record);
        record.SetText(RequireField(2).AsString());
        record.ID = RequireField(0).AsInteger();
        record.OwnerID = RequireField(1).AsInteger();
        if (withImage)
            record.SetImageIndex(RequireField(3).AsInteger());
        TVeskTreeNode* placed = PlaceRecord(record, owner == 0 ? nullptr : parent);
        if (placed && placed->ID >= 0 && placed->OwnerID >= 0 && FLazy->Pending(placed->ID) > 0)
            placed->SetHasChildren(true);
    }
}

int TVeskCustomDBTreeView::PendingChildCount(const TTreeNode* node) const {
    const auto* veskNode = dynamic_cast<const TVeskTreeNode*>(node);
    if (!FLazy || !veskNode || veskNode->ID < 0 || veskNode->OwnerID < 0 || !FDataLink->Active())
        return 0;
    return FLazy->Pending(veskNode->ID);
}

void TVeskCustomDBTreeView::LoadPendingChildren(TTreeNode* node) {
    if (PendingChildCount(node) == 0)
        return;
    // The data set is walked to the records and put back where it stood. Its controls
    // stay enabled: disabling them would end in a change notice that rebuilds every
    // other view of the data set.
    TDataSet& dataSet = *FDataLink->DataSet();
    TPositionKeeper position(dataSet);
    Items().BeginUpdate();
    const bool wasBuilding = FBuilding;
    FBuilding = true;
    auto restore = [&] {
        FBuilding = wasBuilding;
        Items().EndUpdate();
        position.Restore();
    };
    try {
        PlaceLazyRecords(node, AsVeskNode(node)->ID);
        node->SetHasChildren(false);
    } catch (...) {
        try {
            restore();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
    restore();
}

void TVeskCustomDBTreeView::LoadChildren(TTreeNode* node) {
    LoadPendingChildren(node);
}

void TVeskCustomDBTreeView::MarkPendingChildren() {
    for (int i = 0; i < Items().Count(); ++i) {
        TTreeNode* node = Items().Item(i);
        if (!node->GetFirstChild() && PendingChildCount(node) > 0)
            node->SetHasChildren(true);
    }
}

void TVeskCustomDBTreeView::DestroyWnd() {
    if (HasParent() && Items().Count() > 0) {
        SaveTree();
        SaveState();
    }
    TCustomTreeView::DestroyWnd();
}

void TVeskCustomDBTreeView::CreateWnd() {
    if (!HasParent())
        return;
    TCustomTreeView::CreateWnd();
    Items().BeginUpdate();
    try {
        // The host restored plain nodes without identifiers: place the saved records.
        Items().Clear();
        BuildNode(nullptr);
        if (FLazy)
            MarkPendingChildren();
        LoadState();
    } catch (...) {
        Items().EndUpdate();
        throw;
    }
    Items().EndUpdate();
}

void TVeskCustomDBTreeView::RefreshTree() {
    TDataSet* dataSet = FDataLink->DataSet();
    if (!dataSet)
        return;
    Items().BeginUpdate();
    try {
        SaveState();
        TTVChangedEvent onChange = std::move(OnChange);
        OnChange = nullptr;
        try {
            dataSet->Close(); // the link's notification empties the tree
        } catch (...) {
            OnChange = std::move(onChange);
            throw;
        }
        OnChange = std::move(onChange);
        dataSet->Open(); // the link's notification rebuilds it
        LoadState();
    } catch (...) {
        Items().EndUpdate();
        throw;
    }
    Items().EndUpdate();
}

TTreeNode* TVeskCustomDBTreeView::GetLastNodeAtLevel(TTreeNode* node, int level) const {
    for (int step = 1; node && step < level; ++step) {
        TTreeNode* last = node->GetLastChild();
        if (!last)
            break;
        node = last;
    }
    return node;
}

TTreeNode* TVeskCustomDBTreeView::GetNodeAtID(long double id) const {
    for (int i = 0; i < Items().Count(); ++i) {
        TTreeNode* node = Items().Item(i);
        const TVeskTreeNode* veskNode = AsVeskNode(node);
        if (veskNode && static_cast<long double>(veskNode->ID) == id)
            return node;
    }
    return nullptr;
}

void TVeskCustomDBTreeView::GetNodeInfo(TTreeNode* node, TVeskNodeInfo& info) const {
    if (const TVeskTreeNode* veskNode = AsVeskNode(node)) {
        veskNode->GetNodeInfo(info);
        return;
    }
    info = TVeskNodeInfo{};
    if (node) {
        info.ImageIndex = node->ImageIndex();
        info.Data = node->Data();
        info.Text = node->Text();
    }
}

// ---- field-name editors

void TDBStringProperty::GetValues(const TGetStrProc& proc) {
    TStringList values; // freed on every path, errors included
    FillValueList(values);
    for (int i = 0; i < values.Count(); ++i)
        proc(values[i]);
}

void TDataFieldProperty::FillValueList(TStringList& list) {
    const TComponent& component = *GetComponent(0);
    const TPropInfo* prop = vesk::GetPropInfo(component.ClassInfo(), DataSourcePropName());
    if (!prop || prop->Kind != TTypeKind::tkClass)
        return;
    const TComponent* source = component.GetRef(prop->Name);
    if (!source)
        return;
    if (!source->InheritsFrom("TDataSource"))
        throw EInvalidCast("Invalid class typecast");
    if (const TComponent* dataSet = source->GetRef("DataSet"))
        GetModelFieldNames(*dataSet, list);
}

} // namespace vesk
