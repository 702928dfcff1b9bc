#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vesk-registry-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        FDir = pattern;
        FFile = FDir + "/registry.reg";
    }
    void TearDown() override { fs::remove_all(FDir); }

    std::string FileText() const {
        std::ifstream in(FFile, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteFileText(const std::string& text) const {
        std::ofstream(FFile, std::ios::binary) << text;
    }

    std::string FDir;
    std::string FFile;
};

TEST_F(RegistryTest, ValuesSurviveTheFileInRegeditFormat) {
    {
        TRegistry reg(FFile);
        ASSERT_TRUE(reg.OpenKey("Software\\Vesk\\Find", true));
        reg.WriteString("Path", "C:\\Lib\\\"x\"");
        reg.WriteInteger("Index", 10);
        reg.WriteInteger("Minus", -1);
        reg.WriteString("", "default");
    }
    const std::string text = FileText();
    EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Vesk\\Find]\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Path\"=\"C:\\\\Lib\\\\\\\"x\\\"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Index\"=dword:0000000a\r\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\"\r\n"), std::string::npos);

    TRegistry reg(FFile);
    ASSERT_TRUE(reg.OpenKey("Software\\Vesk\\Find", false));
    EXPECT_EQ(reg.ReadString("Path"), "C:\\Lib\\\"x\"");
    EXPECT_EQ(reg.ReadInteger("Index"), 10);
    EXPECT_EQ(reg.ReadInteger("Minus"), -1);
    EXPECT_EQ(reg.ReadString(""), "default");
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    TRegistry reg(FFile);
    reg.OpenKey("Software\\Vesk", true);
    reg.WriteString("MainPath0", "one");
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\vesk", false));
    EXPECT_EQ(reg.ReadString("mainpath0"), "one");
    reg.WriteString("MAINPATH0", "two");
    EXPECT_TRUE(reg.KeyExists("\\software")); // a key above one that is stored
    EXPECT_FALSE(reg.KeyExists("\\Software\\Other"));
    const std::string text = FileText();
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Vesk]"), std::string::npos);
    EXPECT_NE(text.find("\"MainPath0\"=\"two\""), std::string::npos);
    EXPECT_EQ(text.find("MAINPATH0"), std::string::npos);

    // A relative key opens below the open one; a leading backslash starts at the root.
    ASSERT_TRUE(reg.OpenKey("Sub", true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\vesk\\Sub");
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
}

TEST_F(RegistryTest, MissingAndMistypedValues) {
    TRegistry reg(FFile);
    EXPECT_FALSE(reg.OpenKey("Software\\Absent", false));
    EXPECT_FALSE(fs::exists(FFile)); // reading never creates the store
    reg.OpenKey("Software\\Vesk", true);
    EXPECT_EQ(reg.ReadString("Nothing"), "");
    EXPECT_THROW(reg.ReadInteger("Nothing"), ERegistryException);
    reg.WriteString("Text", "12");
    reg.WriteInteger("Number", 12);
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Number"), ERegistryException);

    TStringList names;
    reg.GetValueNames(names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names[0], "Text");
    EXPECT_TRUE(reg.DeleteValue("text"));
    EXPECT_FALSE(reg.DeleteValue("text"));
    EXPECT_FALSE(reg.ValueExists("Text"));
    EXPECT_TRUE(reg.ValueExists("NUMBER"));
}

TEST_F(RegistryTest, OtherValueKindsAndCommentsAreKept) {
    WriteFileText("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vesk]\n"
                  "\"Blob\"=hex:01,02,\\\n  03,04\n; a note\n\"Multi\"=hex(7):41,00,00,00\n");
    TRegistry reg(FFile);
    reg.OpenKey("Software\\Vesk", false);
    EXPECT_THROW(reg.ReadString("Blob"), ERegistryException);
    reg.WriteString("New", "v");
    const std::string text = FileText();
    EXPECT_NE(text.find("\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Multi\"=hex(7):41,00,00,00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"New\"=\"v\""), std::string::npos);
}

TEST_F(RegistryTest, CorruptFileIsReportedWithItsLineAndNeverOverwritten) {
    const std::string corrupt = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vesk]\r\n"
                                "\"Index\"=dword:zz\r\n\"Kept\"=\"yes\"\r\n";
    WriteFileText(corrupt);
    TRegistry reg(FFile);
    try {
        reg.OpenKey("Software\\Vesk", false);
        FAIL() << "a corrupt store was read";
    } catch (const ERegistryException& e) {
        EXPECT_NE(std::string(e.what()).find("registry.reg:4:"), std::string::npos) << e.what();
    }
    EXPECT_THROW(reg.OpenKey("Software\\Other", true), ERegistryException);
    EXPECT_THROW(reg.WriteString("Kept", "no"), ERegistryException);
    EXPECT_EQ(FileText(), corrupt);

    WriteFileText("[HKEY_CURRENT_USER\\A]\n");
    EXPECT_THROW(reg.ReadString("x"), ERegistryException); // no REGEDIT4 header
    WriteFileText("REGEDIT4\n\"x\"=\"before any key\"\n");
    EXPECT_THROW(reg.ReadString("x"), ERegistryException);
    WriteFileText("REGEDIT4\n[HKEY_NOWHERE\\A]\n");
    EXPECT_THROW(reg.ReadString("x"), ERegistryException);
}

