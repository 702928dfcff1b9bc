#include "library/utility/Des.h"
#include "platform/rtl/SysUtils.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;

// clang-format off
// The tables as the Data Encryption Standard publishes them.
const TDesTables Published = {
    {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
     62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
     57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
     61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7},
    {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
     12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
     22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1},
    {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
     2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25},
    {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
     10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
     63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
     14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4},
    {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
     23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
     41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
     44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32},
    {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1},
    {{
        {14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7,
         0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8,
         4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0,
         15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13},
        {15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10,
         3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5,
         0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15,
         13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9},
        {10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8,
         13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1,
         13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7,
         1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12},
        {7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15,
         13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9,
         10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4,
         3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14},
        {2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9,
         14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6,
         4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14,
         11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3},
        {12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11,
         10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8,
         9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6,
         4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13},
        {4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1,
         13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6,
         1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2,
         6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12},
        {13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7,
         1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2,
         7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8,
         2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11},
    }},
};
// clang-format on

TDesBlock Hex(const char* text) {
    TDesBlock block{};
    for (int i = 0; i < 8; ++i)
        block[i] = static_cast<std::uint8_t>(std::stoi(std::string(text + 2 * i, 2), nullptr, 16));
    return block;
}

// One block bit by bit, straight from the tables: the yardstick for the combined ones.
TDesBlock ReferenceDes(const TDesTables& t, const TDesBlock& in, const TDesBlock& key,
                       bool encrypt) {
    auto bit = [](const auto& bits, int n) { return bits[n - 1]; };
    std::array<int, 64> data{}, keyBits{};
    for (int i = 0; i < 64; ++i) {
        data[i] = (in[i / 8] >> (7 - i % 8)) & 1;
        keyBits[i] = (key[i / 8] >> (7 - i % 8)) & 1;
    }
    std::array<int, 56> cd{};
    for (int i = 0; i < 56; ++i)
        cd[i] = bit(keyBits, t.PC1[i]);
    std::array<std::array<int, 48>, 16> subkeys{};
    for (int n = 0; n < 16; ++n) {
        for (int s = 0; s < t.Shifts[n]; ++s) {
            std::rotate(cd.begin(), cd.begin() + 1, cd.begin() + 28);
            std::rotate(cd.begin() + 28, cd.begin() + 29, cd.end());
        }
        for (int i = 0; i < 48; ++i)
            subkeys[n][i] = bit(cd, t.PC2[i]);
    }
    std::array<int, 64> lr{};
    for (int i = 0; i < 64; ++i)
        lr[i] = bit(data, t.IP[i]);
    std::array<int, 32> l{}, r{};
    std::copy_n(lr.begin(), 32, l.begin());
    std::copy_n(lr.begin() + 32, 32, r.begin());
    for (int n = 0; n < 16; ++n) {
        const auto& k = subkeys[encrypt ? n : 15 - n];
        std::array<int, 32> sOut{}, f{};
        for (int box = 0; box < 8; ++box) {
            int g[6];
            for (int j = 0; j < 6; ++j)
                g[j] = bit(r, t.E[6 * box + j]) ^ k[6 * box + j];
            const int value =
                t.S[box][(2 * g[0] + g[5]) * 16 + 8 * g[1] + 4 * g[2] + 2 * g[3] + g[4]];
            const int weights[4] = {8, 4, 2, 1};
            for (int j = 0; j < 4; ++j)
                sOut[4 * box + j] = (value & weights[j]) ? 1 : 0;
        }
        for (int i = 0; i < 32; ++i)
            f[i] = bit(sOut, t.P[i]) ^ l[i];
        l = r;
        r = f;
    }
    std::array<int, 64> pre{};
    std::copy(r.begin(), r.end(), pre.begin());
    std::copy(l.begin(), l.end(), pre.begin() + 32);
    TDesBlock out{}; // IP-1: bit IP[j] of the output is bit j of the pre-output
    for (int j = 0; j < 64; ++j)
        if (pre[j])
            out[(t.IP[j] - 1) / 8] |= static_cast<std::uint8_t>(0x80 >> ((t.IP[j] - 1) % 8));
    return out;
}

