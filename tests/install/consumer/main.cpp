// A window with the effect label and the data-aware tree view on a SQLite file. Prints
// the tree the view shows, one node a line indented by level, and how many pixels of
// the label's face differ from its background; exits 1 when the table cannot be shown.
#include "library/dbtree/VeskDBTreeView.h"
#include "library/effects/LblEffct.h"
#include "platform/data/DBTables.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <exception>
#include <string>

namespace {

void PrintRows(const QAbstractItemModel& model, const QModelIndex& parent, int level) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        std::printf("%s%s\n", std::string(2 * static_cast<std::size_t>(level), ' ').c_str(),
                    index.data().toString().toStdString().c_str());
        PrintRows(model, index, level + 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: consumer DATABASE\n");
        return 2;
    }
    // The data outlives the window that shows it.
    vesk::TTable table;
    table.SetDatabaseName(argv[1]);
    table.SetTableName("Book");
    vesk::TDataSource source(&table);

    // Placed as a form places its controls: the label sizes itself to its caption.
    QWidget window;
    auto* label = new vesk::TLabelEffect(&window);
    label->SetCaption("Customers");
    label->SetEffectStyle(vesk::esShadow);
    auto* tree = new vesk::TVeskDBTreeView(&window);
    tree->Tree().SetDataFieldID("ID");
    tree->Tree().SetDataFieldOwnerID("OwnerID");
    tree->Tree().SetDataFieldText("Name");
    tree->Tree().SetDataSource(&source);
    label->move(8, 8);
    tree->setGeometry(8, 48, 284, 344);
    try {
        table.Open();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "consumer: %s\n", error.what());
        return 1;
    }
    window.resize(300, 400);
    window.show();
    QApplication::processEvents();

    PrintRows(*tree->model(), {}, 0);
    const QImage face = label->grab().toImage();
    int drawn = 0;
    const QRgb background = face.isNull() ? 0 : face.pixel(0, 0);
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            drawn += face.pixel(x, y) != background;
    std::printf("label: %s\n", drawn > 0 ? "drawn" : "blank");
    return tree->model()->rowCount() > 0 && drawn > 0 ? 0 : 1;
}