TEST_F(RegistryTest, LineBreaksAndNulBytesAreRefusedByNameAndLoseNothing) {
    TRegistry reg(FFile);
    reg.OpenKey("Software\\Vesk", true);
    reg.WriteString("Safe", "1");
    const std::string before = FileText();
    const std::pair<std::string, std::string> cases[] = {
        {"two\nlines", "Failed to set data for 'Bad': line breaks cannot be stored"},
        {std::string("a\0b", 3), "Failed to set data for 'Bad': a NUL byte cannot be stored"},
    };
    for (const auto& [value, message] : cases) {
        try {
            reg.WriteString("Bad", value);
            ADD_FAILURE() << message;
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    EXPECT_THROW(reg.WriteString("Bad\r", "x"), ERegistryException);
    EXPECT_THROW(reg.OpenKey(std::string("Software\\A\0B", 13), true), ERegistryException);
    EXPECT_EQ(FileText(), before);
}

// A value of another kind ending in a continuation backslash at the very end of the file
// would swallow the next line written after it: such a file is refused as cut short,
// with its line, and never overwritten.
TEST_F(RegistryTest, AValueCutShortAtTheEndIsRefusedAndWhatIsWrittenReadsBack) {
    const std::string cut = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vesk]\r\n"
                            "\"Blob\"=hex:01,02,\\\r\n  03,\\\r\n";
    WriteFileText(cut);
    TRegistry reg(FFile);
    try {
        reg.OpenKey("Software\\Vesk", false);
        FAIL() << "a store cut short was read";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), FFile + ":5: the value continues past the end of the file (is "
                                       "the file cut short?)");
    }
    EXPECT_THROW(reg.WriteString("Favor0", "new"), ERegistryException);
    EXPECT_EQ(FileText(), cut);

    // Whole, the same value is kept and what is written after it reads back.
    WriteFileText(cut + "  04\r\n");
    ASSERT_TRUE(reg.OpenKey("Software\\Vesk", false));
    reg.WriteString("Favor0", "new");
    TRegistry again(FFile);
    ASSERT_TRUE(again.OpenKey("Software\\Vesk", false));
    EXPECT_EQ(again.ReadString("Favor0"), "new");
    EXPECT_NE(FileText().find("\"Blob\"=hex:01,02,\\\r\n  03,\\\r\n  04\r\n"), std::string::npos);
}

// A transaction left by an error writes nothing of what it changed: a list is never
// left half written. One abandoned part makes the whole update write nothing.
TEST_F(RegistryTest, AnAbandonedTransactionWritesNothing) {
    TRegistry reg(FFile);
    reg.OpenKey("Software\\Vesk", true);
    reg.WriteString("List0", "old");
    const std::string before = FileText();
    try {
        TRegistryUpdate transaction(reg);
        reg.WriteString("List0", "new");
        reg.WriteString("List1", "new");
        reg.WriteString("List2", "bad\nline");
        transaction.Commit();
    } catch (const ERegistryException&) {
    }
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(reg.ReadString("List0"), "old");
    EXPECT_FALSE(reg.ValueExists("List1"));

    TRegistryUpdate outer(reg);
    reg.WriteString("List0", "outer");
    {
        TRegistryUpdate inner(reg);
        reg.WriteString("List1", "inner");
    } // left without Commit
    EXPECT_THROW(outer.Commit(), ERegistryException);
    EXPECT_EQ(FileText(), before);
    reg.WriteString("After", "ok"); // the lock was given up
    EXPECT_EQ(reg.ReadString("After"), "ok");
}

