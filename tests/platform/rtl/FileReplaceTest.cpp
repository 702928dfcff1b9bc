#include "platform/rtl/FileReplace.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
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
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        AllowUnnamedTemporaryFiles(unnamed);
        Write(Path("data"), "old content");
        try {
            TFileReplace file(Path("data"));
            file.Write("new");
            // An unnamed file has no entry in the folder; a named one lies beside the target.
            EXPECT_EQ(EntryCount(), unnamed ? 1u : 2u);
            file.Prepare();
            EXPECT_EQ(EntryCount(), 2u);
            throw EInOutError("failure part way");
        } catch (const EInOutError&) {
        }
        EXPECT_EQ(Read(Path("data")), "old content");
        EXPECT_EQ(EntryCount(), 1u);

        ReplaceFile(Path("data"), "new content");
        EXPECT_EQ(Read(Path("data")), "new content");
        EXPECT_EQ(EntryCount(), 1u);
    }
    AllowUnnamedTemporaryFiles(true);
}

TEST_F(FileReplaceTest, PreparedFilesReplaceNothingUntilEachIsCommitted) {
    Write(Path("form"), "old form");
    Write(Path("unit"), "old unit");
    TFileReplace form(Path("form"));
    TFileReplace unit(Path("unit"));
    form.Write("new form");
    unit.Write("new unit");
    form.Prepare();
    unit.Prepare();
    EXPECT_EQ(Read(Path("form")), "old form");
    EXPECT_EQ(Read(Path("unit")), "old unit");
    EXPECT_THROW(form.Write("more"), EInOutError);
    form.Commit();
    unit.Commit();
    EXPECT_EQ(Read(Path("form")), "new form");
    EXPECT_EQ(Read(Path("unit")), "new unit");
    EXPECT_EQ(EntryCount(), 2u);
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

TEST_F(FileReplaceTest, TargetsThatCannotBeReplacedRaiseOneLineAndCreateNothing) {
    fs::create_directory(FDir / "folder");
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("loop2", FDir / "loop1");
    fs::create_symlink("loop1", FDir / "loop2");
    fs::create_symlink("nowhere", FDir / "dangling");
    const std::pair<std::string, std::string> cases[] = {
        {Path("folder"), "'" + Path("folder") + "' is a directory"},
        // A pipe would wait for a reader; it is refused at once.
        {Path("pipe"), "'" + Path("pipe") + "' is a fifo, not a file"},
        {"/dev/null", "'/dev/null' is a device, not a file"},
        {Path("loop1"),
         "Cannot replace '" + Path("loop1") + "': Too many levels of symbolic links"},
        {Path("loop1") + "/data", "Cannot replace '" + Path("loop1") +
                                      "/data': Too many levels "
                                      "of symbolic links"},
        {Path("dangling"),
         "Cannot replace '" + Path("dangling") + "': it is a link to a missing file"},
        {Path("missing/data"),
         "Cannot create '" + Path("missing/data") + "': No such file or directory"},
    };
    for (const auto& [target, message] : cases) {
        try {
            ReplaceFile(target, "x");
            ADD_FAILURE() << target << " was replaced";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    EXPECT_EQ(EntryCount(), 5u);
    EXPECT_TRUE(fs::is_empty(FDir / "folder"));
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));
    EXPECT_TRUE(fs::is_symlink(Path("loop1")));
    EXPECT_TRUE(fs::is_symlink(Path("dangling")));
    EXPECT_FALSE(fs::exists(Path("nowhere")));
}

// Reading refuses what holds no file content at once, naming it, instead of waiting on
// a fifo or reading a device without end.
TEST_F(FileReplaceTest, OddFilesAreNamedWhenRead) {
    fs::create_directory(FDir / "folder");
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", Path("socket").c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("loop", FDir / "loop");
    Write(Path("big"), std::string(3 << 20, 'x'));
    const std::pair<std::string, std::string> cases[] = {
        {Path("folder"), "'" + Path("folder") + "' is a directory"},
        {Path("pipe"), "'" + Path("pipe") + "' is a fifo, not a file"},
        {Path("socket"), "'" + Path("socket") + "' is a socket, not a file"},
        {"/dev/zero", "'/dev/zero' is a device, not a file"},
        {Path("loop"), "Cannot open '" + Path("loop") + "': Too many levels of symbolic links"},
        {Path("missing"), "Cannot open '" + Path("missing") + "': No such file or directory"},
        {Path("big"), "'" + Path("big") + "' is larger than 2 MB"},
    };
    for (const auto& [path, message] : cases) {
        try {
            ReadFileContent(path, 2 << 20);
            ADD_FAILURE() << path << " was read";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    ::close(sock);
    EXPECT_EQ(ReadFileContent(Path("big")).size(), std::size_t{3} << 20);
}

// Runs Body in a child process and returns its wait status.
template <typename Body>
int InChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 1;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

// A file the user could not write with cp is not replaced through its writable folder.
TEST_F(FileReplaceTest, AFileTheUserCannotWriteIsRefused) {
    Write(Path("theirs"), "not yours");
    Write(Path("readonly"), "keep");
    fs::permissions(Path("theirs"), fs::perms::owner_read | fs::perms::owner_write |
                                        fs::perms::group_read | fs::perms::others_read);
    fs::permissions(Path("readonly"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(FDir, fs::perms::all); // anyone could rename over them
    constexpr uid_t Nobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(Path("readonly").c_str(), Nobody, Nobody), 0);
    }
    const int status = InChild([&] {
        if (root && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            return 3;
        int refused = 0;
        for (const char* name : {"theirs", "readonly"}) {
            if (!root && std::string(name) == "theirs")
                continue; // needs another owner
            try {
                ReplaceFile(Path(name), "replaced");
            } catch (const EInOutError& e) {
                refused += e.Message() == "Cannot replace '" + Path(name) + "': Permission denied";
            }
        }
        return refused == (root ? 2 : 1) ? 0 : 4;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Read(Path("theirs")), "not yours");
    EXPECT_EQ(Read(Path("readonly")), "keep");
    EXPECT_EQ(EntryCount(), 2u);
}

// A write that fails part way (here: past the file size limit, as on a full disk) raises
// and leaves the old file alone.
TEST_F(FileReplaceTest, AFailedWriteLeavesTheTargetWhole) {
    Write(Path("data"), "old content");
    for (const bool unnamed : {true, false}) {
        const int status = InChild([&] {
            AllowUnnamedTemporaryFiles(unnamed);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            try {
                ReplaceFile(Path("data"), std::string(100000, 'x'));
            } catch (const EInOutError& e) {
                return e.Message() == "Cannot write '" + Path("data") + "': File too large" ? 0 : 5;
            }
            return 6;
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(Read(Path("data")), "old content");
        EXPECT_EQ(EntryCount(), 1u);
    }
}

class FileReplaceSignals : public FileReplaceTest {
protected:
    // A child that starts replacing "data", says so on a pipe and waits to be stopped.
    pid_t StartWriter(bool unnamed, bool ownHandler) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            if (ownHandler)
                std::signal(SIGTERM, [](int) { ::_exit(42); });
            AllowUnnamedTemporaryFiles(unnamed);
            TFileReplace file(Path("data"));
            file.Write("partial");
            ::write(ready[1], "r", 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        return child;
    }
    int Stop(pid_t child, int signal) {
        ::kill(child, signal);
        int status = -1;
        ::waitpid(child, &status, 0);
        return status;
    }
};

TEST_F(FileReplaceSignals, InterruptedWritersLeaveNoTemporaryFile) {
    Write(Path("data"), "whole");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const pid_t child = StartWriter(false, false);
        EXPECT_EQ(EntryCount(), 2u); // the named temporary file
        const int status = Stop(child, signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(EntryCount(), 1u);
        EXPECT_EQ(Read(Path("data")), "whole");
    }
    // A handler the program had is still called, after the file is gone.
    const int status = Stop(StartWriter(false, true), SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42) << status;
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileReplaceSignals, AKilledWriterOfAnUnnamedFileLeavesNothing) {
    const int probe = ::open(FDir.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0)
        GTEST_SKIP() << "no unnamed files on this file system";
    ::close(probe);
    Write(Path("data"), "whole");
    const pid_t child = StartWriter(true, false);
    EXPECT_EQ(EntryCount(), 1u);
    const int status = Stop(child, SIGKILL);
    EXPECT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_EQ(Read(Path("data")), "whole");
}

} // namespace
} // namespace vesk
