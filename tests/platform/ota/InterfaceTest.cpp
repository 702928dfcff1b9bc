#include "platform/ota/Expert.h"
#include "platform/ota/HeadlessHost.h"
#include "platform/ota/ShortCut.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// An object that tells when it is destroyed.
class TWatched : public TInterface {
public:
    explicit TWatched(bool& destroyed) : FDestroyed(destroyed) {}
    ~TWatched() override { FDestroyed = true; }

private:
    bool& FDestroyed;
};

TEST(InterfaceTest, TheLastReferenceGivenUpDestroysTheObject) {
    bool destroyed = false;
    auto* intf = new TWatched(destroyed);
    EXPECT_EQ(intf->RefCount(), 1);
    EXPECT_EQ(intf->AddRef(), 2);
    EXPECT_EQ(intf->Release(), 1);
    EXPECT_EQ(intf->GetVersion(), InterfaceVersion);
    intf->AddRef();
    intf->Free();
    EXPECT_FALSE(destroyed);
    TInterface::Free(intf);
    EXPECT_TRUE(destroyed);
    TInterface::Free(nullptr); // none: nothing happens
}

TEST(InterfaceTest, AHolderGivesUpItsReferenceOnEveryWayOut) {
    bool destroyed = false;
    try {
        TIntfPtr<TWatched> held(new TWatched(destroyed));
        throw Exception("on the way");
    } catch (const Exception&) {
    }
    EXPECT_TRUE(destroyed);

    bool first = false, second = false;
    TIntfPtr<TWatched> a(new TWatched(first));
    TIntfPtr<TWatched> b(std::move(a));
    EXPECT_FALSE(a);
    b = TIntfPtr<TWatched>(new TWatched(second));
    EXPECT_TRUE(first);
    TWatched* raw = b.Detach(); // handed on: the holder gives nothing up
    b.Reset();
    EXPECT_FALSE(second);
    raw->Free();
    EXPECT_TRUE(second);
}

TEST(ShortCutTest, TextAndNumbersAreEachOthersInverse) {
    EXPECT_EQ(TextToShortCut("Alt+Enter"), 0x800D);
    EXPECT_EQ(TextToShortCut("Alt+M"), 0x804D);
    EXPECT_EQ(TextToShortCut("Alt+F"), 0x8046);
    EXPECT_EQ(TextToShortCut("Alt+P"), 0x8050);
    EXPECT_EQ(TextToShortCut("Alt+R"), 0x8052);
    EXPECT_EQ(TextToShortCut("Ctrl+S"), 0x4053);
    EXPECT_EQ(TextToShortCut("ctrl+shift+f5"), 0x6074); // any case, any order
    EXPECT_EQ(TextToShortCut("Ins"), 0x2D);
    for (const char* none : {"", "Alt+", "Alt+Foo", "Enter+Alt", "Ctrl+é", "F13"})
        EXPECT_EQ(TextToShortCut(none), 0) << none;

    EXPECT_EQ(ShortCutToText(0x800D), "Alt+Enter");
    EXPECT_EQ(ShortCutToText(0xE041), "Shift+Ctrl+Alt+A");
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(0x80FF), ""); // a key without a name
    int named = 0;
    for (int key = 0; key < 256; ++key)
        for (TShortCut mods : {0, 0x2000, 0x4000, 0x8000, 0xE000}) {
            const auto sc = static_cast<TShortCut>(mods | key);
            const std::string text = ShortCutToText(sc);
            if (text.empty())
                continue;
            ++named;
            EXPECT_EQ(TextToShortCut(text), sc) << text;
        }
    EXPECT_EQ(named, 5 * (26 + 10 + 12 + 15));
}

class TTestExpert : public TIExpert {
public:
    TTestExpert(std::vector<std::string>& log, std::string name)
        : FLog(log), FName(std::move(name)) {}
    ~TTestExpert() override { FLog.push_back("destroyed " + FName); }
    std::string GetName() override { return FName; }
    std::string GetAuthor() override { return {}; }
    std::string GetComment() override { return {}; }
    std::string GetPage() override { return {}; }
    HICON GetGlyph() override { return 0; }
    TExpertStyle GetStyle() override { return TExpertStyle::esAddIn; }
    TExpertState GetState() override { return esEnabled; }
    std::string GetIDString() override { return "Test." + FName; }
    std::string GetMenuText() override { return {}; }
    void Execute() override {}

private:
    std::vector<std::string>& FLog;
    std::string FName;
};

TEST(ExpertTest, TheHostKeepsRegisteredExpertsAndReleasesThemLastFirst) {
    std::vector<std::string> log;
    EXPECT_FALSE(RegisterLibraryExpert(new TTestExpert(log, "orphan"))); // no host
    EXPECT_EQ(log, std::vector<std::string>{"destroyed orphan"});
    log.clear();
    {
        THeadlessHost host;
        EXPECT_TRUE(RegisterLibraryExpert(new TTestExpert(log, "one")));
        EXPECT_TRUE(RegisterLibraryExpert(new TTestExpert(log, "two")));
        ASSERT_EQ(host.ExpertCount(), 2);
        EXPECT_EQ(host.Experts(1)->GetIDString(), "Test.two");
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (std::vector<std::string>{"destroyed two", "destroyed one"}));
    EXPECT_EQ(ExpertHost(), nullptr);
}

} // namespace
} // namespace vesk
