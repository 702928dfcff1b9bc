#include "expert/frame/VeskCommon.h"

#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vesk {
namespace {

struct TestEdit : IEditBox {
    std::string text;
    int selStart = 0, selLength = 0;
    int changes = 0; // text change notifications
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override {
        if (t != text)
            ++changes;
        text = t;
    }
    int SelStart() const override { return selStart; }
    void SetSelStart(int v) override { selStart = v; }
    int SelLength() const override { return selLength; }
    void SetSelLength(int v) override { selLength = v; }
};

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vesk-common-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        FDir = pattern;
        FStore = TRegistryFile::Open(FDir + "/registry.reg");
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }
    void Store(const std::string& value) {
        TRegistry reg(FStore);
        reg.OpenKey(VeskRegistryRoot, true);
        reg.WriteString("MNavExpDlgFormPlacement", value);
    }
    std::string Stored() {
        TRegistry reg(FStore);
        reg.OpenKey(VeskRegistryRoot, false);
        return reg.ReadString("MNavExpDlgFormPlacement");
    }
    std::string FDir;
    std::shared_ptr<TRegistryFile> FStore; // passed in: no environment variable needed
};

TEST_F(PlacementTest, WritesTopLeftHeightWidth) {
    TWindowBounds form("MNavExpDlg", 50, 100, 200, 300);
    WriteFormPlacement(form, VeskRegistryRoot, FStore);
    EXPECT_EQ(Stored(), "50 100 200 300");
    form.SetTop(-4);
    form.SetLeft(-4);
    WriteFormPosition(form, VeskRegistryRoot, FStore);
    EXPECT_EQ(Stored(), "-4 -4");

    TWindowBounds restored("MNavExpDlg");
    ReadFormPosition(restored, VeskRegistryRoot, FStore); // restored off the screen, uncorrected
    EXPECT_EQ(restored.Top(), -4);
    EXPECT_EQ(restored.Left(), -4);
}

TEST_F(PlacementTest, ReadsWhatIsStoredAndStopsAtABadNumber) {
    TWindowBounds form("MNavExpDlg", 1, 2, 3, 4);
    ReadFormPlacement(form, VeskRegistryRoot, FStore); // nothing stored: bounds stay
    EXPECT_EQ(form.Top() + form.Left() + form.Height() + form.Width(), 10);

    Store("0 0 100 200");
    ReadFormPlacement(form, VeskRegistryRoot, FStore);
    EXPECT_EQ(form.Top(), 0);
    EXPECT_EQ(form.Left(), 0);
    EXPECT_EQ(form.Height(), 100);
    EXPECT_EQ(form.Width(), 200);

    Store("50 100 200 300");
    form.SetHeight(7);
    ReadFormPosition(form, VeskRegistryRoot, FStore);
    EXPECT_EQ(form.Top(), 50);
    EXPECT_EQ(form.Left(), 100);
    EXPECT_EQ(form.Height(), 7);

    Store("10 20");
    EXPECT_THROW(ReadFormPlacement(form, VeskRegistryRoot, FStore), EConvertError);
    EXPECT_EQ(form.Top(), 10);
    EXPECT_EQ(form.Left(), 20);
    EXPECT_EQ(form.Height(), 7);
    Store("1 x 3 4");
    EXPECT_THROW(ReadFormPosition(form, VeskRegistryRoot, FStore), EConvertError);
    EXPECT_EQ(form.Top(), 1);
}

// A window saving its place while the store is held in an update joins that update
// instead of waiting for the lock its own process holds.
TEST_F(PlacementTest, AWriteInsideAnUpdateOfTheSameStoreJoinsIt) {
    TRegistry reg(FStore);
    TRegistryUpdate update(reg);
    reg.OpenKey(VeskRegistryRoot, true);
    reg.WriteString("Other", "1");
    WriteFormPlacement(TWindowBounds("MNavExpDlg", 1, 2, 3, 4), VeskRegistryRoot, FStore);
    EXPECT_FALSE(std::filesystem::exists(FDir + "/registry.reg")); // nothing written yet
    update.Commit();
    EXPECT_EQ(Stored(), "1 2 3 4");
}

TEST(EdKeyChar, TypesAsTheUserWould) {
    TestEdit edit;
    edit.text = "xyz", edit.selStart = 1;
    edKeyChar('a', edit);
    EXPECT_EQ(edit.text, "xayz");
    EXPECT_EQ(edit.selStart, 2);

    edit.text = "xyz", edit.selStart = 1, edit.selLength = 1;
    edKeyChar('a', edit);
    EXPECT_EQ(edit.text, "xaz");
    EXPECT_EQ(edit.selStart, 2);
    EXPECT_EQ(edit.selLength, 0);

    edit.text = "xyz", edit.selStart = 2, edit.selLength = 0;
    edKeyChar(8, edit);
    EXPECT_EQ(edit.text, "xz");
    EXPECT_EQ(edit.selStart, 1);

    edit.text = "xyz", edit.selStart = 1, edit.selLength = 2, edit.changes = 0;
    edKeyChar(8, edit);
    EXPECT_EQ(edit.text, "x");
    EXPECT_EQ(edit.selStart, 1);
    EXPECT_EQ(edit.changes, 2); // once with the blank, once without

    edit.text = "xyz", edit.selStart = 0, edit.changes = 0;
    edKeyChar(8, edit);
    EXPECT_EQ(edit.text, "xyz");
    EXPECT_EQ(edit.selStart, 0);
    EXPECT_EQ(edit.changes, 0);

    edit.text = "", edit.selStart = 0;
    edKeyChar('\t', edit); // control characters are typed too
    EXPECT_EQ(edit.text, "\t");
}

} // namespace
} // namespace vesk
