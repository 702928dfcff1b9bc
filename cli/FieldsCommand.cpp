// vesk fields: the Field Expert's generation on a form file, with the wizard's
// choices given as options.
#include "cli/Command.h"
#include "expert/fieldexpert/FldExpLogic.h"
#include "platform/forms/FormFile.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace vesk::cli {

namespace {

class FieldsCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("FORMFILE", FForm, "form file (.dfm, .lfm; text or binary)")->required();
        app.add_option("--dataset", FDataSet, "the data set (TTable or TQuery) to take fields from")
            ->required();
        auto* all = app.add_flag("--all", FAll, "generate controls for every field");
        auto* field = app.add_option("--field", FFields, "a field to generate controls for");
        all->excludes(field);
        app.add_flag("--label-left", FLabelLeft, "labels left of the editors (default: above)");
        app.add_flag("--no-date-edit", FNoDateEdit, "date fields get a TDBEdit, not a TDBDateEdit");
        app.add_option("-o,--output", FOut, "write the form here instead of in place");
    }

    int Run() override {
        if (!FAll && FFields.empty())
            throw CommandError("say which fields: --all or --field NAME ...");
        auto form = TFormFile::LoadFromFile(FForm);
        TFieldExpertLogic expert(*form->Root(),
                                 std::filesystem::path(FForm).parent_path().string());
        if (!expert.ReadDataSet())
            throw CommandError("Must be DBDataSet.");
        auto line = std::find_if(
            expert.DataSetLines.begin(), expert.DataSetLines.end(),
            [&](const TDataSetLine& l) { return SameText(l.DataSet->Name(), FDataSet); });
        if (line == expert.DataSetLines.end()) {
            std::string known;
            for (const TDataSetLine& l : expert.DataSetLines)
                known += (known.empty() ? "" : ", ") + l.DataSet->Name();
            throw CommandError("no data set " + FDataSet + " on the form (there are: " + known +
                               ")");
        }
        expert.ItemIndex = static_cast<int>(line - expert.DataSetLines.begin());
        std::vector<std::string> create = expert.ReadFields();
        if (!FAll) {
            for (const std::string& f : FFields)
                if (std::none_of(create.begin(), create.end(),
                                 [&](const std::string& c) { return SameText(c, f); }))
                    throw CommandError("no field " + f + " in " + FDataSet);
            // The Create list keeps only the chosen fields, still in alphabetical order.
            std::erase_if(create, [&](const std::string& c) {
                return std::none_of(FFields.begin(), FFields.end(),
                                    [&](const std::string& f) { return SameText(c, f); });
            });
        }
        expert.LabelPos = FLabelLeft ? lpLabelLeft : lpLabelUp;
        expert.UseDateEdit = !FNoDateEdit;
        try {
            expert.bnCreateClick(create);
        } catch (const Exception& e) {
            const std::string field = expert.CurField ? expert.CurField->FieldName : "";
            throw CommandError((field.empty() ? std::string() : "field " + field + ": ") +
                               e.Message() + "; the form was not changed");
        }
        // Reported once it is written: a failed write prints the error alone.
        std::string report;
        for (const TComponent* c : expert.Created)
            report += "created " + c->ClassName() + ' ' + c->Name() + '\n';
        form->SaveToFile(FOut.empty() ? FForm : FOut);
        std::cout << report;
        return ExitOk;
    }

private:
    std::string FForm;
    std::string FDataSet;
    bool FAll = false;
    std::vector<std::string> FFields;
    bool FLabelLeft = false;
    bool FNoDateEdit = false;
    std::string FOut;
};

const CommandRegistration fieldsRegistration{
    "fields", "Place a caption label and a data-aware editor for fields of a data set on a form",
    [] { return std::make_unique<FieldsCommand>(); }};

} // namespace

} // namespace vesk::cli
