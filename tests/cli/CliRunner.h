// Runs the built `vesk` binary the way a user would, for the command-line tests.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vesk::test {

struct CliResult {
    int Status = -1; // the exit status, or 128 + the signal that ended it
    std::string Out;
    std::string Err;
};

// How the command is run, beyond its arguments.
struct CliOptions {
    std::string Input;                        // fed on standard input
    std::optional<std::size_t> FileSizeLimit; // writes past it fail, as on a full disk
    std::optional<uid_t> User;                // run as this user (for tests run as root)
    std::string OutputFile;                   // standard output goes here (e.g. /dev/full)
    bool ClosedPipe = false;                  // standard output is a pipe nobody reads
};

// A command started and not yet waited for.
class CliProcess {
public:
    CliProcess(const std::vector<std::string>& args, const CliOptions& options);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t Pid() const { return FPid; }
    // Waits for the command to end and collects what it printed.
    CliResult Wait();

private:
    std::string FDir;
    pid_t FPid = -1;
    bool FWaited = false;
};

// Runs build/bin/vesk with Args (no shell), feeding Input on standard input.
CliResult RunVesk(const std::vector<std::string>& args, const std::string& input = "");
CliResult RunVesk(const std::vector<std::string>& args, const CliOptions& options);

std::string SamplePath(const std::string& name); // a file of examples/sample

} // namespace vesk::test
