#include "library/dbtree/VeskDBTree.h"

#include "platform/controls/Forms.h"

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

void TVeskDBTreeDataLink::ActiveChanged() {
    if (TreeView)
        TreeView->BuildTree();
}

void TVeskDBTreeDataLink::DataSetChanged() {
    if (TreeView)
        TreeView->BuildTree();
}

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
    dataSet.First();
    while (!dataSet.Eof()) {
        FNodes.push_back(std::make_unique<TVeskTreeNode>(&Items()));
        TVeskTreeNode* record = FNodes.back().get();
        DoFillNode(record);
        record->SetText(RequireField(2).AsString());
        record->ID = RequireField(0).AsInteger();
        record->OwnerID = RequireField(1).AsInteger();
        if (withImage)
            record->SetImageIndex(RequireField(3).AsInteger());
        dataSet.Next();
    }
}

void TVeskCustomDBTreeView::BuildTree() {
    if (FBuilding || ComponentState().test(csLoading) || !FDataLink->DataSet())
        return;
    if (FDataFields[0].empty() || FDataFields[1].empty() || FDataFields[2].empty())
        return;
    if (!FDataLink->Active()) {
        Items().Clear();
        return;
    }
    TDataSet& dataSet = *FDataLink->DataSet();
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

TVeskTreeNode* TVeskCustomDBTreeView::PlaceRecord(std::unique_ptr<TVeskTreeNode> record,
                                                  TTreeNode* parent) {
    TTreeNode* node = Items().AddChild(parent, record->Text());
    TVeskTreeNode* veskNode = AsVeskNode(node);
    if (veskNode) {
        veskNode->ID = record->ID;
        veskNode->OwnerID = record->OwnerID;
    }
    node->SetImageIndex(record->ImageIndex());
    node->SetSelectedIndex(record->ImageIndex());
    node->SetData(record->Data());
    DoCreateNode(node);
    return veskNode;
}

void TVeskCustomDBTreeView::BuildNode(TTreeNode* node) {
    // A walk for owner P places every pending record of P it meets, so the records of
    // P always leave from the front of P's records in list order. Chaining each
    // owner's records (Next) and taking from the front of the chain gives the same
    // placements, in the same order, as walking the whole pending list for every
    // node, in linear time. An explicit stack stands for the recursion, so that deep
    // trees cannot exhaust the call stack.
    const int count = NodeCount();
    if (count == 0)
        return;
    std::vector<int> next(count, -1);
    std::unordered_map<std::int32_t, int> first;
    first.reserve(count);
    for (int i = count - 1; i >= 0; --i) {
        auto [slot, added] = first.try_emplace(FNodes[i]->OwnerID, i);
        if (!added) {
            next[i] = slot->second;
            slot->second = i;
        }
    }
    struct TWalk {
        int* Front;        // first pending record of the owner; -1 when none is left
        TTreeNode* Parent; // none when the records become roots
    };
    std::vector<TWalk> walks;
    auto startWalk = [&](std::int32_t owner, TTreeNode* parent) {
        const auto slot = first.find(owner);
        if (slot != first.end() && slot->second >= 0)
            walks.push_back({&slot->second, owner == 0 ? nullptr : parent});
    };
    // Placed records leave holes in the pending list until the walk is over.
    auto compact = [&] {
        FNodes.erase(std::remove(FNodes.begin(), FNodes.end(), nullptr), FNodes.end());
    };
    try {
        const TVeskTreeNode* veskParent = AsVeskNode(node);
        startWalk(node ? (veskParent ? veskParent->ID : -1) : 0, node);
        while (!walks.empty()) {
            TWalk& walk = walks.back();
            const int index = *walk.Front;
            if (index < 0) {
                walks.pop_back();
                continue;
            }
            *walk.Front = next[index];
            TVeskTreeNode* placed = PlaceRecord(std::move(FNodes[index]), walk.Parent);
            if (placed && placed->ID >= 0 && placed->OwnerID >= 0)
                startWalk(placed->ID, placed);
        }
    } catch (...) {
        compact();
        throw;
    }
    compact();
}

void TVeskCustomDBTreeView::ClearNodes() {
    FNodes.clear();
}

TVeskTreeNode* TVeskCustomDBTreeView::GetNode(int index) const {
    if (index < 0 || index >= NodeCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FNodes[index].get();
}

void TVeskCustomDBTreeView::SetNode(int index, std::unique_ptr<TVeskTreeNode> node) {
    if (index < 0 || index >= NodeCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    FNodes[index] = std::move(node);
}

void TVeskCustomDBTreeView::SaveTree() {
    for (int i = 0; i < Items().Count(); ++i) {
        TTreeNode* node = Items().Item(i);
        auto copy = std::make_unique<TVeskTreeNode>(&Items());
        copy->SetText(node->Text());
        if (const TVeskTreeNode* veskNode = AsVeskNode(node)) {
            copy->ID = veskNode->ID;
            copy->OwnerID = veskNode->OwnerID;
        }
        copy->SetImageIndex(node->ImageIndex());
        copy->SetData(node->Data());
        FNodes.push_back(std::move(copy));
    }
}

void TVeskCustomDBTreeView::SaveState() {
    FSavedIndex = 0;
    FSavedExpanded = true;
    if (TTreeNode* selected = Selected()) {
        FSavedIndex = selected->AbsoluteIndex();
        FSavedExpanded = selected->Expanded();
    }
}

void TVeskCustomDBTreeView::LoadState() {
    if (Items().Count() > FSavedIndex && FSavedIndex >= 0) {
        TTreeNode* node = Items().Item(FSavedIndex);
        SetSelected(node);
        node->SetExpanded(FSavedExpanded);
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

} // namespace vesk
