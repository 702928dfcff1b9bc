// vesk time: the stopwatch component around a command.
#include "cli/Command.h"
#include "library/utility/VeskFastTm.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vesk::cli {

namespace {

// Statuses a shell gives a command it could not run.
constexpr int ExitCannotRun = 126;
constexpr int ExitCommandNotFound = 127;

class TimeCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("--decimal", FDecimal, "digits after the decimal separator (default 2)")
            ->check(CLI::Range(0, 18));
        app.add_option("COMMAND", FCommand, "the command and its arguments, after --")->required();
        app.footer("Prints \"Sec: \" and the elapsed seconds on stderr; exits with the\n"
                   "command's status (128 + N when signal N ended it).");
    }

    int Run() override {
        std::vector<char*> argv;
        for (std::string& arg : FCommand)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        // Like a shell's `time`, an interrupt from the terminal ends the command,
        // not the stopwatch around it.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGQUIT);
        sigaddset(&defaults, SIGPIPE); // ignored by vesk itself, not by what it runs
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        const auto oldInt = std::signal(SIGINT, SIG_IGN);
        const auto oldQuit = std::signal(SIGQUIT, SIG_IGN);

        TVeskFastTime watch;
        watch.SetWaitCursor(false);
        watch.SetDecimal(static_cast<std::uint8_t>(FDecimal));
        std::cout.flush();
        watch.Start();
        pid_t child = 0;
        const int error =
            ::posix_spawnp(&child, argv[0], nullptr, &attributes, argv.data(), environ);
        posix_spawnattr_destroy(&attributes);
        int status = 0;
        if (error == 0)
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        std::signal(SIGINT, oldInt);
        std::signal(SIGQUIT, oldQuit);
        if (error != 0) {
            std::cerr << "vesk time: cannot run '" << argv[0] << "': " << std::strerror(error)
                      << "\n";
            return error == ENOENT ? ExitCommandNotFound : ExitCannotRun;
        }
        watch.Stop();
        std::cerr << watch.TimeText().toStdString() << "\n";
        if (WIFEXITED(status))
            return WEXITSTATUS(status);
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : ExitError;
    }

private:
    int FDecimal = 2;
    std::vector<std::string> FCommand;
};

const CommandRegistration timeRegistration{"time", "Time a command with the stopwatch component",
                                           [] { return std::make_unique<TimeCommand>(); }};

} // namespace

} // namespace vesk::cli
