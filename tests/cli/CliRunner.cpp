#include "tests/cli/CliRunner.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
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

CliResult RunVesk(const std::vector<std::string>& args, const std::string& input) {
    // Files rather than pipes: no deadlock however much the command prints.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vesk-cli-" + std::to_string(getpid()) + "-" + std::to_string(rand()));
    std::filesystem::create_directories(dir);
    const auto in = dir / "in", out = dir / "out", err = dir / "err";
    std::ofstream(in, std::ios::binary) << input;

    const std::string binary = std::string(VESK_BINARY_DIR) + "/bin/vesk";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(binary.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    CliResult result;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadAll(out);
    result.Err = ReadAll(err);
    std::filesystem::remove_all(dir);
    return result;
}

} // namespace vesk::test
