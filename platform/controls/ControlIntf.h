// What the add-in's engines need of the controls of a window, whatever shows them: a
// control's enabled and visible state and its place, a list box's items and selection,
// a notebook's page. Each comes with a plain model that keeps the state without a
// window (for engines run headless); Qt adapters live in platform/qt.
#pragma once

#include "platform/rtl/Classes.h"

#include <functional>
#include <string>
#include <vector>

namespace vesk {

// A control: enabled, shown (its own flag, whether or not its window is on the
// screen), and its Left and Top in its parent.
class IControl {
public:
    virtual ~IControl() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool value) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool value) = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void SetLeft(int value) = 0;
    virtual void SetTop(int value) = 0;
};

// A list box: items (text and an object the list does not own), which of them are
// selected, the item index and the input focus. A sorted list puts each new item in
// its place without regard to case (after the items equal to it). Indexes outside the
// items raise EListError.
class IListBox {
public:
    virtual ~IListBox() = default;
    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual TObject* Objects(int index) const = 0;
    // Returns where the item went.
    virtual int AddObject(const std::string& text, TObject* object) = 0;
    int Add(const std::string& text) { return AddObject(text, nullptr); }
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual bool Selected(int index) const = 0;
    virtual void SetSelected(int index, bool selected) = 0;
    // The item with the focus rectangle (the one selected, in a single-selection
    // list); -1 when none. Setting it in a single-selection list selects that item.
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual void SetFocus() = 0;
};

// A notebook of pages without tabs. Setting the page index to another existing page
// shows it and raises the page-changed event; other values change nothing.
class INotebook {
public:
    virtual ~INotebook() = default;
    virtual int PageCount() const = 0;
    virtual int PageIndex() const = 0;
    virtual void SetPageIndex(int value) = 0;
};

// The state of a control without a window.
class TControlState : public IControl {
public:
    explicit TControlState(bool enabled = true, bool visible = true, int left = 0, int top = 0)
        : FEnabled(enabled), FVisible(visible), FLeft(left), FTop(top) {}
    bool Enabled() const override { return FEnabled; }
    void SetEnabled(bool value) override { FEnabled = value; }
    bool Visible() const override { return FVisible; }
    void SetVisible(bool value) override { FVisible = value; }
    int Left() const override { return FLeft; }
    int Top() const override { return FTop; }
    void SetLeft(int value) override { FLeft = value; }
    void SetTop(int value) override { FTop = value; }

private:
    bool FEnabled, FVisible;
    int FLeft, FTop;
};

// A list box without a window; it counts how often it was given the focus.
class TListBoxModel : public IListBox {
public:
    explicit TListBoxModel(bool sorted = false, bool multiSelect = false)
        : FSorted(sorted), FMultiSelect(multiSelect) {}

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Strings(int index) const override { return Item(index).Text; }
    TObject* Objects(int index) const override { return Item(index).Object; }
    int AddObject(const std::string& text, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    bool Selected(int index) const override { return Item(index).Selected; }
    void SetSelected(int index, bool selected) override;
    int ItemIndex() const override { return FItemIndex; }
    void SetItemIndex(int index) override;
    void SetFocus() override { ++FFocusCount; }

    // The texts in order, and the indexes of the selected items.
    std::vector<std::string> Texts() const;
    std::vector<int> SelectedIndexes() const;
    int FocusCount() const { return FFocusCount; }

private:
    struct TItem {
        std::string Text;
        TObject* Object = nullptr;
        bool Selected = false;
    };
    const TItem& Item(int index) const;
    TItem& Item(int index);

    std::vector<TItem> FItems;
    bool FSorted;
    bool FMultiSelect;
    int FItemIndex = -1;
    int FFocusCount = 0;
};

// A notebook without a window; OnPageChanged runs after each change of page (an
// exception it raises reaches the caller of SetPageIndex).
class TNotebookModel : public INotebook {
public:
    explicit TNotebookModel(int pageCount, int pageIndex = 0)
        : FPageCount(pageCount), FPageIndex(pageIndex) {}
    int PageCount() const override { return FPageCount; }
    int PageIndex() const override { return FPageIndex; }
    void SetPageIndex(int value) override;
    std::function<void()> OnPageChanged;

private:
    int FPageCount;
    int FPageIndex;
};

} // namespace vesk
