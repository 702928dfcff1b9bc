// vesk crypt: TEncryption on a file (the component's own cipher, not standard DES).
#include "cli/Command.h"
#include "library/utility/Des.h"

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace vesk::cli {

namespace {

// Files smaller than this finish before a bar would be worth drawing.
constexpr std::uint64_t ProgressThreshold = 16 << 20;

// A one-line bar on stderr, redrawn only when the percentage changes.
class ProgressBar {
public:
    void Show(std::uint64_t done, std::uint64_t total) {
        const int percent = total ? static_cast<int>(done * 100 / total) : 100;
        if (percent == FPercent)
            return;
        FPercent = percent;
        const int filled = percent * Width / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%% %llu MiB", std::string(filled, '#').c_str(),
                     std::string(Width - filled, '.').c_str(), percent,
                     static_cast<unsigned long long>(done >> 20));
        std::fflush(stderr);
    }
    ~ProgressBar() {
        if (FPercent >= 0)
            std::fprintf(stderr, "\r\033[K");
    }

private:
    static constexpr int Width = 40;
    int FPercent = -1;
};

class CryptCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        auto* encrypt = app.add_flag("--encrypt,-e", FEncrypt, "encipher INPUT");
        auto* decrypt = app.add_flag("--decrypt,-d", FDecrypt, "decipher INPUT");
        encrypt->excludes(decrypt);
        app.add_option("--key,-k", FKey,
                       "the key, up to 8 bytes (default and when empty: \"Nel Ova \")");
        app.add_flag("--quiet,-q", FQuiet, "no progress bar");
        app.add_option("INPUT", FInput, "the file to process")->required();
        app.add_option("OUTPUT", FOutput, "where the result goes (default: replace INPUT)");
        app.footer("The result is INPUT raised to a multiple of 8 bytes, zero-filled; a failure\n"
                   "leaves every file as it was.");
    }

    int Run() override {
        if (FEncrypt == FDecrypt)
            throw CommandError("give one of --encrypt or --decrypt");
        if (FInput.empty())
            throw CommandError("INPUT is empty");
        TEncryption cipher;
        cipher.SetKey(FKey);
        cipher.InputFile = FInput;
        cipher.OutputFile = FOutput;
        ProgressBar bar;
        struct stat info {};
        if (!FQuiet && ::isatty(STDERR_FILENO) && ::stat(FInput.c_str(), &info) == 0 &&
            static_cast<std::uint64_t>(info.st_size) >= ProgressThreshold)
            cipher.OnProgress = [&bar](std::uint64_t done, std::uint64_t total) {
                bar.Show(done, total);
            };
        cipher.Execute(FEncrypt);
        return ExitOk;
    }

private:
    bool FEncrypt = false;
    bool FDecrypt = false;
    bool FQuiet = false;
    std::string FKey;
    std::string FInput;
    std::string FOutput;
};

const CommandRegistration cryptRegistration{
    "crypt", "Encipher or decipher a file with the library's file cipher",
    [] { return std::make_unique<CryptCommand>(); }};

} // namespace

} // namespace vesk::cli
