#include "tests/cli/CliRunner.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vesk::test {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string SamplePath(const std::string& name) {
    return std::string(VESK_SOURCE_DIR) + "/examples/sample/" + name;
}

CliProcess::CliProcess(const std::vector<std::string>& args, const CliOptions& options) {
    // Files rather than pipes: no deadlock however much the command prints.
    static std::atomic<int> counter{0};
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vesk-cli-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    FDir = dir.string();
    const auto in = dir / "in", out = dir / "out", err = dir / "err";
    std::ofstream(in, std::ios::binary) << options.Input;
    // A pipe whose only reading end is closed before the command starts.
    int pipeFds[2] = {-1, -1};
    if (options.ClosedPipe) {
        if (::pipe(pipeFds) != 0)
            return;
        close(pipeFds[0]);
    }

    const std::string binary = std::string(VESK_BINARY_DIR) + "/bin/vesk";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(binary.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    FPid = fork();
    if (FPid == 0) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        if (options.ClosedPipe) {
            dup2(pipeFds[1], 1);
            close(pipeFds[1]);
        } else {
            const std::string target =
                options.OutputFile.empty() ? out.string() : options.OutputFile;
            dup2(open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        }
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        if (options.FileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
            const rlimit limit{*options.FileSizeLimit, *options.FileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (options.User && (setgid(*options.User) != 0 || setuid(*options.User) != 0))
            _exit(126);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    if (options.ClosedPipe)
        close(pipeFds[1]);
}

CliProcess::~CliProcess() {
    if (!FWaited && FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
    std::error_code error;
    std::filesystem::remove_all(FDir, error);
}

CliResult CliProcess::Wait() {
    CliResult result;
    if (FPid <= 0)
        return result;
    int status = 0;
    waitpid(FPid, &status, 0);
    FWaited = true;
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadAll(std::filesystem::path(FDir) / "out");
    result.Err = ReadAll(std::filesystem::path(FDir) / "err");
    return result;
}

CliResult RunVesk(const std::vector<std::string>& args, const CliOptions& options) {
    CliProcess process(args, options);
    return process.Wait();
}

CliResult RunVesk(const std::vector<std::string>& args, const std::string& input) {
    CliOptions options;
    options.Input = input;
    return RunVesk(args, options);
}

} // namespace vesk::test