TEST(DesCipher, PublishedTablesGiveTheStandardsKnownAnswers) {
    TEncryption standard(Published);
    struct Vector {
        const char *key, *plain, *cipher;
    } vectors[] = {
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
        {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
        {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
        {"0101010101010101", "95F8A5E5DD31D900", "8000000000000000"},
    };
    for (const Vector& v : vectors) {
        TDesBlock out;
        standard.DES(Hex(v.plain), Hex(v.key), out, true);
        EXPECT_EQ(out, Hex(v.cipher)) << v.key;
        standard.DES(Hex(v.cipher), Hex(v.key), out, false);
        EXPECT_EQ(out, Hex(v.plain)) << v.key;
    }
    // The same through the component's key and a buffer of two blocks.
    standard.SetKey("\x13\x34\x57\x79\x9B\xBC\xDF\xF1");
    TDesBlock two[2] = {Hex("0123456789ABCDEF"), Hex("0123456789ABCDEF")};
    standard.Crypt(two, two, 16, true);
    EXPECT_EQ(two[0], Hex("85E813540F0AB405"));
    EXPECT_EQ(two[1], Hex("85E813540F0AB405"));
}

TEST(DesCipher, VariantDiffersFromThePublishedTablesInTenEntries) {
    const TDesTables& variant = VariantDesTables();
    int changed = 0;
    for (int box = 0; box < 8; ++box)
        for (int i = 0; i < 64; ++i)
            changed += variant.S[box][i] != Published.S[box][i];
    for (int i = 0; i < 48; ++i)
        changed += variant.PC2[i] != Published.PC2[i];
    EXPECT_EQ(changed, 10);
    EXPECT_EQ(variant.S[7][3 * 16 + 8], 19);
    EXPECT_EQ(variant.PC2[11], 19);
    EXPECT_EQ(variant.IP, Published.IP);
    EXPECT_EQ(variant.E, Published.E);
    EXPECT_EQ(variant.P, Published.P);
    EXPECT_EQ(variant.PC1, Published.PC1);
    EXPECT_EQ(variant.Shifts, Published.Shifts);
}

TEST(DesCipher, CombinedTablesMatchTheBitwiseRoundsForManyKeysAndBlocks) {
    std::mt19937_64 random(7);
    TEncryption variant;
    TEncryption published(Published);
    ASSERT_EQ(ReferenceDes(Published, Hex("0123456789ABCDEF"), Hex("133457799BBCDFF1"), true),
              Hex("85E813540F0AB405"));
    int differing = 0;
    for (int trial = 0; trial < 200; ++trial) {
        TDesBlock key, block;
        for (auto& b : key)
            b = static_cast<std::uint8_t>(random());
        for (auto& b : block)
            b = static_cast<std::uint8_t>(random());
        TDesBlock out;
        variant.DES(block, key, out, true);
        ASSERT_EQ(out, ReferenceDes(VariantDesTables(), block, key, true));
        TDesBlock back;
        variant.DES(out, key, back, false);
        ASSERT_EQ(back, block);
        TDesBlock standard;
        published.DES(block, key, standard, true);
        differing += standard != out;
    }
    EXPECT_GE(differing, 195);
}

TEST(DesCipher, TablesTheRoundCannotFollowAreRefused) {
    TDesTables tables = Published;
    tables.IP[1] = tables.IP[0];
    EXPECT_THROW(MakeDesEngine(tables), EArgumentError);
    tables = Published;
    tables.E[2] = 9;
    EXPECT_THROW(MakeDesEngine(tables), EArgumentError);
    tables = Published;
    tables.PC2[0] = 57;
    EXPECT_THROW(MakeDesEngine(tables), EArgumentError);
}

TEST(EncryptionKey, KeyBlockAndReadBack) {
    TEncryption c;
    EXPECT_EQ(c.GetKey(), "");
    EXPECT_EQ(c.KeyBlock(), TDesBlock{});

    c.SetKey("abc");
    EXPECT_EQ(c.KeyBlock(), (TDesBlock{'a', 'b', 'c', 0, 0, 0, 0, 0}));
    EXPECT_EQ(c.GetKey(), "abc");

    c.SetKey("0123456789");
    EXPECT_EQ(c.GetKey(), "01234567");

    c.SetKey("");
    EXPECT_EQ(c.GetKey(), "Nel Ova ");

    c.SetKey(std::string("ab\0cdefg", 8));
    EXPECT_EQ(c.GetKey(), "ab");
    EXPECT_EQ(c.KeyBlock(), (TDesBlock{'a', 'b', 0, 'c', 'd', 'e', 'f', 'g'}));
    EXPECT_EQ(PasToCryptString("xy"), (TDesBlock{'x', 'y', 0, 0, 0, 0, 0, 0}));
}

TEST(EncryptionCrypt, UsesTheKeyBlockAndInvertsInPlace) {
    TEncryption never;
    std::vector<std::uint8_t> data(64);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 37);
    std::copy_n(data.begin(), 8, data.begin() + 24); // equal blocks at block boundaries

    std::vector<std::uint8_t> out(data.size());
    never.Crypt(data.data(), out.data(), 64, true);
    TDesBlock first;
    never.DES(PasToCryptString(std::string(data.begin(), data.begin() + 8)), TDesBlock{}, first,
              true);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), out.begin()));
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 8, out.begin() + 24));

    TEncryption keyed;
    keyed.SetKey("secret!");
    std::vector<std::uint8_t> inPlace = data;
    keyed.Crypt(inPlace.data(), inPlace.data(), 64, true);
    EXPECT_NE(inPlace, out);
    keyed.Crypt(inPlace.data(), inPlace.data(), 64, false);
    EXPECT_EQ(inPlace, data);
}

