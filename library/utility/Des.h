// Unit Des: TEncryption, the file cipher of the component library. A 64-bit block
// cipher of the DES family, used block by block (no chaining) under an 8-byte key.
// Its S-boxes and key-selection table differ in ten entries from the published
// ones, so files it writes are read back only by the same tables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vesk {

using TDesBlock = std::array<std::uint8_t, 8>;

// Every table the cipher is built from, as bit numbers counted from 1 (bit 1 is the
// most significant bit of the first byte). Each 6-bit group of E must take
// consecutive bits of the right half, group I starting at bit 4I (bit 32 for the
// first), wrapping from bit 32 to bit 1.
struct TDesTables {
    std::array<std::uint8_t, 64> IP;
    std::array<std::uint8_t, 48> E;
    std::array<std::uint8_t, 32> P;
    std::array<std::uint8_t, 56> PC1;
    std::array<std::uint8_t, 48> PC2;
    std::array<std::uint8_t, 16> Shifts;
    // S[box][row * 16 + column]; only the four low-order bits of an entry count.
    std::array<std::array<std::uint8_t, 64>, 8> S;
};

// The tables TEncryption uses and its files depend on.
const TDesTables& VariantDesTables();

// The round and permutation tables combined once from a TDesTables; immutable and
// shared by every key schedule made from them.
class TDesEngine;

// The 16 subkeys of one key, made once and used for any number of blocks.
class TDesKeySchedule {
public:
    TDesKeySchedule(std::shared_ptr<const TDesEngine> engine, const TDesBlock& key);

    // Processes Count whole 8-byte blocks; In and Out may be the same buffer.
    void Process(const std::uint8_t* in, std::uint8_t* out, std::size_t count, bool encrypt) const;
    TDesBlock ProcessBlock(const TDesBlock& in, bool encrypt) const;

private:
    std::shared_ptr<const TDesEngine> FEngine;
    // Each iteration's subkey as the words XORed with R for the even and the odd
    // S-boxes, in encryption and in decryption order.
    std::array<std::array<std::uint32_t, 2>, 16> FForward{};
    std::array<std::array<std::uint32_t, 2>, 16> FBackward{};
};

// Combines the tables; raises EArgumentError for tables that are not permutations
// of the right bits or an E the combined round cannot follow.
std::shared_ptr<const TDesEngine> MakeDesEngine(const TDesTables& tables);

// The first min(8, length) bytes of S followed by zero bytes up to 8.
TDesBlock PasToCryptString(std::string_view s);

class TEncryption {
public:
    // Built from the variant tables unless given others (which raise EArgumentError
    // as MakeDesEngine does).
    explicit TEncryption(const TDesTables& tables = VariantDesTables());

    // Path of the file to process; empty: Execute does nothing.
    std::string InputFile;
    // Path of the result; empty: InputFile is replaced by its result.
    std::string OutputFile;

    // The key up to its first zero byte. Setting the empty string selects "Nel Ova ".
    std::string GetKey() const;
    void SetKey(std::string_view value);
    const TDesBlock& KeyBlock() const { return FKey; }

    // One block under any key, with the component's tables; the schedule of the
    // component's own key is reused.
    void DES(const TDesBlock& input, const TDesBlock& key, TDesBlock& output, bool encrypt) const;

    // Size bytes of InBuf to OutBuf under the component's key; the buffers may be the
    // same. Raises Exception "Buffer size should be divisible 8" for a size that is
    // not a multiple of 8 (nothing is processed).
    void Crypt(const void* inBuf, void* outBuf, std::int32_t size, bool encrypt) const;

    // Enciphers (true) or deciphers (false) InputFile into OutputFile, or into
    // InputFile itself, in fixed-size chunks. The result is the input raised to a
    // multiple of 8 bytes, the last block filled with zeros. The target is written
    // beside itself and renamed into place only when complete, so a failure
    // (EInOutError) leaves every file as it was.
    void Execute(bool encrypt);

    // Called while Execute runs with the bytes done and the bytes in all.
    std::function<void(std::uint64_t done, std::uint64_t total)> OnProgress;

protected:
    virtual void DoProgress(std::uint64_t done, std::uint64_t total);

private:
    std::shared_ptr<const TDesEngine> FEngine;
    TDesBlock FKey{};
    TDesKeySchedule FSchedule;
};

class TClassInfo;
// The registered class TEncryption with its live binding (registered on first use).
const TClassInfo& EncryptionClass();

namespace Des {
// Puts TEncryption on the palette page "Vesk".
void Register();
} // namespace Des

} // namespace vesk