TEST_F(RegistryTest, AStoreThatIsNoFileIsNamedNotWaitedOn) {
    ASSERT_EQ(::mkfifo(FFile.c_str(), 0600), 0);
    TRegistry reg(FFile);
    try {
        reg.OpenKey("Software", false);
        FAIL() << "a fifo was read as the store";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "'" + FFile + "' is a fifo, not a file");
    }
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
    EXPECT_TRUE(fs::is_fifo(FFile));
}

TEST_F(RegistryTest, AKeyOpenedForWritingIsCreatedByTheFirstValueOnly) {
    TRegistry reg(FFile);
    reg.OpenKeyOnWrite("Software\\Vesk\\Find");
    EXPECT_EQ(reg.CurrentPath(), "Software\\Vesk\\Find");
    EXPECT_EQ(reg.ReadString("MainPath0"), "");
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 0);
    EXPECT_FALSE(fs::exists(FDir + "/registry.reg"));
    EXPECT_FALSE(fs::exists(FDir + "/registry.reg.lock"));
    reg.WriteString("MainPath0", "/src");
    TRegistry other(FFile);
    ASSERT_TRUE(other.OpenKey("Software\\Vesk\\Find", false));
    EXPECT_EQ(other.ReadString("MainPath0"), "/src");
}

TEST_F(RegistryTest, ChangesByAnotherHandleAreSeen) {
    TRegistry first(FFile), second(FFile);
    first.OpenKey("Software\\Vesk", true);
    second.OpenKey("Software\\Vesk", true);
    first.WriteString("A", "1");
    EXPECT_EQ(second.ReadString("A"), "1");
    second.WriteString("B", "2");
    first.WriteString("C", "3"); // must not drop B, written behind first's back
    TRegistry third(FFile);
    third.OpenKey("Software\\Vesk", false);
    EXPECT_EQ(third.ReadString("B"), "2");
    EXPECT_EQ(third.ReadString("C"), "3");
}

TEST_F(RegistryTest, HandlesOfOneProcessShareTheStoreAndItsUpdate) {
    TRegistry outer(FFile);
    TRegistry inner(FDir + "/./registry.reg"); // another spelling of the same file
    EXPECT_EQ(outer.Store(), inner.Store());
    ASSERT_TRUE(outer.OpenKey("Software\\Vesk", true));
    ASSERT_TRUE(inner.OpenKey("Software\\Vesk", false));
    {
        TRegistryUpdate update(outer);
        outer.WriteString("Outer", "1");
        inner.WriteString("Inner", "2"); // would wait for the lock forever on its own store
        EXPECT_EQ(FileText().find("Inner"), std::string::npos); // nothing written yet
        update.Commit();
    }
    const std::string text = FileText();
    EXPECT_NE(text.find("\"Outer\"=\"1\""), std::string::npos);
    EXPECT_NE(text.find("\"Inner\"=\"2\""), std::string::npos);
}

TEST_F(RegistryTest, AStoreNamedRelativelyStaysWhereItWasWhenTheCurrentFolderChanges) {
    namespace fs = std::filesystem;
    const fs::path before = fs::current_path();
    const fs::path elsewhere = fs::path(FDir) / "elsewhere";
    fs::create_directory(elsewhere);
    fs::current_path(FDir);
    bool opened = false;
    {
        TRegistry registry("registry.reg");
        fs::current_path(elsewhere); // as the IDE enters a project's folder
        opened = registry.OpenKey("Software\\Vesk", true);
        if (opened)
            registry.WriteString("Kept", "here");
    }
    fs::current_path(before);
    ASSERT_TRUE(opened);
    EXPECT_NE(FileText().find("\"Kept\"=\"here\""), std::string::npos);
    EXPECT_FALSE(fs::exists(elsewhere / "registry.reg"));
}

