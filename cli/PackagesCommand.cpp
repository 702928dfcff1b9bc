// vesk packages: the Find Source dialog's package list.
#include "cli/Command.h"
#include "expert/finder/FindExpEngine.h"

#include <iostream>
#include <optional>

namespace vesk::cli {

namespace {

class PackagesCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_flag("--refresh", FRefresh,
                     "rebuild the list from the IDE's known packages and store it");
    }

    int Run() override {
        TFindExpEngine engine(nullptr, false); // the main program: nothing to open files in
        if (FRefresh) {
            // The IDE's packages are read and the list stored under one lock.
            TRegistry reg(engine.Store());
            TRegistryUpdate transaction(reg);
            engine.ReadDpk();
            engine.FormClose();
            transaction.Commit();
        }
        const TStringList& sources = engine.PackagesPathList();
        OutputBuffer out;
        const TStringList& packages = engine.DpkBox().Items;
        for (int i = 0; i < packages.Count(); ++i) {
            out << packages[i] << '\t';
            if (i < sources.Count())
                out << sources[i];
            out << '\n';
        }
        return ExitOk;
    }

private:
    bool FRefresh = false;
};

const CommandRegistration packagesRegistration{
    "packages", "List the packages of the Find Source dialog, each with its source file",
    [] { return std::make_unique<PackagesCommand>(); }};

} // namespace

} // namespace vesk::cli
