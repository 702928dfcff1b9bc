// `vesk render`: a PNG of the asked size, or one line on stderr, status 2 and no file.
#include "tests/cli/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace vesk::test {

namespace {

namespace fs = std::filesystem;

// Width and height from a PNG's header; (0, 0) when the file is not a PNG.
std::pair<int, int> PngSize(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    if (!in || header[1] != 'P' || header[2] != 'N' || header[3] != 'G')
        return {0, 0};
    auto word = [&](int at) {
        return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
    };
    return {word(16), word(20)};
}

class CliRender : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vesk-render-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

} // namespace

TEST_F(CliRender, WritesPicturesOfTheAskedSize) {
    const fs::path button = dir / "ring.png";
    CliResult result = RunVesk({"render", "button", "--out", button.string(), "--set", "Radius=30",
                                "--set", "LeftBorder=ctRaised", "--state", "down"});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(PngSize(button), std::make_pair(60, 60)); // the radius grew the button
    const fs::path label = dir / "label.png";
    result = RunVesk({"render", "label", "--out", label.string(), "--size", "120x40", "--set",
                      "Caption=Hi", "--set", "EffectStyle=esSunken", "--set", "Angle=90"});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(PngSize(label), std::make_pair(120, 40));
}

TEST_F(CliRender, BadInputIsRefusedWithOneLineAndNoFile) {
    const fs::path out = dir / "bad.png";
    const std::vector<std::vector<std::string>> bad{
        {"label", "--set", "EffectStyle=esBold"},
        {"label", "--set", "Angle"},
        {"label", "--set", "Nothing=1"},
        {"label", "--set", "Angle=360"},
        {"label", "--size", "0x10"},
        {"label", "--size", "10by10"},
        {"button", "--set", "Radius=-"},
        {"label", "--background", "clNone"},
        {"circle"},
    };
    for (std::vector<std::string> args : bad) {
        args.insert(args.begin(), "render");
        args.insert(args.end(), {"--out", out.string()});
        const CliResult result = RunVesk(args);
        EXPECT_EQ(result.Status, 2) << args[2];
        EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
    }
    EXPECT_FALSE(fs::exists(out));
    const CliResult style =
        RunVesk({"render", "label", "--set", "EffectStyle=esBold", "--out", out.string()});
    EXPECT_EQ(style.Err, "vesk render: 'esBold' is not a value of TEffectStyle (EffectStyle)\n");
    const CliResult unwritable =
        RunVesk({"render", "label", "--out", (dir / "missing" / "x.png").string()});
    EXPECT_EQ(unwritable.Status, 2);
    EXPECT_EQ(unwritable.Err, "vesk render: Cannot create '" +
                                  (dir / "missing" / "x.png").string() +
                                  "': No such file or directory\n");
}

// The picture replaces the file whole: a write that fails (here: past a file size limit,
// as on a full disk) leaves the picture there as it was.
TEST_F(CliRender, AFailedWriteLeavesTheOldPictureAlone) {
    const fs::path out = dir / "picture.png";
    ASSERT_EQ(RunVesk({"render", "label", "--out", out.string(), "--size", "40x20"}).Status, 0);
    std::ifstream in(out, std::ios::binary);
    const std::string before{std::istreambuf_iterator<char>(in), {}};
    CliOptions options;
    options.FileSizeLimit = 1000;
    const CliResult full =
        RunVesk({"render", "label", "--out", out.string(), "--size", "400x200", "--set",
                 "Caption=A caption long enough to need more than a thousand bytes"},
                options);
    EXPECT_EQ(full.Status, 2);
    EXPECT_EQ(full.Err, "vesk render: Cannot write '" + out.string() + "': File too large\n");
    std::ifstream again(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    // The window snapshots write through the same replacement.
    const CliResult snapshot =
        RunVesk({"snapshot", "about", "--ticks", "1", "--out", out.string()}, options);
    EXPECT_EQ(snapshot.Status, 2);
    EXPECT_EQ(snapshot.Err, "vesk snapshot: Cannot write '" + out.string() + "': File too large\n");
    std::ifstream third(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(third), {}), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A name that is not UTF-8 is the name the file gets, byte for byte.
TEST_F(CliRender, TheFileNameReachesTheFileSystemAsGiven) {
    const std::string name = "caf\xe9 \xff.png";
    const CliResult result = RunVesk({"render", "button", "--out", (dir / name).string()});
    EXPECT_EQ(result.Status, 0) << result.Err;
    ASSERT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::directory_iterator(dir)->path().filename().string(), name);
    EXPECT_EQ(PngSize(dir / name), std::make_pair(50, 50));
}

// `vesk snapshot`: the add-in's windows as pictures of their own size.
TEST_F(CliRender, SnapshotsOfTheWindows) {
    const fs::path wizard = dir / "fldexp.png";
    CliResult result = RunVesk({"snapshot", "fldexp", "--unit", SamplePath("OrderEntry.pas"),
                                "--page", "1", "--leave-out", "Notes", "--out", wizard.string()});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(PngSize(wizard), std::make_pair(427, 283));
    const fs::path about = dir / "about.png";
    result = RunVesk({"snapshot", "about", "--ticks", "3", "--out", about.string()});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(PngSize(about), std::make_pair(215, 291));

    // Without a unit, with a field the list does not have, or a unit without a form:
    // one line, status 2, no file.
    const fs::path out = dir / "bad.png";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"snapshot", "fldexp", "--out", out.string()},
          {"snapshot", "fldexp", "--unit", SamplePath("OrderEntry.pas"), "--page", "1",
           "--leave-out", "Nothing", "--out", out.string()},
          {"snapshot", "fldexp", "--unit", SamplePath("TextUtils.pas"), "--out", out.string()}}) {
        result = RunVesk(args);
        EXPECT_EQ(result.Status, 2) << args.back();
        EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace vesk::test
