#include "expert/parsing/ParsPas.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vesk {

namespace {

std::vector<std::string> Names(TMethodList& methods, std::string_view filter = "") {
    auto list = methods.GetMethods(filter);
    std::vector<std::string> names;
    for (int i = 0; i < list->Count(); ++i)
        names.push_back((*list)[i]);
    return names;
}

std::vector<std::string> Parsed(const std::string& text, std::string_view filter = "") {
    TMethodList methods;
    methods.ParseText(text);
    return Names(methods, filter);
}

using Lines = std::vector<std::string>;

const char* const FormUnit = "unit U;\n"
                             "interface\n"
                             "type\n"
                             "  TForm1 = class(TForm)\n"
                             "    procedure Button1Click(Sender: TObject);\n"
                             "    procedure Done;\n"
                             "  end;\n"
                             "implementation\n"
                             "procedure TForm1.Button1Click(Sender: TObject);\n"
                             "begin\n"
                             "  ShowMessage(Msg);\n"
                             "end;\n"
                             "procedure TForm1.Done;\n"
                             "begin\n"
                             "  Close;\n"
                             "end;\n"
                             "end.\n";

} // namespace

TEST(ParserList, ReadsWordsAndLeavesALineWithAtMostOneCharacterLeft) {
    TParserList reader;
    reader.SetText("a.b: c;\n\n\tx=y\n");
    reader.Init();
    EXPECT_EQ(reader.GetWord(), "a");
    EXPECT_EQ(reader.GetWord(), "b");
    EXPECT_EQ(reader.GetWord(), "c");
    EXPECT_EQ(reader.Line, 1);          // only ";" was left after "c"
    EXPECT_EQ(reader.GetWord(), "");    // the empty line yields one empty word
    EXPECT_EQ(reader.GetWord(), "\tx"); // a tab belongs to the word
    EXPECT_EQ(reader.GetWord(), "y");
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.GetWord(), ""); // past the end: nothing, and no fault
}

TEST(MethodList, ListsDeclarationsBeforeImplementationWithTheirClasses) {
    TMethodList methods;
    methods.ParseText("TForm1 = class(TForm)\n"
                      "procedure Button1Click(Sender: TObject);\n"
                      "end;\n"
                      "function Twice(X: Integer): Integer;\n"
                      "implementation\n"
                      "procedure Hidden;\n");
    ASSERT_EQ(methods.Count(), 2);
    EXPECT_EQ(methods.GetMethod(0).DisplayName, "TForm1.Button1Click");
    EXPECT_EQ(methods.GetMethod(0).OwnerClass, "TForm1");
    EXPECT_EQ(methods.GetMethod(0).Kind, "procedure");
    EXPECT_EQ(methods.GetMethod(1).DisplayName, "Twice");
    EXPECT_EQ(methods.GetMethod(1).OwnerClass, "");
    EXPECT_EQ(methods.GetMethod(1).Kind, "function");
    EXPECT_THROW(methods.GetMethod(2), EListError);
}

TEST(MethodList, KeepsTheWordScannersQuirks) {
    // a forward declaration opens a class that only the next "end" closes
    EXPECT_EQ(Parsed("TFoo = class;\nprocedure A;\nTBar = record x: Integer; end;\nprocedure B;\n"),
              (Lines{"TFoo.A", "B"}));
    // "class function" takes the word before "class" as the class name
    EXPECT_EQ(Parsed("TX = class\npublic\nclass function Make: TX;\nprocedure P;\nend;\n"),
              (Lines{"public.Make", "public.P"}));
    // a procedure type declares a method named after its first parameter
    EXPECT_EQ(Parsed("type TProc = procedure(Sender: TObject);\n"), (Lines{"Sender"}));
    // comments are words like any other; a tab-indented keyword is not a keyword
    EXPECT_EQ(Parsed("{ procedure Old; }\n\tprocedure Tabbed;\nCONSTRUCTOR Make;\n"),
              (Lines{"Old", "Make"}));
    EXPECT_EQ(Parsed("unit U;\nINTERFACE\nDestructor Free;\nImplementation\nprocedure X;"),
              (Lines{"Free"}));
    // the class word at the start of a line after "TFoo =" sees the empty word before it
    EXPECT_EQ(Parsed("TFoo =\nclass(TObject)\nprocedure P;\nend;\n"), (Lines{"P"}));
}

TEST(MethodList, SurvivesTextsThatEndEarlyOrCarryOddBytes) {
    EXPECT_EQ(Parsed(""), Lines{});
    EXPECT_EQ(Parsed("procedure"), (Lines{""}));
    EXPECT_EQ(Parsed("TA = class\nfunction"), (Lines{"TA."}));
    EXPECT_EQ(Parsed(std::string("procedure A\0B;\n", 15)).at(0), std::string("A\0B", 3));
    EXPECT_EQ(Parsed(std::string(100000, 'x') + " procedure Long;"), (Lines{"Long"}));
    EXPECT_EQ(Parsed("implementation"), Lines{});

    TMethodList methods;
    methods.ParseText("procedure A;");
    methods.Parse(nullptr); // no editor: the list is emptied
    EXPECT_EQ(methods.Count(), 0);
    TStringList lines;
    lines.SetText("procedure A;\r\nprocedure B;");
    methods.Parse(&lines);
    EXPECT_EQ(Names(methods), (Lines{"A", "B"}));
}

