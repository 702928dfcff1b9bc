// `vesk render` end to end: the program writes a PNG of the asked size, and refuses
// bad input with status 2 and no file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

int Vesk(const std::string& arguments) {
    const std::string command = std::string("QT_QPA_PLATFORM=offscreen ") + VESK_BINARY_DIR +
                                "/bin/vesk " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vesk-render-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(RenderCommand, WritesPicturesOfTheAskedSize) {
    const fs::path button = dir / "ring.png";
    EXPECT_EQ(Vesk("render button --out " + button.string() +
                   " --set Radius=30 --set LeftBorder=ctRaised --state down"),
              0);
    EXPECT_EQ(PngSize(button), std::make_pair(60, 60)); // the radius grew the button
    const fs::path label = dir / "label.png";
    EXPECT_EQ(Vesk("render label --out " + label.string() +
                   " --size 120x40 --set Caption=Hi --set EffectStyle=esSunken --set Angle=90"),
              0);
    EXPECT_EQ(PngSize(label), std::make_pair(120, 40));
}

TEST_F(RenderCommand, BadInputIsRefusedWithoutAFile) {
    const fs::path out = dir / "bad.png";
    for (const char* bad : {"render label --set EffectStyle=esBold", "render label --set Angle",
                            "render label --set Nothing=1", "render label --size 0x10",
                            "render button --set Radius=-", "render label --size 10by10",
                            "render label --background clNone", "render circle"})
        EXPECT_EQ(Vesk(std::string(bad) + " --out " + out.string()), 2) << bad;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Vesk("render label --out " + (dir / "missing" / "x.png").string()), 2);
}

} // namespace
