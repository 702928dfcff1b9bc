#include "expert/fieldexpert/FldExpLogic.h"

#include "platform/data/DBTables.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vesk {

namespace {

// Rounds a * b / c to the nearest integer, halves away from zero.
std::int64_t MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t p = a * b;
    const std::int64_t half = c / 2;
    return (p >= 0) == (c > 0) ? (p + half) / c : (p - half) / c;
}

// The data type a persistent field component stands for.
TFieldType TypeOfFieldClass(const TComponent& f) {
    static const std::pair<const char*, TFieldType> classes[] = {
        {"TAutoIncField", ftAutoInc}, {"TSmallintField", ftSmallint}, {"TWordField", ftWord},
        {"TIntegerField", ftInteger}, {"TCurrencyField", ftCurrency}, {"TFloatField", ftFloat},
        {"TBCDField", ftBCD},         {"TBooleanField", ftBoolean},   {"TDateField", ftDate},
        {"TTimeField", ftTime},       {"TDateTimeField", ftDateTime}, {"TMemoField", ftMemo},
        {"TGraphicField", ftGraphic}, {"TBlobField", ftBlob},         {"TStringField", ftString}};
    for (const auto& [name, type] : classes)
        if (f.InheritsFrom(name))
            return type;
    return ftUnknown;
}

std::string Padded(const std::string& s) {
    return s.size() >= 16 ? s : s + std::string(16 - s.size(), ' ');
}

} // namespace

int FormFontSize(const TComponent& form) {
    std::int64_t size = form.GetInt("Font.Size", 0);
    if (size == 0 && form.HasProperty("Font.Height")) {
        std::int64_t ppi = form.GetInt("PixelsPerInch", 96);
        if (ppi <= 0)
            ppi = 96;
        size = -MulDiv(form.GetInt("Font.Height"), 72, ppi);
    }
    if (size < 0)
        size = -size; // a positive height gives the cell height, a size all the same
    return size == 0 ? 8 : static_cast<int>(std::min<std::int64_t>(size, 32767));
}

TFieldExpertLogic::TFieldExpertLogic(TComponent& designForm, std::string formFolder)
    : DesignForm(&designForm), FFormFolder(std::move(formFolder)) {}

TFieldExpertLogic::~TFieldExpertLogic() = default;

bool TFieldExpertLogic::ReadDataSet() {
    DataSetLines.clear();
    for (int i = 0; i < DesignForm->ComponentCount(); ++i) {
        TComponent* c = DesignForm->Components(i);
        if (!c->InheritsFrom("TDBDataSet"))
            continue;
        TDataSetLine line;
        line.DataSet = c;
        for (int j = 0; j < DesignForm->ComponentCount(); ++j) {
            TComponent* s = DesignForm->Components(j);
            if (s->InheritsFrom("TDataSource") && s->GetRef("DataSet") == c) {
                line.DataSource = s;
                break;
            }
        }
        line.Text = Padded(c->Name()) + ' ' +
                    Padded(line.DataSource ? line.DataSource->Name() : std::string());
        DataSetLines.push_back(std::move(line));
    }
    ItemIndex = DataSetLines.empty() ? -1 : 0;
    return !DataSetLines.empty();
}

bool TFieldExpertLogic::OwnedByForm(const TComponent* c) const {
    for (int i = 0; i < DesignForm->ComponentCount(); ++i)
        if (DesignForm->Components(i) == c)
            return true;
    return false;
}

void TFieldExpertLogic::OpenDataSet(TComponent& dataSet) {
    std::unique_ptr<TDBDataSet> live;
    if (dataSet.InheritsFrom("TTable")) {
        auto table = std::make_unique<TTable>();
        table->SetTableName(dataSet.GetString("TableName"));
        live = std::move(table);
    } else if (dataSet.InheritsFrom("TQuery")) {
        auto query = std::make_unique<TQuery>();
        if (const TProperty* sql = dataSet.FindProperty("SQL.Strings"))
            for (const TValue& line : sql->Value.Items)
                query->SQL().Add(line.Text);
        live = std::move(query);
    } else {
        throw EDatabaseError(dataSet.Name() + ": a " + dataSet.ClassName() +
                             " cannot be opened here; use a TTable or a TQuery");
    }
    std::filesystem::path database = dataSet.GetString("DatabaseName");
    if (database.empty())
        throw EDatabaseError(dataSet.Name() + ": no DatabaseName");
    if (database.is_relative() && !FFormFolder.empty())
        database = std::filesystem::path(FFormFolder) / database;
    live->SetDatabaseName(database.string());
    live->Open();

    // Persistent field components of the data set stand for its fields, as in the
    // designer: only they exist, with their own captions and widths.
    FFields.clear();
    for (int i = 0; i < DesignForm->ComponentCount(); ++i) {
        const TComponent* f = DesignForm->Components(i);
        if (!f->InheritsFrom("TField") ||
            (f->StreamParent() != &dataSet && f->GetRef("DataSet") != &dataSet))
            continue;
        TFieldInfo info;
        info.FieldName = f->GetString("FieldName");
        const TField* column = live->FieldByName(info.FieldName);
        info.DataType = TypeOfFieldClass(*f);
        if (info.DataType == ftUnknown)
            info.DataType = column->DataType();
        info.DisplayLabel =
            f->HasProperty("DisplayLabel") ? f->GetString("DisplayLabel") : info.FieldName;
        info.DisplayWidth = static_cast<int>(f->GetInt(
            "DisplayWidth", f->HasProperty("Size") ? f->GetInt("Size") : column->DisplayWidth()));
        FFields.push_back(std::move(info));
    }
    if (FFields.empty())
        for (int i = 0; i < live->FieldCount(); ++i) {
            const TField* f = live->Fields(i);
            FFields.push_back(
                {f->FieldName(), f->DisplayLabel(), f->DisplayWidth(), f->DataType()});
        }
    FOpen = std::move(live);
}

