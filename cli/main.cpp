// `vesk`: the headless faces of the add-in's tools and the library's components.
#include "cli/Command.h"
#include "platform/qt/WorkerThreads.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <streambuf>
#include <unistd.h>

namespace vesk::cli {

namespace {

// Standard output written with write(2) from one buffer. The first failure is kept, and
// later writes fail at once, so a command learns of it and the process can report it.
class TStandardOutputBuf : public std::streambuf {
public:
    TStandardOutputBuf() { setp(FBuffer, FBuffer + sizeof FBuffer); }
    int Error() const { return FError; }

protected:
    int_type overflow(int_type ch) override {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const char* from = pbase();
        const char* to = pptr();
        setp(FBuffer, FBuffer + sizeof FBuffer);
        while (FError == 0 && from < to) {
            const ssize_t n = ::write(STDOUT_FILENO, from, static_cast<std::size_t>(to - from));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                FError = n < 0 ? errno : EIO;
            else
                from += n;
        }
        return FError == 0;
    }

    char FBuffer[1 << 16];
    int FError = 0;
};

// Never destroyed: std::cout flushes through it while the process ends, after the
// objects of this file are gone.
TStandardOutputBuf& StandardOutput() {
    alignas(TStandardOutputBuf) static unsigned char storage[sizeof(TStandardOutputBuf)];
    static TStandardOutputBuf* const buffer = new (storage) TStandardOutputBuf;
    return *buffer;
}

// A message as one readable line: control bytes of a quoted value (a NUL, a line break)
// are shown escaped instead of ending or breaking the line.
std::string Printable(std::string_view text) {
    std::string out;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte != 0x7f) {
            out.push_back(ch);
            continue;
        }
        switch (ch) {
        case '\0':
            out.append("\\0");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default: {
            static constexpr char Hex[] = "0123456789abcdef";
            out.append("\\x").push_back(Hex[byte >> 4]);
            out.push_back(Hex[byte & 15]);
        }
        }
    }
    return out;
}

void Report(const std::string& who, std::string_view message) {
    std::cerr << who << ": " << Printable(message) << "\n";
}

// The status a run ends with once standard output is flushed: a failed write turns a
// success into status 2, reported once.
int Finish(const std::string& who, int status) {
    try {
        CheckStandardOutput();
    } catch (const CommandError& e) {
        if (status == ExitOk || status == ExitNotFound)
            Report(who, e.what());
        return ExitError;
    }
    return status;
}

} // namespace

std::vector<CommandInfo>& Commands() {
    static std::vector<CommandInfo> commands;
    return commands;
}

void OutputBuffer::Flush() {
    std::cout << FText;
    FText.clear();
    CheckStandardOutput();
}

OutputBuffer::~OutputBuffer() {
    try {
        Flush();
    } catch (const CommandError&) {
        // reported when the command returns
    }
}

void CheckStandardOutput() {
    std::cout.flush();
    if (const int error = StandardOutput().Error())
        throw CommandError(std::string("cannot write to standard output: ") + std::strerror(error));
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text.append(line).push_back('\n');
    return text;
}

void CheckExtensionText(const std::string& option, const std::string& text) {
    if (text.empty())
        throw CommandError(option + " needs at least one extension, such as PAS;DPR;DPK");
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        if (text.compare(start, 1, ".") == 0)
            throw CommandError(option + " takes extensions without a dot: '" +
                               text.substr(start + 1, end - start - 1) + "', not '" +
                               text.substr(start, end - start) + "'");
        start = end + 1;
    }
}

std::string ReadFileBytes(const std::string& path) {
    return ReadFileContent(path);
}

} // namespace vesk::cli

int main(int argc, char** argv) {
    using namespace vesk::cli;
    // A closed pipe is a write error to report, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    std::cout.rdbuf(&StandardOutput());

    CLI::App app{"vesk: the Vesk tools from the command line"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("vesk ") + VESK_VERSION);

    auto& infos = Commands();
    std::sort(infos.begin(), infos.end(),
              [](const CommandInfo& a, const CommandInfo& b) { return a.Name < b.Name; });
    std::vector<std::pair<CLI::App*, std::unique_ptr<Command>>> commands;
    for (const CommandInfo& info : infos) {
        CLI::App* sub = app.add_subcommand(info.Name, info.Description);
        auto command = info.Make();
        command->Setup(*sub);
        commands.emplace_back(sub, std::move(command));
    }

    // The first word that is not an option names the command.
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word.starts_with("-"))
            continue;
        if (std::none_of(infos.begin(), infos.end(),
                         [&](const CommandInfo& info) { return info.Name == word; })) {
            Report("vesk", "unknown command '" + std::string(word) + "' (see vesk --help)");
            return ExitError;
        }
        break;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) // --help, --version
            return Finish("vesk", app.exit(e));
        Report("vesk", std::string(e.what()) + " (see vesk --help)");
        return ExitError;
    }

    for (auto& [sub, command] : commands) {
        if (!sub->parsed())
            continue;
        const std::string who = "vesk " + sub->get_name();
        try {
            const int code = command->Run();
            // The commands that draw have ended their application object by now.
            vesk::WaitForOtherThreadsToEnd();
            return Finish(who, code);
        } catch (const vesk::Exception& e) {
            Report(who, e.Message());
        } catch (const std::exception& e) {
            Report(who, e.what());
        }
        Finish(who, ExitError);
        return ExitError;
    }
    return ExitError;
}
