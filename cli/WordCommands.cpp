// vesk numtostr / dos2win / win2dos: the word unit's text routines.
#include "cli/Command.h"
#include "expert/parsing/Parser.h"
#include "platform/rtl/CodePage.h"

#include <cstdio>
#include <iostream>

namespace vesk::cli {

namespace {

class NumToStrCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("N", FNumber, "a whole number from 0 to 2147483647")->required();
    }
    int Run() override {
        std::cout << Win1251ToUtf8(NumToStr(ParseNumber(FNumber))) << '\n';
        return ExitOk;
    }

private:
    // Decimal digits only, up to the largest 32-bit value; the error quotes the text as
    // it was typed.
    static std::int32_t ParseNumber(const std::string& text) {
        std::int64_t value = 0;
        bool valid = !text.empty() && text.size() <= 10;
        for (std::size_t i = 0; valid && i < text.size(); ++i) {
            valid = text[i] >= '0' && text[i] <= '9';
            value = value * 10 + (text[i] - '0');
        }
        if (!valid || value > 2147483647)
            throw CommandError("'" + text + "' is not a whole number from 0 to 2147483647");
        return static_cast<std::int32_t>(value);
    }

    std::string FNumber;
};

// Standard input to standard output through a byte translation, in chunks.
class CodePageCommand : public Command {
public:
    explicit CodePageCommand(void (*translate)(std::string&)) : FTranslate(translate) {}
    void Setup(CLI::App&) override {}
    int Run() override {
        std::string chunk(1 << 16, '\0');
        for (;;) {
            const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stdin);
            if (got == 0)
                break;
            std::string piece = chunk.substr(0, got);
            FTranslate(piece);
            if (!std::cout.write(piece.data(), static_cast<std::streamsize>(piece.size())))
                CheckStandardOutput();
        }
        if (std::ferror(stdin))
            throw CommandError("cannot read standard input");
        return ExitOk;
    }

private:
    void (*FTranslate)(std::string&);
};

const CommandRegistration numToStrRegistration{
    "numtostr", "Spell a sum of roubles out in Russian words (printed in UTF-8)",
    [] { return std::make_unique<NumToStrCommand>(); }};
const CommandRegistration dosWinRegistration{
    "dos2win", "Convert Cyrillic text from code page 866 to 1251 (stdin to stdout)",
    [] { return std::make_unique<CodePageCommand>(&DosWin); }};
const CommandRegistration winDosRegistration{
    "win2dos", "Convert Cyrillic text from code page 1251 to 866 (stdin to stdout)",
    [] { return std::make_unique<CodePageCommand>(&WinDos); }};

} // namespace

} // namespace vesk::cli
