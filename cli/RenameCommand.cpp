// vesk rename: the Component Renamer on a form file, and the form's unit kept in step.
#include "cli/Command.h"
#include "expert/renamer/RenExp.h"
#include "platform/forms/UnitFields.h"
#include "platform/forms/FormFile.h"
#include "platform/rtl/FileReplace.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace vesk::cli {

namespace {

namespace fs = std::filesystem;

// The unit of the same name beside a form file, or empty.
std::string UnitBeside(const std::string& formPath) {
    for (const char* ext : {".pas", ".PAS", ".Pas"}) {
        fs::path unit = fs::path(formPath).replace_extension(ext);
        if (fs::is_regular_file(unit))
            return unit.string();
    }
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

class RenameCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("FORMFILE", FForm, "form file (.dfm, .lfm; text or binary)")->required();
        app.add_option("-o,--output", FOut,
                       "write the form here instead of in place; the renamed unit then goes "
                       "beside it (OUT with the unit's extension), but only where no such file "
                       "exists or it is the form's own unit");
        app.footer("The form's unit (the .pas of the same name beside FORMFILE) has the field\n"
                   "declarations of the form class renamed with it. Both files are written\n"
                   "whole before either replaces its old version; on any failure both stay\n"
                   "as they were and only the error is printed.");
    }

    int Run() override {
        auto form = TFormFile::LoadFromFile(FForm);
        // Without a host the question is shown to no one.
        const auto outcomes = RunRenamer(form->Root());
        // What is reported is printed only once it has been written.
        std::string report;
        std::vector<TFieldRename> renames;
        for (const TRenameOutcome& o : outcomes) {
            if (o.Renamed) {
                report += o.OldName + " -> " + o.NewName + "\n";
                renames.push_back({o.OldName, o.NewName});
            } else {
                report += o.OldName + " kept: " + o.Reason + "\n";
            }
        }
        const std::string out = FOut.empty() ? FForm : FOut;
        const std::string unitPath = renames.empty() ? std::string() : UnitBeside(FForm);
        std::string unitText;
        std::string unitOut;
        if (!unitPath.empty()) {
            unitText = ReadFileBytes(unitPath);
            const std::string className = form->Root()->ClassName();
            const auto missing = RenameClassFields(unitText, className, renames);
            for (const TFieldRename& m : missing)
                report += unitPath + ": no field " + m.OldName + " in " + className +
                          "; rename it by hand\n";
            if (missing.size() < renames.size())
                unitOut = UnitOutput(out, unitPath);
        } else if (!renames.empty()) {
            report += "no unit beside " + FForm + ": only the form was changed\n";
        }

        std::optional<TFileReplace> formFile;
        std::optional<TFileReplace> unitFile;
        if (!renames.empty() || !FOut.empty()) {
            formFile.emplace(out);
            formFile->Write(form->Save());
        }
        if (!unitOut.empty()) {
            unitFile.emplace(unitOut);
            unitFile->Write(unitText);
            report += unitOut + ": field declarations renamed\n";
        }
        // Both complete and on the disk before either replaces its old version.
        for (auto* file : {&formFile, &unitFile})
            if (*file)
                (*file)->Prepare();
        for (auto* file : {&formFile, &unitFile})
            if (*file)
                (*file)->Commit();
        std::cout << report;
        return ExitOk;
    }

private:
    // Where the renamed unit goes: in place, or beside OUT under OUT's name. Refuses a
    // file there that is not this form's unit, and OUT itself.
    std::string UnitOutput(const std::string& out, const std::string& unitPath) const {
        if (FOut.empty())
            return unitPath;
        const std::string unitOut =
            fs::path(out).replace_extension(fs::path(unitPath).extension()).string();
        if (unitOut == out || SameFile(unitOut, out))
            throw CommandError("'" + out + "' is where the renamed unit would go; give -o a " +
                               "form file name");
        std::error_code error;
        if (fs::exists(fs::symlink_status(unitOut, error)) && !SameFile(unitOut, unitPath))
            throw CommandError("'" + unitOut + "' is not the unit of '" + FForm +
                               "' and is left alone; nothing was written");
        return unitOut;
    }

    std::string FForm;
    std::string FOut;
};

const CommandRegistration renameRegistration{
    "rename", "Name the data-aware edit controls of a form after their fields (ed + DataField)",
    [] { return std::make_unique<RenameCommand>(); }};

} // namespace

} // namespace vesk::cli
