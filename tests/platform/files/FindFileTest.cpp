#include "platform/files/FindFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;

TEST(MatchesMask, WildcardsIgnoreCase) {
    EXPECT_TRUE(MatchesMask("Unit1.pas", "U*.PAS"));
    EXPECT_TRUE(MatchesMask("unit1.PAS", "UNIT?.pas"));
    EXPECT_FALSE(MatchesMask("Unit12.pas", "Unit?.pas"));
    EXPECT_FALSE(MatchesMask("Unit1.pasx", "U*.pas"));
    EXPECT_TRUE(MatchesMask("abcXbcYc", "a*bc*c"));
    EXPECT_FALSE(MatchesMask("abcXbcY", "a*bc*c"));
    EXPECT_TRUE(MatchesMask("Makefile", "*.*"));
    EXPECT_TRUE(MatchesMask("Makefile", "M*."));
    EXPECT_FALSE(MatchesMask("Main.pas", "M*."));
    EXPECT_TRUE(MatchesMask("", "*"));
    EXPECT_FALSE(MatchesMask("a", ""));
}

TEST(FindFirst, ListsByMaskAndAttributes) {
    char pattern[] = "/tmp/vesk-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = std::string(pattern) + "/";
    std::ofstream(dir + "Unit1.pas") << "x";
    std::ofstream(dir + ".Hidden.pas") << "x";
    fs::create_directory(dir + "Units");
    fs::create_directory(dir + ".git");
    ASSERT_EQ(::mkfifo((dir + "Pipe").c_str(), 0600), 0);
    fs::create_symlink(dir + "Unit1.pas", dir + "ULink.pas");
    fs::create_symlink(dir + "missing", dir + "UDangling");

    auto list = [&](const std::string& mask, int attr) {
        std::map<std::string, int> found;
        TSearchRec rec;
        for (int r = FindFirst(dir + mask, attr, rec); r == 0; r = FindNext(rec))
            found[rec.Name] = rec.Attr & (faDirectory | faHidden | faSysFile);
        FindClose(rec);
        return found;
    };
    const std::map<std::string, int> all = {
        {"Unit1.pas", 0},        {".Hidden.pas", faHidden},
        {"Units", faDirectory},  {".git", faDirectory | faHidden},
        {"Pipe", faSysFile},     {"ULink.pas", 0},
        {"UDangling", faSysFile}};
    EXPECT_EQ(list("*.*", faAnyFile), all);
    EXPECT_EQ(list("*", 0), (std::map<std::string, int>{{"Unit1.pas", 0}, {"ULink.pas", 0}}));
    EXPECT_EQ(
        list("u*", faDirectory),
        (std::map<std::string, int>{{"Unit1.pas", 0}, {"ULink.pas", 0}, {"Units", faDirectory}}));
    EXPECT_EQ(list("*.PAS", faHidden).size(), 3u);

    TSearchRec rec;
    EXPECT_EQ(FindFirst(dir + "nothing*", faAnyFile, rec), ENOENT);
    EXPECT_EQ(FindFirst(dir + "absent/*.*", faAnyFile, rec), ENOENT);
    EXPECT_EQ(rec.FindHandle, nullptr);
    fs::remove_all(pattern);
}

} // namespace
} // namespace vesk
