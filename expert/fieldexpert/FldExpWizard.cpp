#include "expert/fieldexpert/FldExpWizard.h"

#include "platform/rtl/SysUtils.h"

namespace vesk {

void TFldExpWizard::SetDesignForm(TComponent& form, const std::string& folder) {
    FLogic = std::make_unique<TFieldExpertLogic>(form, folder);
}

TFieldExpertLogic& TFldExpWizard::Logic() const {
    if (!FLogic)
        throw Exception("The Field Expert has no designed form");
    return *FLogic;
}

bool TFldExpWizard::ReadDataSet() {
    TFieldExpertLogic& logic = Logic();
    const bool any = logic.ReadDataSet();
    C.lbDataSet.Clear();
    for (const TDataSetLine& line : logic.DataSetLines)
        C.lbDataSet.Add(line.Text);
    C.lbDataSet.SetItemIndex(logic.ItemIndex);
    return any;
}

void TFldExpWizard::ReadFields() {
    C.lbField.Clear();
    C.lbAField.Clear();
    try {
        TFieldExpertLogic& logic = Logic();
        logic.ItemIndex = C.lbDataSet.ItemIndex();
        for (const std::string& name : logic.ReadFields())
            C.lbField.Add(name);
    } catch (...) {
        SetButtons();
        throw;
    }
    SetButtons();
}

void TFldExpWizard::MoveSelected(IListBox& source, IListBox& dest) {
    for (int i = source.Count() - 1; i >= 0; --i)
        if (source.Selected(i)) {
            dest.AddObject(source.Strings(i), source.Objects(i));
            source.Delete(i);
        }
}

int TFldExpWizard::GetFirstSelection(const IListBox& list) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Selected(i))
            return i;
    return -1;
}

void TFldExpWizard::SetItem(IListBox& list, int index) {
    list.SetFocus();
    const int last = list.Count() - 1;
    if (index == -1)
        index = 0;
    else if (index > last)
        index = last;
    if (index >= 0 && index <= last)
        list.SetSelected(index, true);
    SetButtons();
}

void TFldExpWizard::SetButtons() {
    const bool available = C.lbAField.Count() > 0;
    const bool create = C.lbField.Count() > 0;
    C.sbAddField.SetEnabled(available);
    C.sbAddAllField.SetEnabled(available);
    C.sbDelField.SetEnabled(create);
    C.sbDelAllField.SetEnabled(create);
    C.bnNext.SetEnabled(create);
}

void TFldExpWizard::FormActivate() {
    C.bnCreate.SetLeft(C.bnNext.Left());
    C.bnCreate.SetTop(C.bnNext.Top());
    C.NB.SetPageIndex(pgDataSet);
}

void TFldExpWizard::NBPageChanged() {
    C.bnNext.SetVisible(true);
    C.bnCreate.SetVisible(false);
    switch (C.NB.PageIndex()) {
    case pgFields:
        ReadFields();
        break;
    case pgOptions:
        C.bnNext.SetVisible(false);
        C.bnCreate.SetVisible(true);
        break;
    default:
        break;
    }
}

void TFldExpWizard::bnNextClick() {
    C.NB.SetPageIndex(C.NB.PageIndex() + 1);
}

void TFldExpWizard::bnBackClick() {
    C.NB.SetPageIndex(C.NB.PageIndex() - 1);
}

void TFldExpWizard::sbAddFieldClick() {
    const int i = GetFirstSelection(C.lbAField);
    MoveSelected(C.lbAField, C.lbField);
    SetItem(C.lbAField, i);
}

void TFldExpWizard::sbDelFieldClick() {
    const int i = GetFirstSelection(C.lbField);
    MoveSelected(C.lbField, C.lbAField);
    SetItem(C.lbField, i);
}

void TFldExpWizard::MoveAll(IListBox& source, IListBox& dest) {
    for (int i = 0; i < source.Count(); ++i)
        dest.AddObject(source.Strings(i), source.Objects(i));
    source.Clear();
}

void TFldExpWizard::sbAddAllFieldClick() {
    MoveAll(C.lbAField, C.lbField);
    SetItem(C.lbAField, 0);
}

void TFldExpWizard::sbDelAllFieldClick() {
    MoveAll(C.lbField, C.lbAField);
    SetItem(C.lbField, 0);
}

void TFldExpWizard::bnCreateClick(bool useDateEdit, int labelPos) {
    TFieldExpertLogic& logic = Logic();
    logic.ItemIndex = C.lbDataSet.ItemIndex();
    logic.UseDateEdit = useDateEdit;
    logic.LabelPos = labelPos;
    std::vector<std::string> create;
    for (int i = 0; i < C.lbField.Count(); ++i)
        create.push_back(C.lbField.Strings(i));
    logic.bnCreateClick(create);
}

} // namespace vesk
