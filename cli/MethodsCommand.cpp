// vesk methods / vesk goto: the Method Navigator's list and jump on files.
#include "cli/Command.h"
#include "expert/parsing/ParsPas.h"

#include <iostream>

namespace vesk::cli {

namespace {

class MethodsCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("FILE", FFiles, "Pascal units to list")->required();
        app.add_option("--filter", FFilter, "class and name prefix, as typed in the navigator");
    }

    int Run() override {
        const bool several = FFiles.size() > 1;
        OutputBuffer out;
        TMethodList methods;
        for (const std::string& file : FFiles) {
            methods.ParseText(ReadFileBytes(file));
            auto names = methods.GetMethods(FFilter);
            for (int i = 0; i < names->Count(); ++i) {
                if (several)
                    out << file << ": ";
                out << names->Get(i) << '\n';
            }
        }
        return ExitOk;
    }

private:
    std::vector<std::string> FFiles;
    std::string FFilter;
};

class GotoCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("FILE", FFile, "Pascal unit")->required();
        app.add_option("--filter", FFilter, "filter as typed in the navigator (default: none)");
        app.add_option("--index", FIndex, "entry of the filtered list (default 0)");
    }

    int Run() override {
        TMethodList methods;
        methods.ParseText(ReadFileBytes(FFile));
        const int shown = methods.GetMethods(FFilter)->Count();
        if (FIndex < 0 || FIndex >= shown) {
            std::cerr << "vesk goto: index " << FIndex << " is outside the " << shown
                      << " entries the filter shows\n";
            return ExitNotFound;
        }
        TEditPos top;
        TEditPos cursor; // line -1 until a statement is found
        methods.GetMethodPos(FIndex, top, cursor);
        std::cout << "top " << top.Line << "\ncursor " << cursor.Line << ' ' << cursor.Col << '\n';
        return ExitOk;
    }

private:
    std::string FFile;
    std::string FFilter;
    int FIndex = 0;
};

const CommandRegistration methodsRegistration{
    "methods", "List the routines a unit declares, as the Method Navigator shows them",
    [] { return std::make_unique<MethodsCommand>(); }};
const CommandRegistration gotoRegistration{
    "goto", "Find where the body of a listed routine starts (header line, first statement)",
    [] { return std::make_unique<GotoCommand>(); }};

} // namespace

} // namespace vesk::cli
