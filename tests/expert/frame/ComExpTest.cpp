#include "expert/frame/ComExp.h"

#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

Strings Lines(const TStringList& list) {
    Strings out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

// A unit with a form beside it, one without, both open in the headless host.
class ComExpTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        Write(Path("Main.pas"), "unit Main;\r\ninterface\r\nend.\r\n");
        Write(Path("Main.dfm"), "object MainForm: TForm\n  Caption = 'Main'\nend\n");
        Write(Path("Plain.pas"), "unit Plain;\nend.\n");
        FHost.OpenModule(Path("Main.pas"));
        FHost.OpenModule(Path("Plain.pas"));
    }

    THeadlessHost FHost;
};

TEST(ComExpNames, FormFileEndingsStandForTheUnit) {
    EXPECT_EQ(UnitFileOf("/p/Main.dfm"), "/p/Main.pas");
    EXPECT_EQ(UnitFileOf("/p/MAIN.DFM"), "/p/MAIN.pas"); // the new ending is always lower case
    EXPECT_EQ(UnitFileOf("/p/Main.Lfm"), "/p/Main.pas");
    EXPECT_EQ(UnitFileOf("/p/Main.pas"), "/p/Main.pas");
    EXPECT_EQ(UnitFileOf("x.dfm"), "x.pas");
    EXPECT_EQ(UnitFileOf(".dfm"), ".pas");
    EXPECT_EQ(UnitFileOf("dfm"), "dfm"); // shorter than the ending: compared whole, no match
    EXPECT_EQ(UnitFileOf("/p/Main.dfmx"), "/p/Main.dfmx");
}

TEST(ComExpNames, NoToolServicesMeansNothingIsThere) {
    ASSERT_EQ(ToolServices, nullptr);
    EXPECT_EQ(GetCurModuleIntf(), nullptr);
    EXPECT_EQ(GetCurrentFile(), nullptr);
    EXPECT_EQ(GetActiveForm(), nullptr);
    SetCursorPos({1, 1}, {1, 1}); // nothing to move, nothing raised
}

TEST_F(ComExpTest, TheModuleOfTheActiveFileIsAskedForByItsUnitName) {
    const std::string main = Path("Main.pas");
    for (const std::string& active : {Path("Main.dfm"), Path("Main.DFM"), main}) {
        FHost.SetCurrentFile(active);
        TIntfPtr<TIModuleInterface> module(GetCurModuleIntf());
        EXPECT_TRUE(module) << active;
        EXPECT_EQ(FHost.ModuleRequests().back(), main);
        EXPECT_EQ(FHost.HandedOut(), 1); // the one reference the caller holds
    }
    EXPECT_EQ(FHost.HandedOut(), 0);

    FHost.SetCurrentFile(Path("Other.pas")); // not open
    EXPECT_EQ(GetCurModuleIntf(), nullptr);
    const std::size_t asked = FHost.ModuleRequests().size();
    FHost.SetCurrentFile("");
    EXPECT_EQ(GetCurModuleIntf(), nullptr);
    EXPECT_EQ(FHost.ModuleRequests().size(), asked); // an empty name is not asked for
    EXPECT_EQ(GetCurEditIntf(), nullptr);
    EXPECT_EQ(FHost.HandedOut(), 0);
}

