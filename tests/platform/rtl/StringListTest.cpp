#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

namespace vesk {

namespace {

std::vector<std::string> Lines(const TStringList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

} // namespace

TEST(StringListText, SplitsAtEveryKindOfLineBreakAndDropsThem) {
    TStringList list;
    list.SetText("one\r\ntwo\rthree\nfour");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"one", "two", "three", "four"}));
    list.SetText("a\r\n\r\nb\n");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "", "b"}));
    list.SetText("\n\r");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    list.SetText("x\r");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"x"}));
    list.SetText(std::string("nul\0byte", 8));
    EXPECT_EQ(list[0].size(), 8u);

    TStringList copy;
    list.SetText("a\nb\n\nc");
    copy.SetText(list.Text());
    EXPECT_EQ(Lines(copy), Lines(list));
}

TEST(StringListIndex, OutOfRangeRaisesStringListError) {
    TStringList list;
    list.Add("a");
    EXPECT_THROW(list.Get(1), EStringListError);
    EXPECT_THROW(list.Get(-1), EStringListError);
    EXPECT_THROW(list.Delete(1), EStringListError);
    EXPECT_THROW(list.Insert(2, "x"), EStringListError);
    EXPECT_THROW(list.Objects(5), EStringListError);
    list.Insert(1, "b"); // at the end is allowed
    list.Insert(0, "z");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"z", "a", "b"}));
    list.Delete(1);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"z", "b"}));
    try {
        list.Get(7);
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (7)");
    }
}

TEST(StringListSorted, KeepsCaseInsensitiveOrderAndObjects) {
    TObject first, second;
    TStringList list;
    list.SetSorted(true);
    list.AddObject("beta", &first);
    list.Add("Alpha");
    list.AddObject("gamma", &second);
    list.Add("ALPHA"); // a duplicate without regard to case: ignored
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(list.Objects(1), &first);
    EXPECT_EQ(list.Objects(2), &second);
    EXPECT_EQ(list.IndexOf("GAMMA"), 2);
    EXPECT_EQ(list.IndexOf("delta"), -1);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);

    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add("BETA");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Alpha", "beta", "BETA", "gamma"}));
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add("alpha"), EStringListError);

    TStringList plain;
    plain.SetText("b\nC\na");
    plain.SetSorted(true);
    EXPECT_EQ(Lines(plain), (std::vector<std::string>{"a", "b", "C"}));
    plain.SetCaseSensitive(true);
    EXPECT_EQ(Lines(plain), (std::vector<std::string>{"C", "a", "b"}));
}

TEST(StringListUnsorted, IndexOfIgnoresCaseAndAddStringsSurvivesSelf) {
    TStringList list;
    list.SetText("One\nTwo");
    EXPECT_EQ(list.IndexOf("two"), 1);
    list.AddStrings(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"One", "Two", "One", "Two"}));
    list.Exchange(0, 3);
    EXPECT_EQ(list[0], "Two");
    EXPECT_THROW(list.Exchange(0, 4), EStringListError);
}

} // namespace vesk
