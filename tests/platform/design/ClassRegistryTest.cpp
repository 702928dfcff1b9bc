#include "platform/design/Palette.h"
#include "platform/design/PropertyEditors.h"
#include "platform/forms/FormFile.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ClassRegistry, HostClassesWithTheirPropertiesAndDefaults) {
    const TClassInfo* edit = FindClassInfo("tdbedit");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->InheritsFrom("TWinControl"));
    EXPECT_TRUE(edit->IsControl());
    EXPECT_FALSE(edit->AcceptsControls());
    EXPECT_TRUE(FindClassInfo("TPanel")->AcceptsControls());
    EXPECT_FALSE(FindClassInfo("TTable")->IsControl());
    EXPECT_TRUE(GetPropInfo(edit, "DataSource")->RefersToComponent());
    EXPECT_FALSE(GetPropInfo(edit, "Font")->RefersToComponent());
    // Sub-properties are found through the property's class.
    const TPropInfo* fontSize = GetPropInfo(edit, "Font.Size");
    ASSERT_NE(fontSize, nullptr);
    EXPECT_EQ(fontSize->Kind, TTypeKind::tkInteger);
    EXPECT_EQ(GetPropInfo(edit, "DataSource.DataSet"), nullptr); // a reference, not inline
    EXPECT_EQ(ValueText(*GetPropInfo(edit, "TabOrder")->Default), "-1");
    EXPECT_EQ(ValueText(*GetPropInfo(edit, "Anchors")->Default), "[akLeft, akTop]");
    EXPECT_TRUE(IsComponentReferenceName("FocusControl"));
    EXPECT_FALSE(IsComponentReferenceName("Font"));
    // The stored order: the base's properties first, each once.
    const auto props = FindClassInfo("TLabel")->Properties();
    EXPECT_EQ(props.front()->Name, "Name");
    EXPECT_EQ(std::count_if(props.begin(), props.end(),
                            [](const TPropInfo* p) { return p->Name == "Caption"; }),
              1);
}

TEST(ClassRegistry, ValuesFromTextAndBack) {
    const TClassInfo* label = FindClassInfo("TLabel");
    const TPropInfo& align = *label->FindProp("Align");
    EXPECT_EQ(ValueText(ValueFromText(align, "ALCLIENT")), "alClient");
    EXPECT_THROW(ValueFromText(align, "alMiddle"), EConvertError);
    const TPropInfo& style = *label->FindProp("Font.Style");
    EXPECT_EQ(ValueText(ValueFromText(style, "[fsbold , fsItalic]")), "[fsBold, fsItalic]");
    EXPECT_EQ(ValueText(ValueFromText(style, "[]")), "[]");
    EXPECT_THROW(ValueFromText(style, "fsBold"), EConvertError);
    EXPECT_TRUE(SameValue(style, ValueFromText(style, "[fsItalic,fsBold]"),
                          ValueFromText(style, "[fsBold,fsItalic]")));
    const TPropInfo& color = *label->FindProp("Color");
    EXPECT_EQ(ValueText(ValueFromText(color, "$00FFFFFF")), "clWhite");
    EXPECT_THROW(ValueFromText(*label->FindProp("Tag"), "x"), EConvertError);
    EXPECT_THROW(ValueFromText(*label->FindProp("FocusControl"), "1abc"), EConvertError);
}

TEST(ClassRegistry, RegistrationsOfAPackageAreUndoneTogether) {
    {
        TPackageScope package("TestPack");
        TClassInfo& mine = TClassRegistry::Instance()
                               .Register("TMyGauge", "TGraphicControl")
                               .Add(IntProp("Progress", 0, 0, 100));
        EXPECT_EQ(&TClassRegistry::Instance().Register("TMyGauge", "TGraphicControl"), &mine);
        EXPECT_EQ(mine.Package(), "TestPack");
        RegisterComponents("Samples", {&mine});
        RegisterComponents("samples", {&mine}); // the same page, the entry once
        RegisterPropertyEditor("Integer", &mine, "Progress",
                               EditorClassOf<TStringProperty>("TProgressEditor"));
    }
    EXPECT_EQ(TClassRegistry::Instance().CurrentPackage(), "");
    const TClassInfo* gauge = FindClassInfo("TMyGauge");
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(PaletteClasses("Samples").size(), 1u);
    EXPECT_EQ(PalettePageOf(gauge), "Samples");
    EXPECT_EQ(GetEditorClass(*gauge->FindProp("Progress"), gauge).Name, "TProgressEditor");

    auto form = TFormFile::Parse("object F: TForm\n  object G: TMyGauge\n  end\nend\n");
    UnregisterPackage("testpack");
    EXPECT_EQ(FindClassInfo("TMyGauge"), nullptr);
    EXPECT_TRUE(PaletteClasses("Samples").empty());
    EXPECT_EQ(PalettePageOf(gauge), "");
    EXPECT_EQ(GetEditorClass(*gauge->FindProp("Progress"), gauge).Name, "TIntegerProperty");
    // A component made before keeps its class description.
    EXPECT_TRUE(form->Root()->FindComponent("G")->InheritsFrom("TGraphicControl"));
    EXPECT_THROW(RegisterComponents("Samples", {gauge}), EClassError);
    EXPECT_THROW(TClassRegistry::Instance().Register("TOrphan", "TNoSuchBase"), EClassError);
}

