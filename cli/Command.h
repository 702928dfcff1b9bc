// The sub-commands of `vesk`. Each command lives in its own file and registers
// itself with a static CommandRegistration, so adding one touches nothing else.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

// Exit statuses every command keeps to.
constexpr int ExitOk = 0;
constexpr int ExitNotFound = 1; // the command ran, but what was asked for is not there
constexpr int ExitError = 2;    // bad argument, missing or unreadable file, failed write

// Raised by a command for a failure the user must fix: one line on stderr, exit 2.
class CommandError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Command {
public:
    virtual ~Command() = default;
    // Declares the command's options and arguments on its sub-command.
    virtual void Setup(CLI::App& app) = 0;
    // Runs after a successful parse; returns the exit status.
    virtual int Run() = 0;
};

struct CommandInfo {
    std::string Name;
    std::string Description;
    std::function<std::unique_ptr<Command>()> Make;
};

std::vector<CommandInfo>& Commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string description,
                        std::function<std::unique_ptr<Command>()> make) {
        Commands().push_back({std::move(name), std::move(description), std::move(make)});
    }
};

// Output gathered and written to standard output in large pieces, so that commands
// printing many thousands of lines make a few writes. A failed write stops the command
// with CommandError (see CheckStandardOutput).
class OutputBuffer {
public:
    OutputBuffer& operator<<(std::string_view text) {
        FText.append(text);
        if (FText.size() > (1 << 16))
            Flush();
        return *this;
    }
    OutputBuffer& operator<<(char ch) { return *this << std::string_view(&ch, 1); }
    void Flush();
    ~OutputBuffer();

private:
    std::string FText;
};

// Standard output is written through one buffer that keeps the first write error (a
// full disk, a closed pipe). Flushes it and raises CommandError "cannot write to
// standard output: REASON" when any write failed.
void CheckStandardOutput();

// The text of a path memo, one given option value a line.
std::string JoinLines(const std::vector<std::string>& lines);

// An extension text as the Find Source dialog keeps it ("PAS;DPR;DPK"): CommandError for
// an empty one, or one whose extensions are written with a dot (they would match
// nothing).
void CheckExtensionText(const std::string& option, const std::string& text);

// Reads a whole regular file as bytes; a missing, unreadable or odd file (a directory, a
// fifo, a device) raises EInOutError naming it.
std::string ReadFileBytes(const std::string& path);

} // namespace vesk::cli