TEST(MethodList, FiltersByClassAndNamePrefix) {
    TMethodList methods;
    methods.ParseText("TForm1 = class(TForm)\nprocedure Button1Click;\nprocedure Done;\nend;\n"
                      "TForm10 = class(TForm)\nprocedure BtnOk;\nend;\n"
                      "function Twice(X: Integer): Integer;\nprocedure Btn;\n");
    EXPECT_EQ(Names(methods).size(), 5u);
    EXPECT_EQ(Names(methods, "btn"), (Lines{"TForm10.BtnOk", "Btn"}));
    EXPECT_EQ(Names(methods, "TForm1."),
              (Lines{"TForm1.Button1Click", "TForm1.Done", "TForm10.BtnOk"}));
    EXPECT_EQ(Names(methods, "tf.bu"), (Lines{"TForm1.Button1Click"}));
    EXPECT_EQ(Names(methods, " tf . bu\t"), (Lines{"TForm1.Button1Click"}));
    EXPECT_EQ(Names(methods, ".TFORM10"), (Lines{"TForm10.BtnOk"})); // leading "." is skipped
    EXPECT_EQ(Names(methods, "tform1.done.x"), (Lines{"TForm1.Done"}));
    EXPECT_EQ(Names(methods, "Twice2"), Lines{}); // longer than the name: no match
    EXPECT_EQ(Names(methods, "x.Twice"),
              Lines{}); // a method without a class needs an empty class part
    EXPECT_EQ(Names(methods, ".tw"), Lines{});
    // a replaced entry is filtered by its new names
    auto renamed = std::make_unique<TMethod>();
    renamed->MethodName = "Zeta";
    renamed->OwnerClass = "TOther";
    renamed->DisplayName = "TOther.Zeta";
    methods.SetMethod(0, std::move(renamed));
    EXPECT_EQ(Names(methods, "tother.z"), (Lines{"TOther.Zeta"}));
    EXPECT_EQ(Names(methods, "button"), Lines{});
    // the filter index points back into the declaration order
    Names(methods, "btn");
    EXPECT_EQ(methods.FilterIndex.Count(), 2);
    EXPECT_EQ(methods.FilterIndex[0], "2");
    EXPECT_EQ(methods.FilterIndex[1], "4");
}

TEST(MethodList, FindsHeaderAndFirstStatementWithASharedCursor) {
    TMethodList methods;
    methods.ParseText(FormUnit);
    ASSERT_EQ(Names(methods), (Lines{"TForm1.Button1Click", "TForm1.Done"}));

    TEditPos top, cursor;
    methods.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top, (TEditPos{1, 9}));
    EXPECT_EQ(cursor, (TEditPos{3, 11})); // "ShowMessage" indented by two blanks

    methods.GetMethodPos(1, top, cursor);
    EXPECT_EQ(top.Line, 14);              // "procedure TForm1.Done;" ends its line: the next one
    EXPECT_EQ(cursor, (TEditPos{1, 16})); // "  Close;" ends its line too: column 1 of the next

    // the reader is past Button1Click now: a second search for it finds nothing
    cursor = TEditPos{5, 77};
    methods.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top, (TEditPos{1, -1}));
    EXPECT_EQ(cursor, (TEditPos{1, 77})); // column reset, line untouched

    // after a new parse the reader starts again just after "implementation"
    methods.ParseText(FormUnit);
    Names(methods, "tform1.done");
    methods.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top.Line, 14);
}

TEST(MethodList, HeaderWithoutBeginAndIndexesOutsideTheFilter) {
    TMethodList methods;
    methods.ParseText(
        "procedure A;\nprocedure B;\nimplementation\nprocedure A;\nvar X: Integer;\n");
    Names(methods);
    TEditPos top, cursor;
    methods.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top.Line, 5);
    EXPECT_EQ(cursor.Line, -1); // never set: no "begin" follows

    methods.ParseText("procedure A;\nimplementation\nprocedure A;\nbegin");
    Names(methods);
    methods.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top.Line, 4);
    EXPECT_EQ(cursor.Line, -1); // "begin" is the last word: nothing to stand on

    Names(methods, "zzz");
    EXPECT_THROW(methods.GetMethodPos(0, top, cursor), EStringListError);
    Names(methods);
    EXPECT_THROW(methods.GetMethodPos(-1, top, cursor), EStringListError);
    EXPECT_THROW(methods.GetMethodPos(1, top, cursor), EStringListError);
}

TEST(MethodList, ReadsTheSampleFormUnit) {
    std::ifstream in(std::string(VESK_SOURCE_DIR) + "/examples/sample/MainForm.pas",
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    TMethodList methods;
    methods.ParseText(text.str());
    const Lines all = Names(methods);
    ASSERT_EQ(all.size(), 16u);
    EXPECT_EQ(all.front(), "TfrmMain.FormCreate");
    EXPECT_EQ(all.back(), "FormatCaption");
    EXPECT_EQ(
        Names(methods, "tfrmmain.btn"),
        (Lines{"TfrmMain.btnSearchClick", "TfrmMain.btnSaveClick", "TfrmMain.btnDeleteClick"}));

    Names(methods, "FormatCaption");
    TEditPos top, cursor;
    methods.GetMethodPos(0, top, cursor);
    EXPECT_EQ(top.Line, 66);
    EXPECT_EQ(cursor, (TEditPos{3, 68}));
}

} // namespace vesk