TEST(EncryptionCrypt, SizesNotMultipleOfEightAreRefused) {
    TEncryption c;
    std::vector<std::uint8_t> in(16, 1), out(16, 0xEE);
    try {
        c.Crypt(in.data(), out.data(), 12, true);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Buffer size should be divisible 8");
    }
    EXPECT_EQ(out, std::vector<std::uint8_t>(16, 0xEE));
    c.Crypt(in.data(), out.data(), 0, true);
    EXPECT_EQ(out, std::vector<std::uint8_t>(16, 0xEE));
    EXPECT_THROW(c.Crypt(in.data(), out.data(), -8, true), EArgumentError);
}

class EncryptionFile : public test::ScratchDir {
protected:
    static std::string Bytes(std::size_t size, unsigned seed) {
        std::mt19937 random(seed);
        std::string bytes(size, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        return bytes;
    }
};

TEST_F(EncryptionFile, ThirteenBytesGrowToSixteenAndComeBackWithZeroFiller) {
    const std::string plain = "Hello, world!";
    Write(Path("plain"), plain);
    TEncryption c;
    c.SetKey("k3y");
    c.InputFile = Path("plain");
    c.OutputFile = Path("secret");
    c.Execute(true);
    const std::string secret = Read(Path("secret"));
    ASSERT_EQ(secret.size(), 16u);

    std::string padded = plain + std::string(3, '\0');
    c.Crypt(padded.data(), padded.data(), 16, true);
    EXPECT_EQ(secret, padded);

    c.InputFile = Path("secret");
    c.OutputFile = Path("back");
    c.Execute(false);
    EXPECT_EQ(Read(Path("back")), plain + std::string(3, '\0'));
    EXPECT_EQ(Read(Path("plain")), plain);
}

TEST_F(EncryptionFile, ChunksAndEmptyFilesGiveWhatOneCryptGives) {
    // Longer than one chunk, and not a multiple of 8.
    const std::string plain = Bytes((1 << 20) * 2 + 1005, 3);
    Write(Path("big"), plain);
    TEncryption c;
    c.InputFile = Path("big");
    c.OutputFile = Path("big.enc");
    std::uint64_t lastDone = 0, lastTotal = 0;
    c.OnProgress = [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_GT(done, lastDone);
        lastDone = done;
        lastTotal = total;
    };
    c.Execute(true);
    std::string expected = plain + std::string(3, '\0');
    c.Crypt(expected.data(), expected.data(), static_cast<std::int32_t>(expected.size()), true);
    EXPECT_EQ(Read(Path("big.enc")), expected);
    EXPECT_EQ(lastDone, expected.size());
    EXPECT_EQ(lastTotal, expected.size());

    Write(Path("empty"), "");
    c.InputFile = Path("empty");
    c.OutputFile = Path("empty.enc");
    c.Execute(true);
    EXPECT_TRUE(fs::exists(Path("empty.enc")));
    EXPECT_EQ(fs::file_size(Path("empty.enc")), 0u);

    c.InputFile.clear();
    c.OutputFile = Path("never");
    c.Execute(true);
    EXPECT_FALSE(fs::exists(Path("never")));
}

TEST_F(EncryptionFile, NoOutputFileReplacesTheInputKeepingItsMode) {
    const std::string plain = Bytes(100, 5);
    Write(Path("doc"), plain);
    fs::permissions(Path("doc"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TEncryption c;
    c.SetKey("in place");
    c.InputFile = Path("doc");
    c.Execute(true);
    EXPECT_EQ(Read(Path("doc")).size(), 104u);
    EXPECT_NE(Read(Path("doc")).substr(0, 100), plain);
    EXPECT_EQ(fs::status(Path("doc")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    c.Execute(false);
    EXPECT_EQ(Read(Path("doc")), plain + std::string(4, '\0'));
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(EncryptionFile, FailedWriteLeavesTheInputWholeAndNoTemporaryFile) {
    const std::string plain = Bytes(256 * 1024, 9);
    Write(Path("doc"), plain);
    TEncryption c;
    c.InputFile = Path("doc");

    // A file-size limit makes the write fail part way.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(c.Execute(true), EInOutError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(Read(Path("doc")), plain);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(EncryptionFile, UnreadableOrMissingInputWritesNothing) {
    TEncryption c;
    Write(Path("out"), "old");
    c.OutputFile = Path("out");
    c.InputFile = Path("missing");
    EXPECT_THROW(c.Execute(true), EInOutError);
    // A directory, and a fifo no one writes to, are named at once instead of being read.
    fs::create_directory(Path("dir"));
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    for (const auto& [input, message] :
         {std::pair{Path("dir"), "'" + Path("dir") + "' is a directory"},
          std::pair{Path("pipe"), "'" + Path("pipe") + "' is a fifo, not a file"}}) {
        c.InputFile = input;
        try {
            c.Execute(true);
            ADD_FAILURE() << "no exception";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }
    // Nor is a fifo written to as the output.
    Write(Path("in"), "12345678");
    c.InputFile = Path("in");
    c.OutputFile = Path("pipe");
    EXPECT_THROW(c.Execute(true), EInOutError);
    EXPECT_EQ(Read(Path("out")), "old");
    EXPECT_EQ(EntryCount(), 4u);
}

TEST_F(EncryptionFile, ReadOnlyInputEncryptsToAnotherFile) {
    const std::string plain = Bytes(40, 11);
    Write(Path("ro"), plain);
    fs::permissions(Path("ro"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(FDir, fs::perms::all);
    // The superuser may write anything, so the child gives that up first.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        try {
            TEncryption c;
            c.InputFile = Path("ro");
            c.OutputFile = Path("ro.enc");
            c.Execute(true);
        } catch (const EInOutError&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read(Path("ro")), plain);
    EXPECT_EQ(Read(Path("ro.enc")).size(), 40u);
}

} // namespace
} // namespace vesk
