// The data-aware tree view's logic: it fills a tree from the records of a data set in
// which every record names itself (ID) and its owner (OwnerID), follows the data set
// through a data link, and keeps its nodes across a re-creation of its window. The
// widget draws this model and forwards to it.
#pragma once

#include "platform/controls/ComCtrls.h"
#include "platform/data/DB.h"
#include "platform/design/PropertyEditors.h"
#include "platform/rtl/LargeMemory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

struct TVeskNodeInfo {
    std::int32_t ID = -1;
    std::int32_t OwnerID = -1;
    std::int32_t ImageIndex = 0;
    void* Data = nullptr;
    std::string Text;
};

// A node that also carries its record's identifiers (-1 until set).
class TVeskTreeNode : public TTreeNode {
public:
    explicit TVeskTreeNode(TTreeNodes* owner) : TTreeNode(owner) {}
    void GetNodeInfo(TVeskNodeInfo& info) const;

    std::int32_t ID = -1;
    std::int32_t OwnerID = -1;
};

// The view's pending records: detached nodes in list order. Nodes it makes itself
// come from blocks, so that a build of many records neither allocates nor frees them
// one by one.
class TVeskPendingList {
public:
    TVeskPendingList() = default;
    ~TVeskPendingList() { Clear(); }
    TVeskPendingList(const TVeskPendingList&) = delete;
    TVeskPendingList& operator=(const TVeskPendingList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    TVeskTreeNode* operator[](int index) const { return FItems[index].get(); }
    // Appends a new detached node of Owner and returns it.
    TVeskTreeNode* Add(TTreeNodes* owner);
    void Put(int index, std::unique_ptr<TVeskTreeNode> node);
    // Frees the entries whose index Remove accepts, keeping the others in order.
    template <typename Predicate>
    void RemoveIf(Predicate remove) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < FItems.size(); ++i)
            if (!remove(static_cast<int>(i)))
                FItems[kept++] = std::move(FItems[i]);
        FItems.resize(kept);
    }
    void Clear();

private:
    struct TDelete {
        bool Pooled = false;
        void operator()(TVeskTreeNode* node) const;
    };
    struct TBlock {
        std::byte* Memory;
        std::size_t Capacity; // nodes
    };
    static constexpr std::size_t FirstBlock = 256;
    TLargeVector<std::unique_ptr<TVeskTreeNode, TDelete>> FItems;
    std::vector<TBlock> FBlocks;
    std::size_t FUsed = 0; // nodes made in the last block
};

class TVeskCustomDBTreeView;
class TVeskLazyRecords;

// Rebuilds its view when the data set opens, closes or changes; scrolling leaves the
// tree alone.
class TVeskDBTreeDataLink : public TDataLink {
public:
    explicit TVeskDBTreeDataLink(TVeskCustomDBTreeView* treeView) : TreeView(treeView) {}
    TVeskCustomDBTreeView* TreeView; // not owned

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
};

class TVeskCustomDBTreeView : public TCustomTreeView, private TFreeNotifyClient {
public:
    TVeskCustomDBTreeView();
    ~TVeskCustomDBTreeView() override;

    TDataSource* GetDataSource() const;
    void SetDataSource(TDataSource* value);
    // Index 0 identifier, 1 owner identifier, 2 text, 3 image index. A new name
    // (compared exactly) rebuilds the tree.
    void SetDataField(int index, const std::string& value);
    const std::string& DataField(int index) const;
    // The field named by DataFields[Index] while the link is active, else none.
    TField* GetField(int index) const;

    std::unique_ptr<TTreeNode> CreateNode() override;
    void DestroyWnd() override;
    void CreateWnd() override;

    // Rebuilds the whole tree from the data set.
    virtual void BuildTree();
    // Places the pending records owned by Node (by the root level when Node is none),
    // depth first, each record at most once.
    virtual void BuildNode(TTreeNode* node);
    virtual void SaveState();
    virtual void LoadState();
    // Appends a pending copy of every node, in absolute order.
    virtual void SaveTree();
    // Closes and opens the data set again, keeping the selected position.
    virtual void RefreshTree();
    virtual TTreeNode* GetLastNodeAtLevel(TTreeNode* node, int level) const;
    // The first node, in absolute order, whose ID equals ID numerically; none if none.
    virtual TTreeNode* GetNodeAtID(long double id) const;
    void GetNodeInfo(TTreeNode* node, TVeskNodeInfo& info) const;

    // The pending records.
    void ClearNodes();
    int NodeCount() const { return FNodes.Count(); }
    TVeskTreeNode* GetNode(int index) const;
    void SetNode(int index, std::unique_ptr<TVeskTreeNode> node);