TEST(PropertyEditors, TheMostSpecificRegistrationWins) {
    TPackageScope package("EditorPack");
    const TClassInfo* control = FindClassInfo("TControl");
    const TClassInfo* edit = FindClassInfo("TEdit");
    const TPropInfo& text = *edit->FindProp("Text");
    RegisterPropertyEditor("TCaption", nullptr, "", EditorClassOf<TStringProperty>("Any"));
    RegisterPropertyEditor("TCaption", control, "", EditorClassOf<TStringProperty>("OnControls"));
    EXPECT_EQ(GetEditorClass(text, edit).Name, "OnControls");
    RegisterPropertyEditor("TCaption", control, "Text", EditorClassOf<TStringProperty>("Named"));
    EXPECT_EQ(GetEditorClass(text, edit).Name, "Named");
    RegisterPropertyEditor("TCaption", edit, "", EditorClassOf<TStringProperty>("OnEdits"));
    EXPECT_EQ(GetEditorClass(text, edit).Name, "OnEdits");
    EXPECT_EQ(GetEditorClass(text, FindClassInfo("TMemo")).Name, "Named");
    EXPECT_EQ(GetEditorClass(text, FindClassInfo("TTable")).Name, "Any");
    UnregisterPackage("EditorPack");
    EXPECT_EQ(GetEditorClass(text, edit).Name, "TStringProperty");
}

TEST(PropertyEditors, EditTheModelAndLeaveDefaultsOut) {
    auto form = TFormFile::Parse("object F: TForm\n"
                                 "  object A: TEdit\n    Left = 8\n  end\n"
                                 "  object B: TEdit\n    Left = 9\n  end\n"
                                 "  object L: TLabel\n  end\n"
                                 "  object D: TDataSource\n  end\n"
                                 "end\n");
    TComponent* a = form->Root()->FindComponent("A");
    TComponent* b = form->Root()->FindComponent("B");
    TComponent* l = form->Root()->FindComponent("L");
    auto left = CreatePropertyEditor({a, b}, "left");
    ASSERT_TRUE(left);
    EXPECT_EQ(left->GetValue(), "8");
    EXPECT_FALSE(left->AllEqual());
    left->SetValue("20");
    EXPECT_TRUE(left->AllEqual());
    EXPECT_EQ(b->GetInt("Left"), 20);
    EXPECT_THROW(left->SetValue("twenty"), EConvertError);
    EXPECT_EQ(a->GetInt("Left"), 20); // nothing changed

    auto visible = CreatePropertyEditor({a}, "Visible");
    EXPECT_TRUE(visible->GetAttributes().Contains(paValueList));
    EXPECT_EQ(visible->GetValue(), "True");
    visible->SetValue("False");
    EXPECT_TRUE(a->HasProperty("Visible"));
    visible->SetValue("true"); // the default: left out again
    EXPECT_FALSE(a->HasProperty("Visible"));

    auto focus = CreatePropertyEditor({l}, "FocusControl");
    std::vector<std::string> offered;
    focus->GetValues([&](const std::string& v) { offered.push_back(v); });
    EXPECT_EQ(offered, (std::vector<std::string>{"A", "B"})); // win controls only
    focus->SetValue("B");
    EXPECT_EQ(l->GetRef("FocusControl"), b);
    EXPECT_THROW(focus->SetValue("Nobody"), EPropertyError);
    focus->SetValue("");
    EXPECT_FALSE(l->HasProperty("FocusControl"));
    // A property one of the components lacks gives no editor.
    EXPECT_EQ(CreatePropertyEditor({a, l}, "Text"), nullptr);
    EXPECT_EQ(CreatePropertyEditor({}, "Left"), nullptr);
}

} // namespace
} // namespace vesk
