#include "expert/navigator/MNavExpLogic.h"

#include "expert/frame/VeskCommon.h"
#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

// Lines are counted from 1 in the comments.
const char* const Unit = "unit Orders;\n"                                      // 1
                         "interface\n"                                         // 2
                         "type\n"                                              // 3
                         "  TOrderForm = class(TForm)\n"                       // 4
                         "    procedure btnOkClick(Sender: TObject);\n"        // 5
                         "    procedure FormCreate(Sender: TObject);\n"        // 6
                         "    function Total(const Rows: TList;\n"             // 7
                         "      Tax: Double): Currency; virtual;\n"            // 8
                         "  end;\n"                                            // 9
                         "  TPrinter = class\n"                                // 10
                         "    constructor Create;\n"                           // 11
                         "  end;\n"                                            // 12
                         "procedure ShowOrders;\n"                             // 13
                         "procedure Unused;\n"                                 // 14
                         "implementation\n"                                    // 15
                         "procedure TOrderForm.btnOkClick(Sender: TObject);\n" // 16
                         "begin\n"                                             // 17
                         "  Close;\n"                                          // 18
                         "end;\n"                                              // 19
                         "procedure TOrderForm.FormCreate(Sender: TObject);\n" // 20
                         "procedure Helper;\n"                                 // 21
                         "function TOrderForm.Total(const Rows: TList;\n"      // 22
                         "  Tax: Double): Currency;\n"                         // 23
                         "begin\n"                                             // 24
                         "  Result := 0;\n"                                    // 25
                         "end;\n"                                              // 26
                         "constructor TPrinter.Create;\n"                      // 27
                         "begin\n"                                             // 28
                         "  inherited Create;\n"                               // 29
                         "end;\n"                                              // 30
                         "procedure ShowOrders;\n"                             // 31
                         "begin\n"                                             // 32
                         "  Writeln('orders');\n"                              // 33
                         "end;\n"                                              // 34
                         "end.\n";                                             // 35

Strings Shown(const TMNavExpLogic& logic) {
    Strings names;
    for (int row = 0; row < logic.Count(); ++row)
        names.push_back(logic.DisplayName(row));
    return names;
}

class MNavExpLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        TStringList lines;
        lines.SetText(Unit);
        Logic.Parse(&lines);
    }
    Strings Filtered(std::string_view filter, TMNavMatch match, bool byName = false) {
        TMNavOptions options;
        options.Match = match;
        options.SortByName = byName;
        Logic.SetOptions(options);
        Logic.Filter(filter);
        return Shown(Logic);
    }

    TMNavExpLogic Logic;
};

TEST_F(MNavExpLogicTest, ThePrefixMatchIsTheMethodListsOwnFilter) {
    for (const char* filter : {"", "btn", "TOrder.", "tor.fo", ".X", "a.b.c", " total "}) {
        const auto expected = Logic.Methods().GetMethods(filter);
        Strings names;
        for (int i = 0; i < expected->Count(); ++i)
            names.push_back((*expected)[i]);
        const TStringList index = Logic.Methods().FilterIndex;
        EXPECT_EQ(Filtered(filter, TMNavMatch::nmPrefix), names) << filter;
        EXPECT_EQ(Logic.Methods().FilterIndex.Text(), index.Text()) << filter;
        if (Logic.Count() > 0) {
            EXPECT_TRUE(Logic.MatchedSpans(0).empty()); // drawn plain, as it always was
        }
    }
}