    // Beyond the host's behaviour, both off by default:
    // RefreshTree selects the node of the same ID again (by position when it is gone).
    bool KeepSelectionByID() const { return FKeepSelectionByID; }
    void SetKeepSelectionByID(bool value) { FKeepSelectionByID = value; }
    // A build reads only the identifiers and places the roots; a node's children are
    // placed when it is first expanded (the data set must stay open), each with
    // OnFillNode raised then. Once every node is expanded the tree is the one a full
    // build makes (for records with distinct IDs); GetNodeAtID finds placed nodes only.
    // Expanding leaves the data set on the record it stood on. Takes effect at the
    // next build.
    bool LoadOnExpand() const { return FLoadOnExpand; }
    void SetLoadOnExpand(bool value) { FLoadOnExpand = value; }
    // Children of Node held back by LoadOnExpand, and placing them.
    int PendingChildCount(const TTreeNode* node) const;
    void LoadPendingChildren(TTreeNode* node);

    bool Building() const { return FBuilding; }
    TVeskDBTreeDataLink* DataLink() const { return FDataLink.get(); }
    std::int32_t SavedIndex() const { return FSavedIndex; }
    bool SavedExpanded() const { return FSavedExpanded; }

    const TNodeEvent& OnCreateNode() const { return FOnCreateNode; }
    void SetOnCreateNode(TNodeEvent value) { FOnCreateNode = std::move(value); }
    const TNodeEvent& OnFillNode() const { return FOnFillNode; }
    void SetOnFillNode(TNodeEvent value) { FOnFillNode = std::move(value); }
    const TNodeEvent& OnDestroyNode() const { return FOnDestroyNode; }
    void SetOnDestroyNode(TNodeEvent value) { FOnDestroyNode = std::move(value); }

    // The published data properties.
    const std::string& DataFieldID() const { return FDataFields[0]; }
    void SetDataFieldID(const std::string& value) { SetDataField(0, value); }
    const std::string& DataFieldOwnerID() const { return FDataFields[1]; }
    void SetDataFieldOwnerID(const std::string& value) { SetDataField(1, value); }
    const std::string& DataFieldText() const { return FDataFields[2]; }
    void SetDataFieldText(const std::string& value) { SetDataField(2, value); }
    const std::string& DataFieldImageIndex() const { return FDataFields[3]; }
    void SetDataFieldImageIndex(const std::string& value) { SetDataField(3, value); }

protected:
    void LoadChildren(TTreeNode* node) override;
    virtual void DoCreateNode(TTreeNode* node);
    virtual void DoDestroyNode(TTreeNode* node);
    virtual void DoFillNode(TTreeNode* node);

private:
    void FreeNotification(TObject* component) override;
    void ReadRecords(TDataSet& dataSet);
    TField& RequireField(int index) const;
    TVeskTreeNode* PlaceRecord(const TVeskTreeNode& record, TTreeNode* parent);
    void BuildLazily(TDataSet& dataSet);
    // Places the held-back records owned by Owner under Parent (roots for owner 0).
    void PlaceLazyRecords(TTreeNode* parent, std::int32_t owner);
    void MarkPendingChildren();

    bool FBuilding = false;
    std::array<std::string, 4> FDataFields;
    std::uint64_t FDataFieldsVersion = 0; // counts changes of FDataFields
    TNodeEvent FOnCreateNode;
    TNodeEvent FOnFillNode;
    TNodeEvent FOnDestroyNode;
    std::unique_ptr<TVeskDBTreeDataLink> FDataLink;
    TVeskPendingList FNodes;
    std::int32_t FSavedIndex = 0;
    bool FSavedExpanded = false;
    std::optional<std::int32_t> FSavedID;
    bool FKeepSelectionByID = false;
    bool FLoadOnExpand = false;
    std::unique_ptr<TVeskLazyRecords> FLazy;
};

// A string property whose inspector offers a sorted drop-down list of values, also
// for several components at once; the user may still type any value.
class TDBStringProperty : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() const override {
        return {paValueList, paMultiSelect, paSortList};
    }
    // Proc with each value FillValueList gives, in its order.
    void GetValues(const TGetStrProc& proc) override;

protected:
    virtual void FillValueList(TStringList& list) = 0;
};

// The field names of the data set that the first edited component's data source
// (its property DataSourcePropName) feeds from; any component with a published
// DataSource works. Raises EInvalidCast when that property names an object that is
// not a data source.
class TDataFieldProperty : public TDBStringProperty {
public:
    using TDBStringProperty::TDBStringProperty;
    virtual std::string DataSourcePropName() const { return "DataSource"; }
    void FillValueList(TStringList& list) override;
};

} // namespace vesk
