// The Field Expert without its window: the data set lines of the first page, the
// field list of the second, and the generation of a caption label and a data-aware
// editor per chosen field on the designed form.
#pragma once

#include "platform/data/DB.h"
#include "platform/forms/Component.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vesk {

// One line of the data set list, with the two components it was made from, so that
// names longer than the 16-character columns still lead back to them.
struct TDataSetLine {
    std::string Text;
    TComponent* DataSet = nullptr;
    TComponent* DataSource = nullptr; // none: no data source feeds from the data set
};

// What the generation reads of a field.
struct TFieldInfo {
    std::string FieldName;
    std::string DisplayLabel;
    int DisplayWidth = 0;
    TFieldType DataType = ftUnknown;
};

enum TLabelPos { lpLabelUp = 0, lpLabelLeft = 1 };

// The designed form's font size in points: Font.Size, else what Font.Height and
// PixelsPerInch give, else the host's default of 8.
int FormFontSize(const TComponent& form);

class TFieldExpertLogic {
public:
    // FormFolder: where the form file lies; a relative DatabaseName is taken from there.
    TFieldExpertLogic(TComponent& designForm, std::string formFolder);
    ~TFieldExpertLogic();

    // Page 0: a line for each TDBDataSet of the form with the first data source that
    // feeds from it; true when there is at least one. ItemIndex becomes 0.
    bool ReadDataSet();
    std::vector<TDataSetLine> DataSetLines;
    int ItemIndex = -1;

    // Page 1: opens the data set of the selected line and returns its field names
    // in the Create list's (alphabetical) order. Raises EDatabaseError when it cannot
    // be opened.
    std::vector<std::string> ReadFields();
    // The fields of the open data set, in field order.
    const std::vector<TFieldInfo>& Fields() const { return FFields; }
    // Raises EDatabaseError "Field 'NAME' not found".
    const TFieldInfo& FieldByName(const std::string& name) const;

    // Page 2.
    int LabelPos = lpLabelUp;
    bool UseDateEdit = true;

    // Create: places a label and an editor for each name of CreateList, in order. A
    // naming error stops it at that field and passes on; what was made stays.
    void bnCreateClick(const std::vector<std::string>& createList);
    TComponent* CreateLabel(const std::string& caption);
    void SetEdParam(TComponent* editor);

    TComponent* DesignForm;
    TComponent* DataSrc = nullptr;
    const TFieldInfo* CurField = nullptr;
    std::uint16_t EdLeft = 0;
    std::uint16_t CurTop = 0;
    std::uint16_t DispWidth = 0;
    // Everything the last run created and kept, in creation order.
    std::vector<TComponent*> Created;

private:
    bool OwnedByForm(const TComponent* c) const;
    void OpenDataSet(TComponent& dataSet);

    std::string FFormFolder;
    std::unique_ptr<TDataSet> FOpen;
    std::vector<TFieldInfo> FFields;
};

} // namespace vesk
