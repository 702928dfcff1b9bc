#include "library/utility/Des.h"

#include "platform/design/LiveObject.h"
#include "platform/design/Palette.h"

#include "platform/rtl/FileReplace.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

// clang-format off
const TDesTables VariantTables = {
    // IP
    {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
     62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
     57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
     61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7},
    // E
    {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
     12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
     22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1},
    // P
    {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
     2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25},
    // PC-1
    {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
     10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
     63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
     14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4},
    // PC-2: the 12th entry takes bit 19 of C, so bit 10 feeds no subkey.
    {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 19,
     23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
     41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
     44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32},
    // Shifts
    {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1},
    {{
        // S1 (row 3, column 2: 2)
        {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,
         0,  15, 7,  4, 14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3, 8,
         4,  1,  14, 8, 13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5, 0,
         15, 12, 2,  2, 4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6, 13},
        // S2 (row 0, column 2: 3)
        {15, 1,  3,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10,
         3,  13, 4,  7,  15, 2,  8,  14, 12, 0, 1,  10, 6,  9, 11, 5,
         0,  14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,  9,  3, 2,  15,
         13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5, 14, 9},
        // S3 (row 3, column 4: 3)
        {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
         13, 7,  0,  9,  3, 4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
         13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
         1,  10, 13, 0,  3, 9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
        // S4 (row 3, column 4: 14)
        {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8,  5,  11, 12, 4,  15,
         13, 8,  11, 5, 6,  15, 0,  3,  4,  7, 2,  12, 1,  10, 14, 9,
         10, 6,  9,  0, 12, 11, 7,  13, 15, 1, 3,  14, 5,  2,  8,  4,
         3,  15, 0,  6, 14, 1,  13, 8,  9,  4, 5,  11, 12, 7,  2,  14},
        // S5 (row 1, column 4: 6)
        {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,
         14, 11, 2,  12, 6,  7,  13, 1,  5,  0,  15, 10, 3,  9, 8,  6,
         4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3, 0,  14,
         11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
        // S6 (row 1, column 4: 8)
        {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
         10, 15, 4,  2,  8, 12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
         9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
         4,  3,  2,  12, 9, 5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
        // S7 (row 1, column 4: 8)
        {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9, 7,  5,  10, 6, 1,
         13, 0,  11, 7,  8,  9, 1,  10, 14, 3,  5, 12, 2,  15, 8, 6,
         1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,  0,  5,  9, 2,
         6,  11, 13, 8,  1,  4, 10, 7,  9,  5,  0, 15, 14, 2,  3, 12},
        // S8 (row 2, column 4: 8; row 3, column 8: 19, of which the low four bits count)
        {13, 2,  8,  4, 6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
         1,  15, 13, 8, 10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
         7,  11, 4,  1, 8,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
         2,  1,  14, 7, 4,  10, 8,  13, 19, 12, 9,  0,  3,  5,  6,  11},
    }},
};
// clang-format on

const char* const DefaultKey = "Nel Ova ";
constexpr std::size_t ChunkSize = 1 << 20; // a multiple of the block size

// Bit B (counted from 1) of a Width-bit value sits at position Width - B.
std::uint64_t Permute(std::uint64_t in, int inWidth, const std::uint8_t* table, int outWidth) {
    std::uint64_t out = 0;
    for (int j = 0; j < outWidth; ++j)
        if ((in >> (inWidth - table[j])) & 1)
            out |= std::uint64_t{1} << (outWidth - 1 - j);
    return out;
}

void CheckEntries(const std::uint8_t* table, int count, int maxBit, bool permutation,
                  const char* name) {
    std::vector<bool> seen(maxBit + 1, false);
    for (int j = 0; j < count; ++j) {
        const int bit = table[j];
        if (bit < 1 || bit > maxBit || (permutation && seen[bit]))
            throw EArgumentError(std::string("Invalid cipher table ") + name);
        seen[bit] = true;
    }
}

std::uint64_t LoadBlock(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

void StoreBlock(std::uint64_t v, std::uint8_t* p) {
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<std::uint8_t>(v);
        v >>= 8;
    }
}

} // namespace

const TDesTables& VariantDesTables() {
    return VariantTables;
}

// The 64-bit permutations as eight byte-indexed tables each, and the round function
// as eight tables that take one 6-bit group straight to its bits after P.
class TDesEngine {
public:
    explicit TDesEngine(const TDesTables& tables) : Tables(tables) {
        CheckEntries(tables.IP.data(), 64, 64, true, "IP");
        CheckEntries(tables.E.data(), 48, 32, false, "E");
        CheckEntries(tables.P.data(), 32, 32, true, "P");
        CheckEntries(tables.PC1.data(), 56, 64, false, "PC-1");
        CheckEntries(tables.PC2.data(), 48, 56, false, "PC-2");
        for (std::uint8_t shift : tables.Shifts)
            if (shift > 28)
                throw EArgumentError("Invalid cipher table Shifts");

        std::array<std::uint8_t, 64> inverse{};
        for (int j = 0; j < 64; ++j)
            inverse[tables.IP[j] - 1] = static_cast<std::uint8_t>(j + 1);
        for (int byte = 0; byte < 8; ++byte)
            for (int v = 0; v < 256; ++v) {
                const std::uint64_t in = std::uint64_t(v) << (56 - 8 * byte);
                Initial[byte][v] = Permute(in, 64, tables.IP.data(), 64);
                Final[byte][v] = Permute(in, 64, inverse.data(), 64);
            }

        // The round reads each group of E with a shift of the right half, which holds
        // for groups of six consecutive bits starting at bits 32, 4, 8, ..., 28.
        for (int box = 0; box < 8; ++box)
            for (int k = 0; k < 6; ++k)
                if (tables.E[6 * box + k] != (4 * box + 31 + k) % 32 + 1)
                    throw EArgumentError("Invalid cipher table E");
        for (int box = 0; box < 8; ++box) {
            for (int group = 0; group < 64; ++group) {
                const int row = ((group >> 4) & 2) | (group & 1);
                const int column = (group >> 1) & 15;
                const std::uint64_t value = tables.S[box][row * 16 + column] & 15;
                SP[box][group] = static_cast<std::uint32_t>(
                    Permute(value << (28 - 4 * box), 32, tables.P.data(), 32));
            }
        }
    }

    TDesTables Tables;
    std::array<std::array<std::uint64_t, 256>, 8> Initial{};
    std::array<std::array<std::uint64_t, 256>, 8> Final{};
    std::array<std::array<std::uint32_t, 64>, 8> SP{};
};

std::shared_ptr<const TDesEngine> MakeDesEngine(const TDesTables& tables) {
    return std::make_shared<const TDesEngine>(tables);
}

namespace {

const std::shared_ptr<const TDesEngine>& VariantEngine() {
    static const std::shared_ptr<const TDesEngine> engine = MakeDesEngine(VariantTables);
    return engine;
}

} // namespace

TDesKeySchedule::TDesKeySchedule(std::shared_ptr<const TDesEngine> engine, const TDesBlock& key)
    : FEngine(std::move(engine)) {
    const TDesTables& t = FEngine->Tables;
    const std::uint64_t cd = Permute(LoadBlock(key.data()), 64, t.PC1.data(), 56);
    std::uint32_t c = static_cast<std::uint32_t>(cd >> 28);
    std::uint32_t d = static_cast<std::uint32_t>(cd & 0xFFFFFFF);
    const auto rotate28 = [](std::uint32_t half, unsigned by) {
        return ((half << by) | (half >> (28 - by))) & 0xFFFFFFF;
    };
    for (int n = 0; n < 16; ++n) {
        c = rotate28(c, t.Shifts[n]);
        d = rotate28(d, t.Shifts[n]);
        const std::uint64_t subkey = Permute((std::uint64_t(c) << 28) | d, 56, t.PC2.data(), 48);
        // Group i of E(R) is R rotated right by 27 - 4i; the even groups do not
        // overlap each other, nor do the odd ones, so each set of four subkey groups
        // is laid over R in one word.
        std::array<std::uint32_t, 2> words{};
        for (int box = 0; box < 8; ++box) {
            const auto group = static_cast<std::uint32_t>((subkey >> (42 - 6 * box)) & 63);
            words[box % 2] |= std::rotl(group, (27 - 4 * box + 32) % 32);
        }
        FForward[n] = words;
        FBackward[15 - n] = words;
    }
}

namespace {

inline std::uint32_t Round(const TDesEngine& e, std::uint32_t right,
                           const std::array<std::uint32_t, 2>& k) {
    const std::uint32_t even = right ^ k[0];
    const std::uint32_t odd = right ^ k[1];
    const auto& sp = e.SP;
    return sp[0][std::rotr(even, 27) & 63] | sp[2][(even >> 19) & 63] | sp[4][(even >> 11) & 63] |
           sp[6][(even >> 3) & 63] | sp[1][(odd >> 23) & 63] | sp[3][(odd >> 15) & 63] |
           sp[5][(odd >> 7) & 63] | sp[7][std::rotl(odd, 1) & 63];
}

} // namespace

namespace {

// Lanes blocks side by side: their rounds are independent, so the processor can
// overlap the table reads of one block with those of the others.
template <int Lanes>
void ProcessLanes(const TDesEngine& e, const std::array<std::array<std::uint32_t, 2>, 16>& keys,
                  const std::uint8_t* in, std::uint8_t* out) {
    std::uint32_t left[Lanes], right[Lanes];
    for (int lane = 0; lane < Lanes; ++lane) {
        std::uint64_t b = 0;
        for (int i = 0; i < 8; ++i)
            b |= e.Initial[i][in[8 * lane + i]];
        left[lane] = static_cast<std::uint32_t>(b >> 32);
        right[lane] = static_cast<std::uint32_t>(b);
    }
    // Two iterations at a time, so the halves never swap places.
    for (int n = 0; n < 16; n += 2) {
        for (int lane = 0; lane < Lanes; ++lane)
            left[lane] ^= Round(e, right[lane], keys[n]);
        for (int lane = 0; lane < Lanes; ++lane)
            right[lane] ^= Round(e, left[lane], keys[n + 1]);
    }
    for (int lane = 0; lane < Lanes; ++lane) {
        // The pre-output block is R16 followed by L16.
        const std::uint64_t pre = (std::uint64_t(right[lane]) << 32) | left[lane];
        std::uint64_t result = 0;
        for (int i = 0; i < 8; ++i)
            result |= e.Final[i][(pre >> (56 - 8 * i)) & 0xFF];
        StoreBlock(result, out + 8 * lane);
    }
}

} // namespace

void TDesKeySchedule::Process(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                              bool encrypt) const {
    constexpr int Lanes = 2; // more lanes run out of registers
    const TDesEngine& e = *FEngine;
    const auto& keys = encrypt ? FForward : FBackward;
    for (; count >= Lanes; count -= Lanes, in += 8 * Lanes, out += 8 * Lanes)
        ProcessLanes<Lanes>(e, keys, in, out);
    for (; count > 0; --count, in += 8, out += 8)
        ProcessLanes<1>(e, keys, in, out);
}

TDesBlock TDesKeySchedule::ProcessBlock(const TDesBlock& in, bool encrypt) const {
    TDesBlock out;
    Process(in.data(), out.data(), 1, encrypt);
    return out;
}

TDesBlock PasToCryptString(std::string_view s) {
    TDesBlock block{};
    std::copy_n(s.begin(), std::min<std::size_t>(8, s.size()), block.begin());
    return block;
}

TEncryption::TEncryption(const TDesTables& tables)
    : FEngine(&tables == &VariantTables ? VariantEngine() : MakeDesEngine(tables)),
      FSchedule(FEngine, FKey) {}

std::string TEncryption::GetKey() const {
    const auto end = std::find(FKey.begin(), FKey.end(), 0);
    return std::string(FKey.begin(), end);
}

void TEncryption::SetKey(std::string_view value) {
    FKey = PasToCryptString(value.empty() ? std::string_view(DefaultKey) : value);
    FSchedule = TDesKeySchedule(FEngine, FKey);
}

void TEncryption::DES(const TDesBlock& input, const TDesBlock& key, TDesBlock& output,
                      bool encrypt) const {
    if (key == FKey)
        output = FSchedule.ProcessBlock(input, encrypt);
    else
        output = TDesKeySchedule(FEngine, key).ProcessBlock(input, encrypt);
}

void TEncryption::Crypt(const void* inBuf, void* outBuf, std::int32_t size, bool encrypt) const {
    if (size < 0)
        throw EArgumentError("Buffer size should not be negative");
    if (size % 8 != 0)
        throw Exception("Buffer size should be divisible 8");
    FSchedule.Process(static_cast<const std::uint8_t*>(inBuf), static_cast<std::uint8_t*>(outBuf),
                      static_cast<std::size_t>(size) / 8, encrypt);
}

void TEncryption::DoProgress(std::uint64_t done, std::uint64_t total) {
    if (OnProgress)
        OnProgress(done, total);
}

namespace {

[[noreturn]] void RaiseIo(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " '" + path + "': " + std::strerror(error));
}

class TFd {
public:
    TFd() = default;
    explicit TFd(int fd) : FFd(fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() { Close(); }
    int Get() const { return FFd; }
    explicit operator bool() const { return FFd >= 0; }
    void Reset(int fd) {
        Close();
        FFd = fd;
    }
    int Close() {
        const int result = FFd >= 0 ? ::close(FFd) : 0;
        FFd = -1;
        return result;
    }

private:
    int FFd = -1;
};

// Reads until Size bytes are in or the end of the file; a short count means the end.
std::size_t ReadFull(int fd, std::uint8_t* buffer, std::size_t size, const std::string& path) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buffer + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseIo("Cannot read", path, errno);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace

void TEncryption::Execute(bool encrypt) {
    if (InputFile.empty())
        return;
    TFd input(::open(InputFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input)
        RaiseIo("Cannot open", InputFile, errno);
    struct stat info {};
    if (::fstat(input.Get(), &info) != 0)
        RaiseIo("Cannot read the size of", InputFile, errno);
    const std::uint64_t total =
        S_ISREG(info.st_mode) ? (static_cast<std::uint64_t>(info.st_size) + 7) / 8 * 8 : 0;

    TFileReplace output(OutputFile.empty() ? InputFile : OutputFile);
    std::vector<std::uint8_t> chunk(ChunkSize);
    std::uint64_t done = 0;
    for (;;) {
        std::size_t got = ReadFull(input.Get(), chunk.data(), chunk.size(), InputFile);
        if (got == 0)
            break;
        // Only the last chunk comes short; its last block is filled with zeros.
        const std::size_t padded = (got + 7) / 8 * 8;
        std::fill(chunk.begin() + got, chunk.begin() + padded, 0);
        FSchedule.Process(chunk.data(), chunk.data(), padded / 8, encrypt);
        output.Write(chunk.data(), padded);
        done += padded;
        DoProgress(done, std::max(total, done));
        if (got < chunk.size())
            break;
    }
    input.Close();
    output.Commit();
}

const TClassInfo& EncryptionClass() {
    TClassRegistry& registry = TClassRegistry::Instance();
    TClassInfo* info = const_cast<TClassInfo*>(registry.Find("TEncryption"));
    if (info && info->Live())
        return *info;
    if (!info)
        info = &registry.Register("TEncryption", "TComponent")
                    .Add(StrProp("InputFile"))
                    .Add(StrProp("OutputFile"))
                    .Add(StrProp("Key"));
    using V = const TValue&;
    using S = const TLiveScope*;
    using T = TEncryption;
    auto b = std::make_shared<TBoundClass<T>>([](TLiveObject*) {
        return std::unique_ptr<TLiveObject>(std::make_unique<TOwnedLive<T>>(std::make_unique<T>()));
    });
    b->Bind(
        "InputFile", [](const T& e) { return TValue::String(e.InputFile); },
        [](T& e, V v, S) { e.InputFile = StringValue(v); });
    b->Bind(
        "OutputFile", [](const T& e) { return TValue::String(e.OutputFile); },
        [](T& e, V v, S) { e.OutputFile = StringValue(v); });
    b->Bind(
        "Key", [](const T& e) { return TValue::String(e.GetKey()); },
        [](T& e, V v, S) { e.SetKey(StringValue(v)); });
    info->SetLive(b);
    return *info;
}

namespace Des {

void Register() {
    RegisterComponents("Vesk", {&EncryptionClass()});
}

} // namespace Des

} // namespace vesk
