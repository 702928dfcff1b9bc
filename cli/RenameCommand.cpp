// vesk rename: the Component Renamer on a form file, and the form's unit kept in step.
#include "cli/Command.h"
#include "expert/renamer/RenExp.h"
#include "expert/renamer/UnitFields.h"
#include "platform/forms/FormFile.h"

#include <filesystem>
#include <iostream>

namespace vesk::cli {

namespace {

// The unit of the same name beside a form file, or empty.
std::string UnitBeside(const std::string& formPath) {
    namespace fs = std::filesystem;
    for (const char* ext : {".pas", ".PAS", ".Pas"}) {
        fs::path unit = fs::path(formPath).replace_extension(ext);
        if (fs::is_regular_file(unit))
            return unit.string();
    }
    return {};
}

class RenameCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("FORMFILE", FForm, "form file (.dfm, .lfm; text or binary)")->required();
        app.add_option("-o,--output", FOut, "write the form here instead of in place");
    }

    int Run() override {
        auto form = TFormFile::LoadFromFile(FForm);
        // Without a host the question is shown to no one.
        const auto outcomes = RunRenamer(form->Root());
        std::vector<TFieldRename> renames;
        for (const TRenameOutcome& o : outcomes) {
            if (o.Renamed) {
                std::cout << o.OldName << " -> " << o.NewName << '\n';
                renames.push_back({o.OldName, o.NewName});
            } else {
                std::cout << o.OldName << " kept: " << o.Reason << '\n';
            }
        }
        const std::string out = FOut.empty() ? FForm : FOut;
        std::string unitPath = UnitBeside(FForm);
        std::string unitText;
        if (!renames.empty() && !unitPath.empty()) {
            unitText = ReadFileBytes(unitPath);
            const std::string className = form->Root()->ClassName();
            const auto missing = RenameClassFields(unitText, className, renames);
            for (const TFieldRename& m : missing)
                std::cout << unitPath << ": no field " << m.OldName << " in " << className
                          << "; rename it by hand\n";
            if (missing.size() == renames.size())
                unitPath.clear();
        } else if (!renames.empty()) {
            std::cout << "no unit beside " << FForm << ": only the form was changed\n";
        }
        if (!renames.empty() || !FOut.empty())
            form->SaveToFile(out);
        if (!unitPath.empty() && !unitText.empty()) {
            const std::string unitOut =
                FOut.empty() ? unitPath
                             : std::filesystem::path(out)
                                   .replace_extension(std::filesystem::path(unitPath).extension())
                                   .string();
            WriteFileAtomic(unitOut, unitText);
            std::cout << unitOut << ": field declarations renamed\n";
        }
        return ExitOk;
    }

private:
    std::string FForm;
    std::string FOut;
};

const CommandRegistration renameRegistration{
    "rename", "Name the data-aware edit controls of a form after their fields (ed + DataField)",
    [] { return std::make_unique<RenameCommand>(); }};

} // namespace

} // namespace vesk::cli
