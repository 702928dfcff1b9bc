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
        TFindExpEngine engine(nullptr, false); // the main program: nothing to open files in
        if (!FMain.empty())
            engine.SetPathText(TFindPathEdit::edMainPath, JoinLines(FMain));
        if (!FEx.empty())
            engine.SetPathText(TFindPathEdit::edExPath, JoinLines(FEx));
        engine.RebuildPathLists();
        if (FExt) {
            CheckExtensionText("--ext", *FExt);
            engine.SetExtText(*FExt);
            engine.cbExtClick();
        }
        engine.SetSearchText(FPrefix);
        if (FDeep)
            engine.btnSearchClick();

        std::string out;
        const TStringList& found = engine.FoundBox().Items;
        for (int i = 0; i < found.Count(); ++i)
            out.append(found[i]).push_back('\n');
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
