#include "ide/core/EventHandlers.h"
#include "library/package/VeskPackage.h"
#include "platform/design/ClassRegistry.h"
#include "platform/rtl/FileUtils.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

const std::string Sample = VESK_SOURCE_DIR "/examples/sample/";

TEST(EventHandlers, ANewHandlerIsDeclaredInTheFirstSectionAndGetsAnEmptyBody) {
    const std::string unit = ReadFileContent(Sample + "OrderEntry.pas");
    const auto place = AddEventHandler(unit, "TfrmOrderEntry", "DBEdit1Change", "TNotifyEvent");
    ASSERT_TRUE(place);
    EXPECT_TRUE(place->Added);
    const std::string& text = place->Text;
    // The unit's own line ends (the sample's are CR LF).
    const std::size_t declared = text.find("    procedure DBEdit1Change(Sender: TObject);\r\n");
    ASSERT_NE(declared, std::string::npos);
    // After the fields, before "private".
    EXPECT_LT(text.find("qyShipping: TQuery;"), declared);
    EXPECT_GT(text.find("  private"), declared);
    const std::string body = "procedure TfrmOrderEntry.DBEdit1Change(Sender: TObject);\r\n"
                             "begin\r\n\r\nend;\r\n\r\nend.";
    ASSERT_NE(text.find(body), std::string::npos);
    EXPECT_EQ(text.substr(place->Body, 8), "\r\nend;\r\n"); // the editor goes to the empty line
    // Everything else is as it was.
    std::string back = text;
    back.erase(back.find(body), body.size() - 4);
    back.erase(declared, std::string("    procedure DBEdit1Change(Sender: TObject);\r\n").size());
    EXPECT_EQ(back, unit);

    // Asked again, it is found, not added twice.
    const auto again = AddEventHandler(text, "TfrmOrderEntry", "DBEdit1Change", "TNotifyEvent");
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->Added);
    EXPECT_EQ(again->Text, text);
    EXPECT_EQ(again->Body, place->Body);
}

TEST(EventHandlers, LineEndsParametersAndWhatCannotBeDone) {
    const std::string unit = "unit U;\r\ninterface\r\ntype\r\n  TForm1 = class(TForm)\r\n"
                             "  end;\r\nimplementation\r\nend.\r\n";
    const auto place = AddEventHandler(unit, "TForm1", "FormKeyDown", "TKeyEvent");
    ASSERT_TRUE(place);
    EXPECT_NE(place->Text.find("  TForm1 = class(TForm)\r\n    procedure FormKeyDown(Sender: "
                               "TObject; var Key: Word; Shift: TShiftState);\r\n  end;"),
              std::string::npos);
    EXPECT_NE(place->Text.find("begin\r\n\r\nend;\r\n\r\nend.\r\n"), std::string::npos);
    EXPECT_FALSE(AddEventHandler(unit, "TForm2", "FormShow", "TNotifyEvent"));
    EXPECT_FALSE(AddEventHandler(unit, "TForm1", "Node", "TUnknownEvent")); // unknown type
    EXPECT_FALSE(AddEventHandler(unit, "TForm1", "a b", "TNotifyEvent"));
    EXPECT_FALSE(AddEventHandler("unit U;\ntype\n  TForm1 = class(TForm)\n  end;\n", "TForm1",
                                 "FormShow", "TNotifyEvent")); // no final end.
}

