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
        app.add_option("--image", FImageField, "field of the image index");
        app.add_flag("--ids", FShowIds, "append each node's identifier as \" [ID]\"");
    }

    int Run() override {
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
};

const CommandRegistration treeRegistration{
    "tree", "Show the tree the data-aware tree view builds from a table",
    [] { return std::make_unique<TreeCommand>(); }};

} // namespace

} // namespace vesk::cli
