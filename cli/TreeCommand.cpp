// vesk tree: the tree the data-aware tree view builds from a table of a database.
#include "cli/Command.h"
#include "library/dbtree/VeskDBTree.h"
#include "platform/data/DBTables.h"

#include <iostream>

namespace vesk::cli {

namespace {

class TreeCommand : public Command {
public:
    void Setup(CLI::App& app) override {
        app.add_option("DATABASE", FDatabase, "SQLite database file")->required();
        app.add_option("--table", FTable, "table (or view) holding the records")->required();
        app.add_option("--id", FIdField, "field of each record's identifier")->required();
        app.add_option("--owner", FOwnerField, "field of the owner's identifier (0: a root)")
            ->required();
        app.add_option("--text", FTextField, "field of the node text")->required();
        FImageOption =
            app.add_option("--image", FImageField,
                           "field of the image index, shown after each node as \" (image N)\"");
        app.add_flag("--ids", FShowIds, "append each node's identifier as \" [ID]\"");
    }

    int Run() override {
        // The tree view quietly builds nothing without its three fields; here that is a
        // slip to point out.
        const std::pair<const char*, const std::string*> required[] = {
            {"--id", &FIdField}, {"--owner", &FOwnerField}, {"--text", &FTextField}};
        for (const auto& [option, field] : required)
            if (field->empty())
                throw CommandError(std::string(option) + " must name a field");
        if (FImageOption->count() > 0 && FImageField.empty())
            throw CommandError("--image must name a field");
        TTable table;
        table.SetDatabaseName(FDatabase);
        table.SetTableName(FTable);
        TDataSource source(&table);
        TVeskCustomDBTreeView view;
        view.SetDataFieldID(FIdField);
        view.SetDataFieldOwnerID(FOwnerField);
        view.SetDataFieldText(FTextField);
        view.SetDataFieldImageIndex(FImageField);
        view.SetDataSource(&source);
        table.Open(); // the view builds its tree as the table opens

        OutputBuffer out;
        const TTreeNodes& items = view.Items();
        for (int i = 0; i < items.Count(); ++i) {
            const TTreeNode* node = items.Item(i);
            out << std::string(2 * static_cast<std::size_t>(node->Level()), ' ') << node->Text();
            if (FShowIds)
                if (const auto* veskNode = dynamic_cast<const TVeskTreeNode*>(node))
                    out << " [" << std::to_string(veskNode->ID) << "]";
            if (!FImageField.empty())
                out << " (image " << std::to_string(node->ImageIndex()) << ")";
            out << '\n';
        }
        return ExitOk;
    }

private:
    std::string FDatabase;
    std::string FTable;
    std::string FIdField;
    std::string FOwnerField;
    std::string FTextField;
    std::string FImageField;
    bool FShowIds = false;
    CLI::Option* FImageOption = nullptr;
};

const CommandRegistration treeRegistration{
    "tree", "Show the tree the data-aware tree view builds from a table",
    [] { return std::make_unique<TreeCommand>(); }};

} // namespace

} // namespace vesk::cli