TEST_F(MNavExpLogicTest, MatchAnywhereLooksInsideClassAndName) {
    EXPECT_EQ(Filtered("click", TMNavMatch::nmAnywhere), Strings{"TOrderForm.btnOkClick"});
    EXPECT_EQ(Filtered("rder.c", TMNavMatch::nmAnywhere),
              (Strings{"TOrderForm.btnOkClick", "TOrderForm.FormCreate"}));
    // A routine without a class is found by the name part only.
    EXPECT_EQ(Filtered("ORDERS", TMNavMatch::nmAnywhere), Strings{"ShowOrders"});
    EXPECT_EQ(Filtered("x.orders", TMNavMatch::nmAnywhere), Strings{});
    EXPECT_EQ(Filtered("", TMNavMatch::nmAnywhere).size(), 6u);

    Filtered("rder.Crea", TMNavMatch::nmAnywhere);
    ASSERT_EQ(Shown(Logic), Strings{"TOrderForm.FormCreate"});
    // "TO[rder]Form.Form[Crea]te": the class part in the class, the name part after the dot.
    EXPECT_EQ(Logic.MatchedSpans(0), (std::vector<TMatchSpan>{{2, 4}, {15, 4}}));
    Filtered("click", TMNavMatch::nmAnywhere);
    EXPECT_EQ(Logic.MatchedSpans(0), (std::vector<TMatchSpan>{{16, 5}}));
}

TEST_F(MNavExpLogicTest, FuzzyMatchTakesTheLettersInOrderAndMarksThem) {
    EXPECT_EQ(Filtered("tofc", TMNavMatch::nmFuzzy),
              (Strings{"TOrderForm.btnOkClick", "TOrderForm.FormCreate"}));
    EXPECT_EQ(Filtered("ctf", TMNavMatch::nmFuzzy), Strings{}); // the order counts
    EXPECT_EQ(Filtered("p.c", TMNavMatch::nmFuzzy), Strings{"TPrinter.Create"});

    Filtered("tpr cr", TMNavMatch::nmFuzzy); // blanks are left out
    ASSERT_EQ(Shown(Logic), Strings{"TPrinter.Create"});
    // Neighbouring letters make one run: "[TPr]inter.[Cr]eate".
    EXPECT_EQ(Logic.MatchedSpans(0), (std::vector<TMatchSpan>{{0, 3}, {9, 2}}));
    Filtered("", TMNavMatch::nmFuzzy);
    EXPECT_EQ(Logic.Count(), 6);
    EXPECT_TRUE(Logic.MatchedSpans(0).empty());
}

// A pick goes to the method of the row picked, whatever order and match are shown: the
// rows are the method list's filter result.
TEST_F(MNavExpLogicTest, OrderedByNameAPickStillFindsItsOwnMethod) {
    EXPECT_EQ(Filtered("", TMNavMatch::nmPrefix, true),
              (Strings{"ShowOrders", "TOrderForm.btnOkClick", "TOrderForm.FormCreate",
                       "TOrderForm.Total", "TPrinter.Create", "Unused"}));
    EXPECT_EQ(Filtered("t", TMNavMatch::nmAnywhere, true),
              (Strings{"TOrderForm.btnOkClick", "TOrderForm.FormCreate", "TOrderForm.Total",
                       "TPrinter.Create"}));
    EXPECT_EQ(Logic.RowOfMethod(2), 2);  // Total, declared third
    EXPECT_EQ(Logic.RowOfMethod(4), -1); // ShowOrders: not shown

    Filtered("", TMNavMatch::nmPrefix, true);
    TEditPos top, cursor;
    Logic.GetMethodPos(0, top, cursor); // ShowOrders, declared fifth
    EXPECT_EQ(top.Line, 32); // "ShowOrders;" ends its line: the reader stands on the next
    EXPECT_EQ(cursor.Line, 33);
    EXPECT_EQ(cursor.Col, 3);
}

TEST_F(MNavExpLogicTest, PicksWithoutAnEntryOrWithoutABodyStayHarmless) {
    Filtered("", TMNavMatch::nmPrefix);
    TEditPos top{5, 5}, cursor{5, 5};
    Logic.GetMethodPos(-1, top, cursor); // nothing selected
    EXPECT_EQ(top.Line, -1);
    Logic.GetMethodPos(Logic.Count(), top, cursor);
    EXPECT_EQ(top.Line, -1);
    EXPECT_THROW(Logic.MethodOf(-1), EListError);

    // Unused has no body: no header, nothing moves.
    Filtered("unused", TMNavMatch::nmPrefix);
    Logic.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top.Line, -1);

    // A header with no "begin" after it anywhere puts the caret on the header.
    TStringList lines;
    lines.SetText("interface\nprocedure Last;\nimplementation\nprocedure Last;\n");
    Logic.Parse(&lines);
    Logic.Filter("");
    Logic.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top.Line, 5); // the reader left the header's line ("Last;" ends it)
    EXPECT_EQ(cursor, top);
}

