// vesk paths: what the Find Source dialog keeps for its search: the main paths, the
// extended paths and the extension text.
#include "cli/Command.h"
#include "expert/finder/FindExpEngine.h"

#include <optional>

namespace vesk::cli {

namespace {

class PathsCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        FMainOption = app.add_option("--main", FMain,
                                     "set the main paths: one line of the dialog's text each "
                                     "time it is given, paths separated by ';'")
                          ->allow_extra_args(false);
        FExOption = app.add_option("--ex", FEx, "set the extended paths, as --main")
                        ->allow_extra_args(false);
        app.add_option("--ext", FExt,
                       "set the extension text: extensions without a dot, separated by ';', "
                       "such as PAS;DPR;DPK");
        app.footer("Prints what is stored, one KIND<TAB>VALUE a line: each line of the main\n"
                   "paths (main) and the extended paths (ex), the extension text (ext), and\n"
                   "the IDE's library path, which `vesk find` searches before the main paths\n"
                   "(library, one directory a line). --main '' or --ex '' stores none; an empty\n"
                   "part of a line, such as the start of ';/src', stands for the current\n"
                   "directory.");
    }

    int Run() override {
        TFindExpEngine engine(nullptr, false); // the main program: nothing to open files in
        const bool setMain = FMainOption->count() > 0;
        const bool setEx = FExOption->count() > 0;
        if (FExt)
            CheckExtensionText("--ext", *FExt);
        if (setMain || setEx || FExt) {
            // As the dialog stores them when its pages are left and it closes, in one
            // transaction of the store.
            if (setMain)
                engine.SetPathText(TFindPathEdit::edMainPath, JoinLines(FMain));
            if (setEx)
                engine.SetPathText(TFindPathEdit::edExPath, JoinLines(FEx));
            if (FExt)
                engine.SetExtText(*FExt);
            engine.FormClose();
        }
        OutputBuffer out;
        const std::pair<const char*, const TStringList*> shown[] = {
            {"main", &engine.PathMemo(TFindPathEdit::edMainPath).Lines},
            {"ex", &engine.PathMemo(TFindPathEdit::edExPath).Lines},
        };
        for (const auto& [kind, lines] : shown)
            for (int i = 0; i < lines->Count(); ++i)
                out << kind << '\t' << (*lines)[i] << '\n';
        out << "ext\t" << engine.ExtBox().Text << '\n';
        const TStringList& library = engine.LibPathMemo().Lines;
        for (int i = 0; i < library.Count(); ++i)
            out << "library\t" << library[i] << '\n';
        return ExitOk;
    }

private:
    std::vector<std::string> FMain;
    std::vector<std::string> FEx;
    std::optional<std::string> FExt;
    CLI::Option* FMainOption = nullptr;
    CLI::Option* FExOption = nullptr;
};

const CommandRegistration pathsRegistration{
    "paths", "Show or set the Find Source dialog's main paths, extended paths and extensions",
    [] { return std::make_unique<PathsCommand>(); }};

} // namespace

} // namespace vesk::cli