TEST_F(RegistryTest, DefaultFileFollowsTheEnvironment) {
    const char* old = std::getenv("VESK_REGISTRY");
    const std::string saved = old ? old : "";
    ::setenv("VESK_REGISTRY", FFile.c_str(), 1);
    EXPECT_EQ(DefaultRegistryFile(), FFile);
    ::unsetenv("VESK_REGISTRY");
    const char* xdgOld = std::getenv("XDG_CONFIG_HOME");
    const std::string xdgSaved = xdgOld ? xdgOld : "";
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    EXPECT_EQ(DefaultRegistryFile(), FDir + "/vesk/registry.reg");
    if (xdgOld)
        ::setenv("XDG_CONFIG_HOME", xdgSaved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    if (old)
        ::setenv("VESK_REGISTRY", saved.c_str(), 1);

    // Writing through the default location makes its folder.
    TRegistry reg(FDir + "/deep/er/registry.reg");
    reg.OpenKey("Software", true);
    reg.WriteInteger("x", 1);
    EXPECT_TRUE(fs::exists(FDir + "/deep/er/registry.reg"));
}

// Two processes writing into the same store at once lose nothing. The store lies in
// memory when it can, so that the test measures the locking, not the disk's flushes.
TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int Values = 1000;
    char pattern[] = "/dev/shm/vesk-registry-XXXXXX";
    std::string shm;
    if (::mkdtemp(pattern)) {
        shm = pattern;
        FFile = shm + "/registry.reg";
    }
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            int status = 0;
            try {
                TRegistry reg(FFile);
                reg.OpenKey("Software\\Race", true);
                for (int i = 0; i < Values; ++i)
                    reg.WriteString("P" + IntToStr(p) + "_" + IntToStr(i), IntToStr(i));
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
    }
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    TRegistry reg(FFile);
    ASSERT_TRUE(reg.OpenKey("Software\\Race", false));
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 2 * Values);
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < Values; i += 97)
            EXPECT_EQ(reg.ReadString("P" + IntToStr(p) + "_" + IntToStr(i)), IntToStr(i));
    if (!shm.empty())
        fs::remove_all(shm);
}

// A writer killed while it writes, wherever the kill falls, leaves the old store or the
// new one, never a torn one nor a temporary file, and its lock goes with it.
TEST_F(RegistryTest, WriterKilledMidWriteLeavesAWholeFile) {
    const std::string big(2 << 20, 'A');
    {
        TRegistry reg(FFile);
        reg.OpenKey("Software\\Crash", true);
        reg.WriteString("Big", big);
    }
    std::mt19937 random(11);
    for (int run = 0; run < 10; ++run) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                TRegistry reg(FFile);
                reg.OpenKey("Software\\Crash", true);
                for (char fill = 'B';; fill = fill == 'B' ? 'C' : 'B')
                    reg.WriteString("Big", std::string(2 << 20, fill));
            } catch (...) {
            }
            ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 40));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        TRegistry reg(FFile);
        ASSERT_TRUE(reg.OpenKey("Software\\Crash", false));
        const std::string value = reg.ReadString("Big");
        ASSERT_EQ(value.size(), big.size());
        EXPECT_EQ(value.find_first_not_of(value[0]), std::string::npos) << "torn value";
        reg.WriteString("After", "ok"); // the dead writer's lock is gone
        EXPECT_EQ(reg.ReadString("After"), "ok");
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(FDir))
            left.push_back(entry.path().filename().string());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
    }
}

// A transaction holds the lock from its read to its write: ten processes each reading a
// number and writing it back one higher, all at once, count to ten.
TEST_F(RegistryTest, ReadModifyWriteInsideATransactionLosesNoUpdate) {
    constexpr int Writers = 10;
    {
        TRegistry reg(FFile);
        reg.OpenKey("Software\\Count", true);
        reg.WriteInteger("N", 0);
    }
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int p = 0; p < Writers; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(start[1]);
            char go;
            int status = ::read(start[0], &go, 1) == 0 ? 0 : 2; // all start when it closes
            try {
                TRegistry reg(FFile);
                reg.OpenKey("Software\\Count", false);
                const std::int32_t seen = reg.ReadInteger("N"); // cached before the lock
                TRegistryUpdate transaction(reg);
                const std::int32_t now = reg.ReadInteger("N"); // read again under it
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                reg.WriteInteger("N", now + 1);
                transaction.Commit();
                status = status == 0 && seen <= now ? 0 : 3;
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    TRegistry reg(FFile);
    ASSERT_TRUE(reg.OpenKey("Software\\Count", false));
    EXPECT_EQ(reg.ReadInteger("N"), Writers);
}

} // namespace
} // namespace vesk