TEST_F(ComExpTest, TheWholeTextIsReadInPiecesUntilAShortOne) {
    const std::string plain = Path("Plain.pas");
    auto readAs = [&](const std::string& text) {
        FHost.SetEditorText(plain, text);
        const int before = FHost.ReadCount(plain);
        auto lines = GetCurrentFile();
        EXPECT_EQ(FHost.HandedOut(), 0);
        return std::make_pair(lines ? Lines(*lines) : Strings{"<none>"},
                              FHost.ReadCount(plain) - before);
    };
    FHost.SetCurrentFile(plain);

    // Exactly one piece long: a second read returns nothing, the lines are the same as
    // for a text one read holds.
    std::string exact;
    for (int i = 0; exact.size() < 10240; ++i)
        exact += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    exact.resize(10240);
    auto [lines, reads] = readAs(exact);
    EXPECT_EQ(reads, 2);
    auto [shorter, oneRead] = readAs(exact.substr(0, 10239));
    EXPECT_EQ(oneRead, 1);
    TStringList expected;
    expected.SetText(exact);
    EXPECT_EQ(lines, Lines(expected));
    EXPECT_EQ(lines.front(), "line 0");

    std::string longer(25000, 'x');
    longer[12000] = '\n';
    auto [two, threeReads] = readAs(longer);
    EXPECT_EQ(threeReads, 3);
    EXPECT_EQ(two, (Strings{std::string(12000, 'x'), std::string(12999, 'x')}));

    auto [empty, emptyReads] = readAs("");
    EXPECT_EQ(empty, Strings{}); // a list without lines, not none
    EXPECT_EQ(emptyReads, 1);

    FHost.SetCurrentFile(Path("Closed.pas"));
    EXPECT_EQ(GetCurrentFile(), nullptr);
    EXPECT_EQ(FHost.HandedOut(), 0);
}

TEST_F(ComExpTest, TheActiveFormIsTheLastOpenFormOfTheModulesName) {
    const std::string main = Path("Main.pas");
    const std::string plain = Path("Plain.pas");

    FHost.SetCurrentFile(plain); // a unit without a form: the designer is not asked
    EXPECT_EQ(GetActiveForm(), nullptr);
    EXPECT_EQ(FHost.ShowFormCount(plain), 0);

    FHost.SetCurrentFile(main); // its form not open: asked once, then found
    EXPECT_EQ(GetActiveForm(), nullptr);
    EXPECT_EQ(FHost.ShowFormCount(main), 1);
    EXPECT_EQ(FHost.GetCurrentFile(), Path("Main.dfm")); // the designer is active now
    TComponent* form = GetActiveForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form, FHost.FormRoot(main));
    EXPECT_EQ(FHost.ShowFormCount(main), 1);
    EXPECT_EQ(FHost.HandedOut(), 0);

    // Several open forms of that name: the last one wins; letter case counts.
    TComponent other("TForm", nullptr), lower("TForm", nullptr);
    other.SetName("MainForm");
    lower.SetName("mainform");
    FHost.Services().Screen().AddForm(&other);
    FHost.Services().Screen().AddForm(&lower);
    EXPECT_EQ(GetActiveForm(), &other);
    FHost.Services().Screen().RemoveForm(&other);
    FHost.Services().Screen().RemoveForm(&lower);

    FHost.CloseDesigner(main);
    EXPECT_EQ(GetActiveForm(), nullptr);
    EXPECT_EQ(FHost.ShowFormCount(main), 2);
    EXPECT_EQ(FHost.HandedOut(), 0);
}

TEST_F(ComExpTest, TheCaretMovesBeforeTheViewAndNotAtAllWithoutAPosition) {
    const std::string plain = Path("Plain.pas");
    FHost.SetCurrentFile(plain);
    SetCursorPos({1, -1}, {3, 12}); // top line -1: no position was found
    EXPECT_TRUE(FHost.SetPosCalls(plain).empty());

    SetCursorPos({1, 10}, {3, 12});
    using Call = THeadlessHost::TSetPos;
    EXPECT_EQ(FHost.SetPosCalls(plain),
              (std::vector<Call>{{EditViewCursor, {3, 12}}, {EditViewTop, {1, 10}}}));
    EXPECT_EQ(FHost.CursorPos(plain), (TEditPos{3, 12}));
    EXPECT_EQ(FHost.TopPos(plain), (TEditPos{1, 10}));
    EXPECT_EQ(FHost.HandedOut(), 0);

    FHost.SetCurrentFile(Path("Closed.pas"));
    SetCursorPos({1, 5}, {1, 5});
    EXPECT_EQ(FHost.SetPosCalls(plain).size(), 2u);
    EXPECT_EQ(FHost.HandedOut(), 0);
}

} // namespace
} // namespace vesk
