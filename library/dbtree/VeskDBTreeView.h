// TVeskDBTreeView: the data-aware tree view as a Qt widget. A QTreeView that draws,
// scrolls, expands, selects and edits the nodes its logic (TVeskCustomDBTreeView)
// built, through a model adapter over those nodes, with images from an image list.
// The host tree view's look (ShowButtons, ShowLines, ShowRoot, ReadOnly,
// HideSelection, Indent, BorderStyle) is the logic's; changing BorderStyle
// re-creates the widget's native part through DestroyWnd / CreateWnd. The events
// are signals.
#pragma once

#include "library/dbtree/VeskDBTree.h"
#include "platform/graphics/Graphics.h"
#include "platform/qt/ImageList.h"
#include "platform/qt/TreeNodesModel.h"

#include <QPointer>
#include <QTreeView>

#include <functional>
#include <memory>

namespace vesk {

class TClassInfo;

class TVeskDBTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit TVeskDBTreeView(QWidget* parent = nullptr);
    ~TVeskDBTreeView() override;

    // The logic: the nodes, the data link, BuildTree, RefreshTree, GetNodeAtID, ...
    TVeskCustomDBTreeView& Tree() { return *FTree; }
    const TVeskCustomDBTreeView& Tree() const { return *FTree; }
    TTreeNodes& Items() { return FTree->Items(); }

    // The host's font and background colour of the view.
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& font);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    TImageList* Images() const { return FImages.data(); }
    void SetImages(TImageList* images);
    TImageList* StateImages() const { return FStateImages.data(); }
    void SetStateImages(TImageList* images) { FStateImages = images; }

    // The node an index shows, and the index of a node (invalid while the native
    // part is re-created).
    TTreeNode* NodeAt(const QModelIndex& index) const { return TTreeNodesModel::NodeAt(index); }
    QModelIndex IndexOf(const TTreeNode* node) const;
    TTreeNodesModel* NodesModel() const { return FModel; }
    // How many times the native part was made (1 after construction).
    int WindowGeneration() const { return FWindowGeneration; }

signals:
    void OnChange(vesk::TTreeNode* node);
    void OnChanging(vesk::TTreeNode* node, bool& allowChange);
    void OnExpanding(vesk::TTreeNode* node, bool& allowExpansion);
    void OnExpanded(vesk::TTreeNode* node);
    void OnCollapsing(vesk::TTreeNode* node, bool& allowCollapse);
    void OnCollapsed(vesk::TTreeNode* node);
    void OnEditing(vesk::TTreeNode* node, bool& allowEdit);
    void OnEdited(vesk::TTreeNode* node, QString& text);
    void OnDeletion(vesk::TTreeNode* node);
    void OnFillNode(vesk::TTreeNode* node);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    // The style's expand marks (ShowButtons), and the host's dotted lines joining each
    // node to its parent and its siblings (ShowLines).
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    class TLogic;
    friend class TLogic;

    // Every call from a Qt event into the logic goes through here.
    void Forward(const std::function<void()>& action);
    void MakeNativePart();
    void DropNativePart();
    void ApplyLook();
    // After the model was reset: the expanded nodes, the selection and the scroll
    // position come back from the logic.
    void SyncFromNodes();
    void SyncSelection();
    void NodeExpandedChanged(TTreeNode* node);
    QIcon IconOf(const TTreeNode& node, bool selected) const;

    std::unique_ptr<TVeskCustomDBTreeView> FTree; // a TLogic
    TTreeNodesModel* FModel = nullptr;
    QPointer<TImageList> FImages;
    QPointer<TImageList> FStateImages;
    bool FSyncing = false; // the widget is following the logic: no user events
    int FScrollBefore = 0;
    TFont FFont;
    TColor FColor = clWindow;
    int FWindowGeneration = 0;
};

// The registered class TVeskDBTreeView with its live binding (registered on first use).
const TClassInfo& VeskDBTreeViewClass();

namespace VeskDBTree {
// Puts TVeskDBTreeView on the palette page "Vesk" and gives its four data-field
// properties the field-name editor.
void Register();
} // namespace VeskDBTree

} // namespace vesk
