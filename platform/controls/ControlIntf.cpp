#include "platform/controls/ControlIntf.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <utility>

namespace vesk {

const TListBoxModel::TItem& TListBoxModel::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

TListBoxModel::TItem& TListBoxModel::Item(int index) {
    return const_cast<TItem&>(std::as_const(*this).Item(index));
}

int TListBoxModel::AddObject(const std::string& text, TObject* object) {
    auto at = FItems.end();
    if (FSorted)
        at = std::upper_bound(
            FItems.begin(), FItems.end(), text,
            [](const std::string& t, const TItem& item) { return CompareText(t, item.Text) < 0; });
    const int index = static_cast<int>(at - FItems.begin());
    FItems.insert(at, {text, object, false});
    if (FItemIndex >= index)
        ++FItemIndex;
    return index;
}

void TListBoxModel::Delete(int index) {
    Item(index);
    FItems.erase(FItems.begin() + index);
    if (FItemIndex == index)
        FItemIndex = -1;
    else if (FItemIndex > index)
        --FItemIndex;
}

void TListBoxModel::Clear() {
    FItems.clear();
    FItemIndex = -1;
}

void TListBoxModel::SetSelected(int index, bool selected) {
    Item(index).Selected = selected;
    if (!FMultiSelect && selected) {
        for (int i = 0; i < Count(); ++i)
            FItems[static_cast<std::size_t>(i)].Selected = i == index;
        FItemIndex = index;
    }
}

void TListBoxModel::SetItemIndex(int index) {
    if (index < -1 || index >= Count())
        index = -1;
    FItemIndex = index;
    if (!FMultiSelect)
        for (int i = 0; i < Count(); ++i)
            FItems[static_cast<std::size_t>(i)].Selected = i == index;
}

std::vector<std::string> TListBoxModel::Texts() const {
    std::vector<std::string> texts;
    for (const TItem& item : FItems)
        texts.push_back(item.Text);
    return texts;
}

std::vector<int> TListBoxModel::SelectedIndexes() const {
    std::vector<int> indexes;
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].Selected)
            indexes.push_back(i);
    return indexes;
}

void TNotebookModel::SetPageIndex(int value) {
    if (value < 0 || value >= FPageCount || value == FPageIndex)
        return;
    FPageIndex = value;
    if (OnPageChanged)
        OnPageChanged();
}

} // namespace vesk
