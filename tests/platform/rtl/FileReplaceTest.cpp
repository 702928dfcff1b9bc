#include "platform/rtl/FileReplace.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() /
               ("vesk-replace-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }

    std::string Path(const std::string& name) const { return (FDir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(FDir), fs::directory_iterator()));
    }

    fs::path FDir;
};

TEST_F(FileReplaceTest, AnAbandonedReplacementLeavesTheTargetWholeAndNoTemporaryFile) {
    Write(Path("data"), "old content");
    try {
        TFileReplace file(Path("data"));
        file.Write("new");
        EXPECT_EQ(EntryCount(), 2u); // the temporary file is beside the target
        throw EInOutError("failure part way");
    } catch (const EInOutError&) {
    }
    EXPECT_EQ(Read(Path("data")), "old content");
    EXPECT_EQ(EntryCount(), 1u);

    ReplaceFile(Path("data"), "new content");
    EXPECT_EQ(Read(Path("data")), "new content");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileReplaceTest, ALinkedTargetIsReplacedThroughTheLink) {
    fs::create_directory(FDir / "real");
    Write(Path("real/data"), "old");
    fs::permissions(Path("real/data"), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(FDir / "real" / "data", FDir / "link");
    ReplaceFile(Path("link"), "new");
    EXPECT_TRUE(fs::is_symlink(FDir / "link"));
    EXPECT_EQ(Read(Path("real/data")), "new");
    EXPECT_EQ(fs::status(Path("real/data")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(EntryCount(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(FDir / "real"), fs::directory_iterator()), 1);
}

TEST_F(FileReplaceTest, AFixedTemporaryNameOverridesOneLeftBehindAndNewFilesGetTheirMode) {
    Write(Path("store.tmp"), "left by a writer that died, and longer than the new text");
    {
        TFileReplace file(Path("store"), 0600, TTempName::Fixed);
        file.Write("fresh");
        file.Commit();
    }
    EXPECT_EQ(Read(Path("store")), "fresh");
    EXPECT_EQ(fs::status(Path("store")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(Path("store.tmp")));
}

TEST_F(FileReplaceTest, TargetsThatCannotBeReplacedRaiseAndCreateNothing) {
    fs::create_directory(FDir / "folder");
    try {
        ReplaceFile(Path("folder"), "x");
        FAIL() << "a folder was replaced";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(Path("folder")), std::string::npos) << e.Message();
    }
    EXPECT_THROW(ReplaceFile(Path("missing/data"), "x"), EInOutError);
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_TRUE(fs::is_empty(FDir / "folder"));
}

TEST_F(FileReplaceTest, APipeIsWrittenDirectly) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    // Held open for reading so the writer does not wait for a reader.
    const int reader = ::open(Path("pipe").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ReplaceFile(Path("pipe"), "through");
    char buffer[16] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 7);
    EXPECT_EQ(std::string(buffer), "through");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));
    EXPECT_EQ(EntryCount(), 1u);
}

} // namespace
} // namespace vesk
