// vesk find: the Find Source dialog's search, with its paths and extensions.
#include "cli/Command.h"
#include "expert/finder/FindExpEngine.h"

#include <iostream>
#include <optional>

namespace vesk::cli {

namespace {

class FindCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("PREFIX", FPrefix, "beginning of the file name (may hold * and ?)");
        app.add_flag("--deep", FDeep, "search the extended paths and all their subfolders");
        app.add_option("--ext", FExt,
                       "extensions without a dot, separated by ';', such as PAS;INC (default: the "
                       "stored ones)");
        app.add_option("--main", FMain,
                       "main paths separated by ';', after the IDE's library path "
                       "(default: the stored ones)")
            ->allow_extra_args(false);
        app.add_option("--ex", FEx, "extended paths separated by ';' (default: the stored ones)")
            ->allow_extra_args(false);
        app.footer("An empty entry among the paths (--main '', or the gap in 'a;;b') stands for\n"
                   "the current directory; so does the IDE's library path when none is stored.\n"
                   "The stored paths and extensions are shown and set with `vesk paths`.");
    }

    int Run() override {
        TFindExpHost host;
        host.InIDE = false; // run as the main program: nothing to open files in
        TFindExpEngine engine(host);
        if (!FMain.empty())
            engine.edMainPath.Lines.Clear();
        for (const std::string& line : FMain)
            engine.edMainPath.Lines.Add(line);
        if (!FEx.empty())
            engine.edExPath.Lines.Clear();
        for (const std::string& line : FEx)
            engine.edExPath.Lines.Add(line);
        engine.RebuildPathLists();
        if (FExt) {
            CheckExtensionText("--ext", *FExt);
            engine.SetExtText(*FExt);
            engine.cbExtClick();
        }
        engine.cbSearch.Text = FPrefix;
        if (FDeep)
            engine.btnSearchClick();
        else
            engine.cbSearchChange();

        std::string out;
        for (int i = 0; i < engine.lbFound.Items.Count(); ++i)
            out.append(engine.lbFound.Items[i]).push_back('\n');
        std::cout << out << std::flush;
        return engine.LoadEnabled() ? ExitOk : ExitNotFound;
    }

private:
    std::string FPrefix;
    bool FDeep = false;
    std::optional<std::string> FExt;
    std::vector<std::string> FMain;
    std::vector<std::string> FEx;
};

const CommandRegistration findRegistration{
    "find", "Find sources by the beginning of their name, as the Find Source dialog does",
    [] { return std::make_unique<FindCommand>(); }};

} // namespace

} // namespace vesk::cli