std::vector<std::string> TFieldExpertLogic::ReadFields() {
    if (ItemIndex < 0 || ItemIndex >= static_cast<int>(DataSetLines.size()))
        throw EListError("List index out of bounds (" + IntToStr(ItemIndex) + ")");
    TComponent* dataSet = DataSetLines[static_cast<std::size_t>(ItemIndex)].DataSet;
    if (!OwnedByForm(dataSet))
        throw EDatabaseError("the data set of the chosen line is no longer on the form");
    OpenDataSet(*dataSet);
    std::vector<std::string> names;
    for (const TFieldInfo& f : FFields)
        names.push_back(f.FieldName);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareText(a, b) < 0;
    });
    return names;
}

const TFieldInfo& TFieldExpertLogic::FieldByName(const std::string& name) const {
    for (const TFieldInfo& f : FFields)
        if (SameText(f.FieldName, name))
            return f;
    throw EDatabaseError("Field '" + name + "' not found");
}

TComponent* TFieldExpertLogic::CreateLabel(const std::string& caption) {
    auto* label = new TComponent("TLabel", DesignForm);
    try {
        label->SetInt("Top", CurTop + 2);
        label->SetInt("Height", 13);
        label->SetString("Caption", caption);
        if (LabelPos == lpLabelLeft) {
            label->SetBool("AutoSize", false);
            label->SetInt("Width", static_cast<int>(EdLeft) - 16);
            label->SetIdent("Alignment", "taRightJustify");
        }
        label->SetInt("Left", 8);
        label->SetName("lb" + CurField->FieldName);
        label->SetParent(DesignForm);
    } catch (...) {
        label->Free();
        throw;
    }
    return label;
}

void TFieldExpertLogic::SetEdParam(TComponent* editor) {
    try {
        editor->SetInt("Top", CurTop);
        editor->SetInt("Height", 20);
        editor->SetInt("Width",
                       static_cast<std::int64_t>(FormFontSize(*DesignForm)) * DispWidth + 5);
        editor->SetInt("Left", EdLeft);
        editor->SetParent(DesignForm);
        editor->SetName("ed" + CurField->FieldName);
    } catch (...) {
        editor->Free();
        throw;
    }
    // The designer numbers the form's windowed controls in the order they are placed.
    int tabOrder = 0;
    for (const TComponent* c : DesignForm->Children())
        if (c != editor && c->Parent() == DesignForm && c->InheritsFrom("TWinControl"))
            ++tabOrder;
    editor->SetInt("TabOrder", tabOrder);
}

void TFieldExpertLogic::bnCreateClick(const std::vector<std::string>& createList) {
    Created.clear();
    CurField = nullptr;
    if (ItemIndex < 0 || ItemIndex >= static_cast<int>(DataSetLines.size()))
        throw EListError("List index out of bounds (" + IntToStr(ItemIndex) + ")");
    const TDataSetLine& line = DataSetLines[static_cast<std::size_t>(ItemIndex)];
    TComponent* dataSet = OwnedByForm(line.DataSet) ? line.DataSet : nullptr;
    DataSrc = OwnedByForm(line.DataSource) ? line.DataSource : nullptr;
    if (!DataSrc) {
        DataSrc = new TComponent("TDataSource", DesignForm);
        DataSrc->SetRef("DataSet", dataSet);
        int k = 1;
        while (DesignForm->FindComponent("ds" + std::to_string(k)))
            ++k;
        DataSrc->SetName("ds" + std::to_string(k));
        Created.push_back(DataSrc);
    }
    const int s = FormFontSize(*DesignForm);
    CurTop = 8;
    EdLeft = 0;
    if (LabelPos == lpLabelLeft) {
        for (const std::string& name : createList) {
            const std::size_t l = FieldByName(name).DisplayLabel.size();
            if (l > EdLeft)
                EdLeft = static_cast<std::uint16_t>(l);
        }
        EdLeft = static_cast<std::uint16_t>(s * EdLeft + 16);
    } else {
        EdLeft = 8;
    }
    for (const std::string& name : createList) {
        CurField = &FieldByName(name);
        TComponent* label = CreateLabel(CurField->DisplayLabel);
        Created.push_back(label);
        if (LabelPos == lpLabelUp)
            CurTop = static_cast<std::uint16_t>(CurTop + s + 8);
        DispWidth = static_cast<std::uint16_t>(CurField->DisplayWidth);
        const bool dateEdit =
            (CurField->DataType == ftDate || CurField->DataType == ftDateTime) && UseDateEdit;
        auto* editor = new TComponent(dateEdit ? "TDBDateEdit" : "TDBEdit", DesignForm);
        SetEdParam(editor);
        editor->SetRef("DataSource", DataSrc);
        editor->SetString("DataField", CurField->FieldName);
        label->SetRef("FocusControl", editor);
        Created.push_back(editor);
        CurTop = static_cast<std::uint16_t>(CurTop + s + 16);
    }
}

} // namespace vesk