TEST_F(MNavExpLogicTest, BodyLinesAndTheRoutineHoldingALine) {
    Filtered("", TMNavMatch::nmPrefix);
    Strings lines;
    for (int row = 0; row < Logic.Count(); ++row)
        lines.push_back(Logic.DisplayName(row) + ":" + std::to_string(Logic.BodyLine(row)));
    // Helper's header runs straight into Total's: both are read as headers.
    EXPECT_EQ(lines,
              (Strings{"TOrderForm.btnOkClick:16", "TOrderForm.FormCreate:20",
                       "TOrderForm.Total:22", "TPrinter.Create:27", "ShowOrders:31", "Unused:-1"}));

    EXPECT_EQ(Logic.RowHoldingLine(15), -1); // before the first body
    EXPECT_EQ(Logic.RowHoldingLine(16), 0);
    EXPECT_EQ(Logic.RowHoldingLine(25), 2);
    EXPECT_EQ(Logic.RowHoldingLine(1000), 4);
    Filtered("c", TMNavMatch::nmPrefix); // Create only
    EXPECT_EQ(Logic.RowHoldingLine(29), 0);
    EXPECT_EQ(Logic.RowHoldingLine(25), -1); // Total holds it, and is not shown

    // A unit without an implementation part has no bodies.
    TStringList text;
    text.SetText("interface\nprocedure A;\n");
    Logic.Parse(&text);
    Logic.Filter("");
    EXPECT_EQ(Logic.BodyLine(0), -1);
    EXPECT_EQ(Logic.RowHoldingLine(2), -1);
}

TEST_F(MNavExpLogicTest, TheHeaderIsTheWholeDeclarationOnOneLine) {
    Filtered("total", TMNavMatch::nmPrefix);
    EXPECT_EQ(Logic.Header(0),
              "function Total(const Rows: TList; Tax: Double): Currency;"); // not "virtual;"
    Filtered("create", TMNavMatch::nmPrefix);
    EXPECT_EQ(Logic.Header(0), "constructor Create;");

    TStringList text; // cut off at the end of the text
    text.SetText("interface\n  procedure Open(A:\n\n   Integer)");
    Logic.Parse(&text);
    Logic.Filter("");
    EXPECT_EQ(Logic.Header(0), "procedure Open(A: Integer)");
}

class MNavOptionsTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ::setenv("VESK_REGISTRY", Path("registry.reg").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }
    THeadlessHost FHost;
};

TEST_F(MNavOptionsTest, OptionsAreKeptInValuesOfTheirOwn) {
    EXPECT_EQ(TMNavOptions::Read(), TMNavOptions{}); // nothing stored: the classic window

    TMNavOptions chosen;
    chosen.Match = TMNavMatch::nmFuzzy;
    chosen.SortByName = true;
    chosen.OpenAtCaret = true;
    chosen.Write();
    EXPECT_EQ(TMNavOptions::Read(), chosen);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(VeskRegistryRoot, false));
    EXPECT_EQ(reg.ReadInteger(MNavMatchValue), 2);
    EXPECT_EQ(reg.ReadInteger(MNavLineColumnValue), 0);
    EXPECT_EQ(reg.ReadInteger(MNavOpenAtCaretValue), 1);

    // Values of another kind, or out of range, keep their defaults; the rest are read.
    reg.WriteInteger(MNavMatchValue, 7);
    reg.WriteString(MNavSortByNameValue, "yes");
    const TMNavOptions read = TMNavOptions::Read();
    EXPECT_EQ(read.Match, TMNavMatch::nmPrefix);
    EXPECT_FALSE(read.SortByName);
    EXPECT_TRUE(read.OpenAtCaret);
}

} // namespace
} // namespace vesk
