// The host library's classes as its designer knows them: the hierarchy the add-in
// and the form files rely on, each class with the published properties a form file
// writes and their stored defaults.
#include "platform/design/ClassRegistry.h"
#include "platform/design/DataClasses.h"

namespace vesk {

namespace {

std::vector<std::string> Names(std::initializer_list<const char*> names) {
    return {names.begin(), names.end()};
}

// A published event and the type of its handlers.
struct TEventDecl {
    const char* Name;
    const char* Type;
};

void AddEvents(TClassInfo& c, std::initializer_list<TEventDecl> events) {
    for (const TEventDecl& event : events)
        c.Add(EventProp(event.Name, event.Type));
}

// The type of a control's or a form's event of that name: what the mouse, the keys,
// dragging and closing tell their handlers; any other event only tells who raised it.
const char* StandardEventType(std::string_view name) {
    static const TEventDecl typed[] = {
        {"OnDragDrop", "TDragDropEvent"},   {"OnDragOver", "TDragOverEvent"},
        {"OnStartDrag", "TStartDragEvent"}, {"OnEndDrag", "TEndDragEvent"},
        {"OnMouseDown", "TMouseEvent"},     {"OnMouseUp", "TMouseEvent"},
        {"OnMouseMove", "TMouseMoveEvent"}, {"OnKeyDown", "TKeyEvent"},
        {"OnKeyUp", "TKeyEvent"},           {"OnKeyPress", "TKeyPressEvent"},
        {"OnClose", "TCloseEvent"}};
    for (const TEventDecl& event : typed)
        if (name == event.Name)
            return event.Type;
    return "TNotifyEvent";
}

void AddEvents(TClassInfo& c, std::initializer_list<const char*> names) {
    for (const char* name : names)
        c.Add(EventProp(name, StandardEventType(name)));
}

void AddDataProps(TClassInfo& c) {
    c.Add(StrProp("DataField")).Add(ClassProp("DataSource", "TDataSource"));
}

} // namespace

void AddTreeViewProperties(TClassInfo& c) {
    const auto drag = Names({"dmManual", "dmAutomatic"});
    c.Add(BoolProp("ShowButtons", true))
        .Add(EnumProp("BorderStyle", "TBorderStyle", Names({"bsNone", "bsSingle"}), "bsSingle"))
        .Add(EnumProp("DragCursor", "TCursor", CursorNames(), "crDrag"))
        .Add(BoolProp("ShowLines", true))
        .Add(BoolProp("ShowRoot", true))
        .Add(BoolProp("ReadOnly", false))
        .Add(EnumProp("DragMode", "TDragMode", drag, "dmManual"))
        .Add(BoolProp("HideSelection", true))
        .Add(IntProp("Indent", std::nullopt, 0, 32767));
    AddEvents(c, {{"OnEditing", "TTVEditingEvent"},
                  {"OnEdited", "TTVEditedEvent"},
                  {"OnExpanding", "TTVExpandingEvent"},
                  {"OnExpanded", "TTVExpandedEvent"},
                  {"OnCollapsing", "TTVCollapsingEvent"},
                  {"OnCompare", "TTVCompareEvent"},
                  {"OnCollapsed", "TTVExpandedEvent"},
                  {"OnChanging", "TTVChangingEvent"},
                  {"OnChange", "TTVChangedEvent"},
                  {"OnDeletion", "TTVExpandedEvent"},
                  {"OnGetImageIndex", "TTVExpandedEvent"},
                  {"OnGetSelectedIndex", "TTVExpandedEvent"}});
    c.Add(EnumProp("Align", "TAlign", AlignNames(), "alNone"))
        .Add(BoolProp("Enabled", true))
        .Add(ClassProp("Font", "TFont"))
        .Add(ColorProp("Color", "clWindow"))
        .Add(BoolProp("ParentColor", false))
        .Add(BoolProp("ParentCtl3D", true))
        .Add(BoolProp("Ctl3D", std::nullopt))
        .Add(EnumProp("SortType", "TSortType", Names({"stNone", "stData", "stText", "stBoth"}),
                      "stNone"))
        .Add(IntProp("TabOrder", -1, -1, 32767, "TTabOrder"))
        .Add(BoolProp("TabStop", true))
        .Add(BoolProp("Visible", true));
    AddEvents(c, {"OnClick", "OnEnter", "OnExit", "OnDragDrop", "OnDragOver", "OnStartDrag",
                  "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnDblClick", "OnKeyDown",
                  "OnKeyPress", "OnKeyUp"});
    c.Add(ClassProp("PopupMenu", "TPopupMenu"))
        .Add(BoolProp("ParentFont", true))
        .Add(BoolProp("ParentShowHint", true))
        .Add(BoolProp("ShowHint", std::nullopt))
        .Add(ClassProp("Images", "TCustomImageList"))
        .Add(ClassProp("StateImages", "TCustomImageList"));
}

void RegisterHostClasses(TClassRegistry& r) {
    r.Register("TPersistent", "");
    r.Register("TFont", "TPersistent")
        .Add(IntProp("Charset", 1, 0, 255, "TFontCharset"))
        .Add(ColorProp("Color", "clWindowText"))
        .Add(IntProp("Height"))
        .Add(StrProp("Name", "TFontName"))
        .Add(EnumProp("Pitch", "TFontPitch", Names({"fpDefault", "fpVariable", "fpFixed"}),
                      "fpDefault"))
        .Add(IntProp("Size"))
        .Add(SetProp("Style", "TFontStyles", FontStyleNames(), std::vector<std::string>{}));
    r.Register("TStrings", "TPersistent").Add(StrProp("Strings", "TStrings"));
    r.Register("TStringList", "TStrings");
    r.Register("TBitmap", "TPersistent");
    r.Register("TPicture", "TPersistent");
    r.Register("TCollection", "TPersistent");

    r.Register("TComponent", "TPersistent")
        .Add(StrProp("Name", "TComponentName"))
        .Add(IntProp("Tag", 0));
    const auto drag = Names({"dmManual", "dmAutomatic"});
    auto& control =
        r.Register("TControl", "TComponent")
            .Add(IntProp("Left"))
            .Add(IntProp("Top"))
            .Add(IntProp("Width"))
            .Add(IntProp("Height"))
            .Add(EnumProp("Align", "TAlign", AlignNames(), "alNone"))
            .Add(SetProp("Anchors", "TAnchors", Names({"akLeft", "akTop", "akRight", "akBottom"}),
                         Names({"akLeft", "akTop"})))
            .Add(StrProp("Caption", "TCaption"))
            .Add(StrProp("Hint"))
            .Add(EnumProp("Cursor", "TCursor", CursorNames(), "crDefault"))
            .Add(EnumProp("DragCursor", "TCursor", CursorNames(), "crDrag"))
            .Add(EnumProp("DragMode", "TDragMode", drag, "dmManual"))
            .Add(ColorProp("Color", std::nullopt))
            .Add(ClassProp("Font", "TFont"))
            .Add(BoolProp("ParentColor", true))
            .Add(BoolProp("ParentFont", true))
            .Add(BoolProp("ParentShowHint", true))
            .Add(BoolProp("ShowHint", false))
            .Add(BoolProp("Visible", true))
            .Add(BoolProp("Enabled", true))
            .Add(ClassProp("PopupMenu", "TPopupMenu"))
            .Add(ClassProp("Action", "TBasicAction"));
    AddEvents(control, {"OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag",
                        "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
    auto& winControl = r.Register("TWinControl", "TControl")
                           .Add(IntProp("TabOrder", -1, -1, 32767, "TTabOrder"))
                           .Add(BoolProp("TabStop", false))
                           .Add(BoolProp("Ctl3D", std::nullopt))
                           .Add(BoolProp("ParentCtl3D", true));
    AddEvents(winControl, {"OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
    r.Register("TGraphicControl", "TControl");
    r.Register("TScrollingWinControl", "TWinControl", true);
    const auto borders =
        Names({"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
    auto& customForm = r.Register("TCustomForm", "TScrollingWinControl")
                           .Add(EnumProp("BorderStyle", "TFormBorderStyle", borders, "bsSizeable"))
                           .Add(IntProp("ClientWidth"))
                           .Add(IntProp("ClientHeight"))
                           .Add(IntProp("PixelsPerInch"))
                           .Add(IntProp("TextHeight"))
                           .Add(ClassProp("ActiveControl", "TWinControl"))
                           .Add(ClassProp("Menu", "TMainMenu"))
                           .Add(EnumProp("Position", "TPosition",
                                         Names({"poDesigned", "poDefault", "poDefaultPosOnly",
                                                "poDefaultSizeOnly", "poScreenCenter"}),
                                         "poDesigned"));
    AddEvents(customForm, {"OnCreate", "OnDestroy", "OnShow", "OnClose"});
    r.Register("TForm", "TCustomForm");
    r.Register("TFrame", "TScrollingWinControl");
    AddEvents(r.Register("TDataModule", "TComponent"), {"OnCreate", "OnDestroy"});
    r.Register("TScrollBox", "TScrollingWinControl");
    const auto bevels = Names({"bvNone", "bvLowered", "bvRaised", "bvSpace"});
    r.Register("TCustomPanel", "TWinControl", true)
        .Add(EnumProp("BevelInner", "TPanelBevel", bevels, "bvNone"))
        .Add(EnumProp("BevelOuter", "TPanelBevel", bevels, "bvRaised"))
        .Add(IntProp("BevelWidth", 1))
        .Add(EnumProp("Alignment", "TAlignment", AlignmentNames(), "taCenter"));
    r.Register("TPanel", "TCustomPanel");
    r.Register("TGroupBox", "TWinControl", true);
    r.Register("TRadioGroup", "TWinControl")
        .Add(IntProp("ItemIndex", -1))
        .Add(IntProp("Columns", 1))
        .Add(ClassProp("Items", "TStrings"));
    r.Register("TPageControl", "TWinControl").Add(ClassProp("ActivePage", "TTabSheet"));
    r.Register("TTabSheet", "TWinControl", true).Add(IntProp("PageIndex", 0));
    r.Register("TNotebook", "TWinControl", true)
        .Add(IntProp("PageIndex", 0))
        .Add(ClassProp("Pages", "TStrings"));
    r.Register("TCustomLabel", "TGraphicControl")
        .Add(EnumProp("Alignment", "TAlignment", AlignmentNames(), "taLeftJustify"))
        .Add(BoolProp("AutoSize", true))
        .Add(ClassProp("FocusControl", "TWinControl"))
        .Add(BoolProp("ShowAccelChar", true))
        .Add(BoolProp("Transparent", false))
        .Add(EnumProp("Layout", "TTextLayout", Names({"tlTop", "tlCenter", "tlBottom"}), "tlTop"))
        .Add(BoolProp("WordWrap", false));
    r.Register("TLabel", "TCustomLabel");
    AddDataProps(r.Register("TDBText", "TCustomLabel"));
    r.Register("TBevel", "TGraphicControl")
        .Add(EnumProp("Shape", "TBevelShape",
                      Names({"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
                             "bsRightLine", "bsSpacer"}),
                      "bsBox"))
        .Add(EnumProp("Style", "TBevelStyle", Names({"bsLowered", "bsRaised"}), "bsLowered"));
    r.Register("TImage", "TGraphicControl")
        .Add(ClassProp("Picture", "TPicture"))
        .Add(BoolProp("Stretch", false))
        .Add(BoolProp("Center", false));
    r.Register("TSpeedButton", "TGraphicControl")
        .Add(BoolProp("AllowAllUp", false))
        .Add(IntProp("GroupIndex", 0))
        .Add(BoolProp("Down", false))
        .Add(BoolProp("Flat", false))
        .Add(ClassProp("Glyph", "TBitmap"))
        .Add(EnumProp("Layout", "TButtonLayout",
                      Names({"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}),
                      "blGlyphLeft"))
        .Add(IntProp("Margin", -1))
        .Add(IntProp("NumGlyphs", 1, 1, 4, "TNumGlyphs"))
        .Add(IntProp("Spacing", 4));
    auto& customEdit = r.Register("TCustomEdit", "TWinControl")
                           .Add(StrProp("Text", "TCaption"))
                           .Add(IntProp("MaxLength", 0))
                           .Add(BoolProp("ReadOnly", false));
    AddEvents(customEdit, {"OnChange"});
    r.Register("TEdit", "TCustomEdit");
    r.Register("TMemo", "TCustomEdit").Add(ClassProp("Lines", "TStrings"));
    r.Register("TCustomMaskEdit", "TCustomEdit").Add(StrProp("EditMask", "TEditMask"));
    r.Register("TMaskEdit", "TCustomMaskEdit");
    AddDataProps(r.Register("TDBEdit", "TCustomMaskEdit"));
    r.Register("TCustomDateEdit", "TCustomMaskEdit");
    AddDataProps(r.Register("TDBDateEdit", "TCustomDateEdit"));
    AddDataProps(r.Register("TDBMemo", "TCustomEdit"));
    r.Register("TButtonControl", "TWinControl");
    r.Register("TCustomCheckBox", "TButtonControl")
        .Add(BoolProp("Checked", false))
        .Add(EnumProp("State", "TCheckBoxState", Names({"cbUnchecked", "cbChecked", "cbGrayed"}),
                      "cbUnchecked"))
        .Add(BoolProp("AllowGrayed", false));
    r.Register("TCheckBox", "TCustomCheckBox");
    auto& dbCheckBox = r.Register("TDBCheckBox", "TCustomCheckBox");
    AddDataProps(dbCheckBox);
    dbCheckBox.Add(StrProp("ValueChecked")).Add(StrProp("ValueUnchecked"));
    r.Register("TButton", "TButtonControl")
        .Add(BoolProp("Default", false))
        .Add(BoolProp("Cancel", false))
        .Add(IntProp("ModalResult", 0, INT32_MIN, INT32_MAX, "TModalResult"));
    r.Register("TListBox", "TWinControl")
        .Add(IntProp("ItemHeight"))
        .Add(ClassProp("Items", "TStrings"))
        .Add(BoolProp("Sorted", false));
    r.Register("TComboBox", "TWinControl")
        .Add(StrProp("Text", "TCaption"))
        .Add(ClassProp("Items", "TStrings"))
        .Add(BoolProp("Sorted", false));
    r.Register("TCustomTreeView", "TWinControl");
    AddTreeViewProperties(r.Register("TTreeView", "TCustomTreeView"));
    r.Register("TDBGrid", "TWinControl").Add(ClassProp("DataSource", "TDataSource"));
    r.Register("TDBNavigator", "TWinControl").Add(ClassProp("DataSource", "TDataSource"));
    r.Register("TMenu", "TComponent").Add(ClassProp("Images", "TCustomImageList"));
    r.Register("TMainMenu", "TMenu");
    r.Register("TPopupMenu", "TMenu");
    AddEvents(r.Register("TMenuItem", "TComponent")
                  .Add(StrProp("Caption", "TCaption"))
                  .Add(IntProp("ShortCut", 0, INT32_MIN, INT32_MAX, "TShortCut")),
              {"OnClick"});
    r.Register("TBasicAction", "TComponent");
    r.Register("TCustomImageList", "TComponent")
        .Add(IntProp("Width", 16, 1, 32768))
        .Add(IntProp("Height", 16, 1, 32768));
    r.Register("TImageList", "TCustomImageList");
    AddEvents(r.Register("TTimer", "TComponent")
                  .Add(BoolProp("Enabled", true))
                  .Add(IntProp("Interval", 1000, 0, INT32_MAX)),
              {"OnTimer"});

    r.Register("TDataSource", "TComponent")
        .Add(BoolProp("AutoEdit", true))
        .Add(ClassProp("DataSet", "TDataSet"))
        .Add(BoolProp("Enabled", true));
    auto& dataSet = r.Register("TDataSet", "TComponent").Add(BoolProp("Active", false));
    AddEvents(dataSet, {{"AfterOpen", "TDataSetNotifyEvent"},
                        {"AfterClose", "TDataSetNotifyEvent"},
                        {"BeforeOpen", "TDataSetNotifyEvent"},
                        {"BeforeClose", "TDataSetNotifyEvent"},
                        {"AfterScroll", "TDataSetNotifyEvent"}});
    r.Register("TBDEDataSet", "TDataSet").Add(BoolProp("CachedUpdates", false));
    r.Register("TDBDataSet", "TBDEDataSet")
        .Add(StrProp("DatabaseName"))
        .Add(StrProp("SessionName"));
    r.Register("TTable", "TDBDataSet")
        .Add(StrProp("TableName", "TFileName"))
        .Add(StrProp("IndexName"))
        .Add(StrProp("MasterFields"))
        .Add(StrProp("Filter"))
        .Add(ClassProp("MasterSource", "TDataSource"))
        .Add(BoolProp("ReadOnly", false));
    r.Register("TQuery", "TDBDataSet")
        .Add(ClassProp("SQL", "TStrings"))
        .Add(ClassProp("DataSource", "TDataSource"))
        .Add(BoolProp("RequestLive", false));
    r.Register("TStoredProc", "TDBDataSet").Add(StrProp("StoredProcName"));
    r.Register("TClientDataSet", "TDataSet").Add(StrProp("FileName"));
    r.Register("TMemoryTable", "TDataSet");

    r.Register("TField", "TComponent")
        .Add(StrProp("FieldName"))
        .Add(StrProp("DisplayLabel"))
        .Add(IntProp("DisplayWidth"))
        .Add(BoolProp("Visible", true))
        .Add(BoolProp("Required", false))
        .Add(ClassProp("DataSet", "TDataSet"));
    r.Register("TStringField", "TField").Add(IntProp("Size", 20));
    r.Register("TWideStringField", "TStringField");
    r.Register("TNumericField", "TField").Add(StrProp("DisplayFormat"));
    r.Register("TIntegerField", "TNumericField");
    r.Register("TSmallintField", "TIntegerField");
    r.Register("TWordField", "TIntegerField");
    r.Register("TAutoIncField", "TIntegerField");
    r.Register("TLargeintField", "TNumericField");
    r.Register("TFloatField", "TNumericField");
    r.Register("TCurrencyField", "TFloatField");
    r.Register("TBCDField", "TNumericField");
    r.Register("TBooleanField", "TField");
    r.Register("TDateTimeField", "TField").Add(StrProp("DisplayFormat"));
    r.Register("TDateField", "TDateTimeField");
    r.Register("TTimeField", "TDateTimeField");
    r.Register("TBlobField", "TField");
    r.Register("TMemoField", "TBlobField");
    r.Register("TGraphicField", "TBlobField");
    AttachDataClasses(r);
}

} // namespace vesk
