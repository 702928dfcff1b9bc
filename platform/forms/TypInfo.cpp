#include "platform/forms/TypInfo.h"

#include "platform/rtl/SysUtils.h"

#include <map>
#include <memory>

namespace vesk {

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> props,
                       bool acceptsControls)
    : FName(std::move(name)), FParent(parent), FProps(std::move(props)),
      FAcceptsControls(acceptsControls || (parent && parent->FAcceptsControls)) {}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (SameText(c->FName, className))
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TPropInfo& p : c->FProps)
            if (SameText(p.Name, name))
                return &p;
    return nullptr;
}

namespace {

using K = TTypeKind;

TPropInfo Int(const char* n) {
    return {n, K::tkInteger, {}};
}
TPropInfo Str(const char* n) {
    return {n, K::tkString, {}};
}
TPropInfo Enum(const char* n) {
    return {n, K::tkEnumeration, {}};
}
TPropInfo Set(const char* n) {
    return {n, K::tkSet, {}};
}
TPropInfo Ref(const char* n, const char* type) {
    return {n, K::tkClass, type};
}
TPropInfo Event(const char* n) {
    return {n, K::tkMethod, {}};
}

// The classes the add-in works with, by the host library's hierarchy.
class TClassTable {
public:
    TClassTable() {
        auto* component = Add("TComponent", nullptr, {Str("Name"), Int("Tag")});
        auto* control =
            Add("TControl", component,
                {Int("Left"), Int("Top"), Int("Width"), Int("Height"), Enum("Align"),
                 Set("Anchors"), Str("Caption"), Str("Hint"), Enum("Cursor"), Enum("Color"),
                 Ref("Font", "TFont"), Enum("ParentFont"), Enum("Visible"), Enum("Enabled"),
                 Ref("PopupMenu", "TPopupMenu"), Ref("Action", "TBasicAction"), Event("OnClick")});
        auto* winControl =
            Add("TWinControl", control, {Int("TabOrder"), Enum("TabStop"), Event("OnEnter")});
        auto* graphic = Add("TGraphicControl", control, {});
        auto* scrolling = Add("TScrollingWinControl", winControl, {}, true);
        auto* customForm =
            Add("TCustomForm", scrolling,
                {Enum("BorderStyle"), Int("ClientWidth"), Int("ClientHeight"), Int("PixelsPerInch"),
                 Int("TextHeight"), Ref("ActiveControl", "TWinControl"), Ref("Menu", "TMainMenu"),
                 Enum("Position"), Event("OnCreate")});
        Add("TForm", customForm, {});
        Add("TFrame", scrolling, {});
        Add("TDataModule", component, {Event("OnCreate")});
        Add("TScrollBox", scrolling, {});
        auto* customPanel = Add("TCustomPanel", winControl, {Enum("BevelOuter")}, true);
        Add("TPanel", customPanel, {});
        Add("TGroupBox", winControl, {}, true);
        Add("TRadioGroup", winControl, {Int("ItemIndex"), Int("Columns")});
        Add("TPageControl", winControl, {Ref("ActivePage", "TTabSheet")});
        Add("TTabSheet", winControl, {}, true);
        Add("TNotebook", winControl, {Int("PageIndex")}, true);
        auto* label = Add("TCustomLabel", graphic,
                          {Enum("Alignment"), Enum("AutoSize"), Ref("FocusControl", "TWinControl"),
                           Enum("WordWrap"), Enum("Transparent")});
        Add("TLabel", label, {});
        Add("TDBText", label, {Str("DataField"), Ref("DataSource", "TDataSource")});
        Add("TBevel", graphic, {Enum("Shape")});
        Add("TImage", graphic, {});
        Add("TSpeedButton", graphic, {});
        auto* customEdit = Add("TCustomEdit", winControl, {Str("Text"), Int("MaxLength")});
        Add("TEdit", customEdit, {});
        Add("TMemo", customEdit, {});
        auto* maskEdit = Add("TCustomMaskEdit", customEdit, {Str("EditMask")});
        Add("TMaskEdit", maskEdit, {});
        Add("TDBEdit", maskEdit, {Str("DataField"), Ref("DataSource", "TDataSource")});
        auto* dateEdit = Add("TCustomDateEdit", maskEdit, {});
        Add("TDBDateEdit", dateEdit, {Str("DataField"), Ref("DataSource", "TDataSource")});
        Add("TDBMemo", customEdit, {Str("DataField"), Ref("DataSource", "TDataSource")});
        auto* checkBox = Add("TCustomCheckBox", winControl, {Enum("Checked"), Enum("State")});
        Add("TCheckBox", checkBox, {});
        Add("TDBCheckBox", checkBox, {Str("DataField"), Ref("DataSource", "TDataSource")});
        Add("TButton", winControl, {Enum("Default"), Enum("Cancel"), Int("ModalResult")});
        Add("TListBox", winControl, {Int("ItemHeight")});
        Add("TComboBox", winControl, {Str("Text")});
        Add("TDBGrid", winControl, {Ref("DataSource", "TDataSource")});
        Add("TDBNavigator", winControl, {Ref("DataSource", "TDataSource")});
        Add("TMainMenu", component, {Ref("Images", "TCustomImageList")});
        Add("TPopupMenu", component, {Ref("Images", "TCustomImageList")});
        Add("TMenuItem", component, {Str("Caption"), Int("ShortCut"), Event("OnClick")});
        Add("TImageList", component, {});
        Add("TTimer", component, {Int("Interval"), Enum("Enabled"), Event("OnTimer")});

        Add("TDataSource", component,
            {Ref("DataSet", "TDataSet"), Enum("AutoEdit"), Enum("Enabled")});
        auto* dataSet = Add("TDataSet", component, {Enum("Active"), Event("AfterOpen")});
        auto* bdeDataSet = Add("TBDEDataSet", dataSet, {Enum("CachedUpdates")});
        auto* dbDataSet = Add("TDBDataSet", bdeDataSet, {Str("DatabaseName"), Str("SessionName")});
        Add("TTable", dbDataSet,
            {Str("TableName"), Str("IndexName"), Str("MasterFields"), Str("Filter"),
             Ref("MasterSource", "TDataSource"), Enum("ReadOnly")});
        Add("TQuery", dbDataSet,
            {Ref("SQL", "TStrings"), Ref("DataSource", "TDataSource"), Enum("RequestLive")});
        Add("TStoredProc", dbDataSet, {Str("StoredProcName")});
        Add("TClientDataSet", dataSet, {Str("FileName")});
        Add("TMemoryTable", dataSet, {});

        auto* field = Add("TField", component,
                          {Str("FieldName"), Str("DisplayLabel"), Int("DisplayWidth"),
                           Enum("Visible"), Enum("Required"), Ref("DataSet", "TDataSet")});
        auto* stringField = Add("TStringField", field, {Int("Size")});
        Add("TWideStringField", stringField, {});
        auto* numeric = Add("TNumericField", field, {Str("DisplayFormat")});
        auto* integer = Add("TIntegerField", numeric, {});
        Add("TSmallintField", integer, {});
        Add("TWordField", integer, {});
        Add("TAutoIncField", integer, {});
        Add("TLargeintField", numeric, {});
        auto* floatField = Add("TFloatField", numeric, {});
        Add("TCurrencyField", floatField, {});
        Add("TBCDField", numeric, {});
        Add("TBooleanField", field, {});
        auto* dateTime = Add("TDateTimeField", field, {Str("DisplayFormat")});
        Add("TDateField", dateTime, {});
        Add("TTimeField", dateTime, {});
        auto* blob = Add("TBlobField", field, {});
        Add("TMemoField", blob, {});
        Add("TGraphicField", blob, {});
    }