TEST(EventHandlers, AnEventOffersTheFormClassesProceduresWithItsParameters) {
    EXPECT_EQ(ParameterTypes("(Sender, Source: TObject; X, Y: Integer; State: TDragState; "
                             "var Accept: Boolean)"),
              (std::vector<std::string>{"TOBJECT", "TOBJECT", "INTEGER", "INTEGER", "TDRAGSTATE",
                                        "VAR BOOLEAN"}));
    // Names, spacing and case do not count; how a parameter is passed does.
    EXPECT_EQ(ParameterTypes("(Sender:TObject;VAR  k : word)"),
              ParameterTypes("(Sender: TObject; var Key: Word)"));
    EXPECT_NE(ParameterTypes("(Sender: TObject; Key: Word)"),
              ParameterTypes("(Sender: TObject; var Key: Word)"));
    EXPECT_EQ(ParameterTypes(""), std::vector<std::string>{});

    const std::string unit =
        "unit U;\ninterface\ntype\n  TForm1 = class(TForm)\n"
        "    procedure Changed(Sender: TObject);\n"
        "    procedure Keyed(Sender: TObject; var Key: Word; Shift: TShiftState);\n"
        "    procedure Pressed(Sender: TObject; Key: Char);\n" // not var: no handler
        "    function Asked(Sender: TObject): Boolean;\n"      // a function: none either
        "    procedure Filled(Sender: TObject;\n      Node: TTreeNode);\n"
        "  private\n    procedure Helper;\n  end;\n"
        "implementation\nend.\n";
    EXPECT_EQ(
        FormClassMethods(unit, "TForm1"),
        (std::vector<std::string>{"Changed", "Keyed", "Pressed", "Asked", "Filled", "Helper"}));
    EXPECT_EQ(FormClassMethods(unit, "TForm1", "TNotifyEvent"),
              std::vector<std::string>{"Changed"});
    EXPECT_EQ(FormClassMethods(unit, "TForm1", "TKeyEvent"), std::vector<std::string>{"Keyed"});
    EXPECT_EQ(FormClassMethods(unit, "TForm1", "TKeyPressEvent"), std::vector<std::string>{});
    // A tree's events of the same parameters share their handlers.
    EXPECT_EQ(FormClassMethods(unit, "TForm1", "TNodeEvent"), std::vector<std::string>{"Filled"});
    EXPECT_EQ(FormClassMethods(unit, "TForm1", "TTVExpandedEvent"),
              std::vector<std::string>{"Filled"});
    EXPECT_EQ(FormClassMethods(unit, "TForm1", "TUnknownEvent"), std::vector<std::string>{});
    EXPECT_EQ(FormClassMethods(unit, "TForm2", "TNotifyEvent"), std::vector<std::string>{});
}

// Every event a class of the host or of the library publishes can get a handler: a
// new event type without parameters here fails this.
TEST(EventHandlers, EveryPublishedEventOfTheHostAndTheLibraryHasItsParameters) {
    RegisterVeskPackage();
    std::vector<std::string> missing;
    std::size_t events = 0;
    for (const TClassInfo* cls : TClassRegistry::Instance().Classes())
        for (const TPropInfo* prop : cls->Properties())
            if (prop->Kind == TTypeKind::tkMethod) {
                ++events;
                if (!EventParameters(prop->TypeName))
                    missing.push_back(cls->ClassName() + "." + prop->Name + ": " + prop->TypeName);
            }
    const TClassInfo* tree = TClassRegistry::Instance().Find("TVeskDBTreeView");
    ASSERT_NE(tree, nullptr);
    const TPropInfo* fillNode = tree->FindProp("OnFillNode");
    const TPropInfo* expanding = tree->FindProp("OnExpanding");
    const TPropInfo* keyDown = TClassRegistry::Instance().Find("TDBEdit")->FindProp("OnKeyDown");
    const TPropInfo* afterOpen = TClassRegistry::Instance().Find("TTable")->FindProp("AfterOpen");
    UnregisterVeskPackage();
    EXPECT_EQ(missing, std::vector<std::string>{});
    EXPECT_GT(events, 50u);

    // The types are the ones their handlers are called with.
    ASSERT_TRUE(fillNode && expanding && keyDown && afterOpen);
    EXPECT_EQ(EventParameters(fillNode->TypeName), "(Sender: TObject; Node: TTreeNode)");
    EXPECT_EQ(EventParameters(expanding->TypeName),
              "(Sender: TObject; Node: TTreeNode; var AllowExpansion: Boolean)");
    EXPECT_EQ(EventParameters(keyDown->TypeName),
              "(Sender: TObject; var Key: Word; Shift: TShiftState)");
    EXPECT_EQ(EventParameters(afterOpen->TypeName), "(DataSet: TDataSet)");
    const std::string unit = "unit U;\ninterface\ntype\n  TForm1 = class(TForm)\n  end;\n"
                             "implementation\nend.\n";
    const auto place = AddEventHandler(unit, "TForm1", "TreeFillNode", fillNode->TypeName);
    ASSERT_TRUE(place);
    EXPECT_NE(place->Text.find("procedure TForm1.TreeFillNode(Sender: TObject; Node: TTreeNode);"),
              std::string::npos);
}

} // namespace
} // namespace vesk
