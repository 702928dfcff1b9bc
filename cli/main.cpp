// `vesk`: the headless faces of the add-in's tools and the library's components.
#include "cli/Command.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace vesk::cli {

std::vector<CommandInfo>& Commands() {
    static std::vector<CommandInfo> commands;
    return commands;
}

void OutputBuffer::Flush() {
    std::cout << FText << std::flush;
    FText.clear();
}

std::string ReadFileBytes(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw CommandError("'" + path + "' is a directory, not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CommandError("cannot open '" + path + "': " + std::strerror(errno));
    std::string bytes;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw CommandError("cannot read '" + path + "'");
    return bytes;
}

} // namespace vesk::cli

int main(int argc, char** argv) {
    using namespace vesk::cli;
    CLI::App app{"vesk: the Vesk tools from the command line"};
    app.require_subcommand(1);

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

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "vesk: " << e.what() << " (see vesk --help)\n";
        return ExitError;
    }

    for (auto& [sub, command] : commands) {
        if (!sub->parsed())
            continue;
        try {
            return command->Run();
        } catch (const CommandError& e) {
            std::cerr << "vesk " << sub->get_name() << ": " << e.what() << "\n";
        } catch (const vesk::Exception& e) {
            std::cerr << "vesk " << sub->get_name() << ": " << e.what() << "\n";
        } catch (const std::exception& e) {
            std::cerr << "vesk " << sub->get_name() << ": " << e.what() << "\n";
        }
        return ExitError;
    }
    return ExitError;
}