    const TClassInfo* Find(std::string_view name) const {
        auto it = FByName.find(UpperCase(name));
        return it == FByName.end() ? nullptr : it->second.get();
    }

    bool IsReferenceName(std::string_view name) const {
        return FReferenceNames.count(UpperCase(name)) != 0;
    }

private:
    TClassInfo* Add(const char* name, const TClassInfo* parent, std::vector<TPropInfo> props,
                    bool acceptsControls = false) {
        for (const TPropInfo& p : props)
            if (p.Kind == K::tkClass && FindClass(p.TypeName))
                FReferenceNames[UpperCase(p.Name)] = true;
        auto info = std::make_unique<TClassInfo>(name, parent, std::move(props), acceptsControls);
        TClassInfo* raw = info.get();
        FByName[UpperCase(name)] = std::move(info);
        return raw;
    }
    // Sub-objects (TFont, TStrings) are stored inline, not by reference; only the
    // types named after components count. Types declared later count too.
    static bool FindClass(const std::string& typeName) {
        return typeName != "TFont" && typeName != "TStrings";
    }

    std::map<std::string, std::unique_ptr<TClassInfo>> FByName;
    std::map<std::string, bool> FReferenceNames;
};

const TClassTable& Table() {
    static const TClassTable table;
    return table;
}

} // namespace

const TClassInfo* FindClassInfo(std::string_view className) {
    return Table().Find(className);
}

const TPropInfo* GetPropInfo(const TClassInfo* classInfo, std::string_view name) {
    return classInfo ? classInfo->FindProp(name) : nullptr;
}

bool IsComponentReferenceName(std::string_view propName) {
    return Table().IsReferenceName(propName);
}

} // namespace vesk
