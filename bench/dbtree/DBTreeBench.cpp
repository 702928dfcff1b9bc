// The data-aware tree's build over a SQLite table of a million records, against the
// floor of reading the same rows straight from SQLite, in the same run.
//
//   build/bin/bench_dbtree [--records=N] [benchmark options]   (the widget on the offscreen
//   platform)
//
// The table is made once in a temporary folder: IDs 1..N in random row order, about
// one record in a hundred a root, every other one owned by a record of lower ID.
#include "library/dbtree/VeskDBTree.h"
#include "library/dbtree/VeskDBTreeView.h"
#include "platform/data/DBTables.h"

#include <QApplication>
#include <QScrollBar>
#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <numeric>
#include <random>

namespace {

using namespace vesk;
namespace fs = std::filesystem;

int RecordCount = 1000000;
std::string DatabasePath;

void MakeDatabase() {
    const fs::path dir = fs::temp_directory_path() / "vesk-dbtree-bench";
    fs::create_directories(dir);
    DatabasePath = (dir / ("book-" + std::to_string(RecordCount) + ".db")).string();
    if (fs::exists(DatabasePath))
        return;
    const std::string building = DatabasePath + ".part";
    fs::remove(building);
    SQLite::Database db(building, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE Book (ID INTEGER NOT NULL, OwnerID INTEGER NOT NULL, "
            "Name VARCHAR(40) NOT NULL, ImageIndex SMALLINT NOT NULL)");
    std::mt19937 random(1);
    std::vector<int> order(RecordCount);
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), random);
    SQLite::Transaction transaction(db);
    SQLite::Statement insert(db, "INSERT INTO Book VALUES (?, ?, ?, ?)");
    for (int id : order) {
        const int owner = id == 1 || random() % 100 == 0 ? 0 : 1 + random() % (id - 1);
        insert.bind(1, id);
        insert.bind(2, owner);
        insert.bind(3, "Customer " + std::to_string(id));
        insert.bind(4, id % 3);
        insert.exec();
        insert.reset();
    }
    transaction.commit();
    fs::rename(building, DatabasePath);
}

void OpenBook(TTable& table, bool open) {
    table.SetDatabaseName(DatabasePath);
    table.SetTableName("Book");
    if (open)
        table.Open();
}

void Connect(TVeskCustomDBTreeView& view, TDataSource& source) {
    view.SetDataFieldID("ID");
    view.SetDataFieldOwnerID("OwnerID");
    view.SetDataFieldText("Name");
    view.SetDataFieldImageIndex("ImageIndex");
    view.SetDataSource(&source);
}

// The floor: every row's four columns read straight from SQLite, nothing kept.
void BM_BareScan(benchmark::State& state) {
    SQLite::Database db(DatabasePath);
    for (auto _ : state) {
        sqlite3_stmt* scan = nullptr;
        sqlite3_prepare_v2(db.getHandle(), "SELECT ID, OwnerID, Name, ImageIndex FROM Book", -1,
                           &scan, nullptr);
        std::int64_t sum = 0;
        while (sqlite3_step(scan) == SQLITE_ROW) {
            sum += sqlite3_column_int64(scan, 0) + sqlite3_column_int64(scan, 1) +
                   sqlite3_column_int64(scan, 3);
            sum += *sqlite3_column_text(scan, 2) + sqlite3_column_bytes(scan, 2);
        }
        sqlite3_finalize(scan);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// Opening the table and walking it as the build does, without building.
void BM_TableWalk(benchmark::State& state) {
    TTable table;
    OpenBook(table, false);
    for (auto _ : state) {
        table.Open();
        std::int64_t sum = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            sum += table.FieldByName("ID")->AsInteger() +
                   table.FieldByName("OwnerID")->AsInteger() +
                   table.FieldByName("ImageIndex")->AsInteger();
            sum += table.FieldByName("Name")->AsString().size();
        }
        benchmark::DoNotOptimize(sum);
        state.PauseTiming();
        table.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// Opening the table alone: the rows read from SQLite into the data set's store.
void BM_TableOpen(benchmark::State& state) {
    TTable table;
    OpenBook(table, false);
    for (auto _ : state) {
        table.Open();
        benchmark::DoNotOptimize(table.RecordCount());
        state.PauseTiming();
        table.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// Walking a table already open, reading the four fields of every record.
void BM_FieldReads(benchmark::State& state) {
    TTable table;
    OpenBook(table, true);
    TField* id = table.FieldByName("ID");
    TField* owner = table.FieldByName("OwnerID");
    TField* name = table.FieldByName("Name");
    TField* image = table.FieldByName("ImageIndex");
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (table.First(); !table.Eof(); table.Next())
            sum += id->AsInteger() + owner->AsInteger() + image->AsInteger() +
                   static_cast<std::int64_t>(name->AsString().size());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// Opening the table with a tree view attached: the rows read from SQLite and the
// whole tree built.
void BM_BuildTree(benchmark::State& state) {
    TTable table;
    OpenBook(table, false);
    TDataSource source(&table);
    TVeskCustomDBTreeView view;
    Connect(view, source);
    for (auto _ : state) {
        table.Open();
        benchmark::DoNotOptimize(view.Items().Count());
        state.PauseTiming();
        if (view.Items().Count() != RecordCount)
            state.SkipWithError("not every record was placed");
        table.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// The build alone, on a table already open.
void BM_BuildTreeOnOpenTable(benchmark::State& state) {
    TTable table;
    OpenBook(table, true);
    TDataSource source(&table);
    TVeskCustomDBTreeView view;
    Connect(view, source); // builds once
    for (auto _ : state) {
        state.PauseTiming();
        view.Items().Clear();
        state.ResumeTiming();
        view.BuildTree();
        benchmark::DoNotOptimize(view.Items().Count());
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// ---- the widget, shown on the offscreen platform

void ConnectWidget(TVeskDBTreeView& view, TDataSource& source) {
    Connect(view.Tree(), source);
    view.resize(400, 600);
    view.show();
    QApplication::processEvents();
}

// The build on an open table with the widget shown: the model reset, the expanded
// and selected nodes given back to the view and its layout, painted once.
void BM_WidgetBuildTreeOnOpenTable(benchmark::State& state) {
    TTable table;
    OpenBook(table, true);
    TDataSource source(&table);
    TVeskDBTreeView view;
    ConnectWidget(view, source);
    for (auto _ : state) {
        state.PauseTiming();
        view.Items().Clear();
        QApplication::processEvents();
        state.ResumeTiming();
        view.Tree().BuildTree();
        view.repaint();
        benchmark::DoNotOptimize(view.Items().Count());
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

// One page down, from the top to the end of the roots, repainted each step.
void BM_WidgetScrollStep(benchmark::State& state) {
    TTable table;
    OpenBook(table, true);
    TDataSource source(&table);
    TVeskDBTreeView view;
    ConnectWidget(view, source);
    QScrollBar* bar = view.verticalScrollBar();
    for (auto _ : state) {
        if (bar->value() >= bar->maximum()) {
            state.PauseTiming();
            bar->setValue(0);
            state.ResumeTiming();
        }
        bar->setValue(bar->value() + bar->pageStep());
        view.viewport()->repaint();
    }
}

// Expanding, then collapsing, the deepest node that has children, with every node
// above it open and the view scrolled to it.
void BM_WidgetExpandDeepNode(benchmark::State& state) {
    TTable table;
    OpenBook(table, true);
    TDataSource source(&table);
    TVeskDBTreeView view;
    ConnectWidget(view, source);
    TTreeNode* deep = nullptr;
    for (int i = 0; i < view.Items().Count(); ++i) {
        TTreeNode* node = view.Items().Item(i);
        if (node->HasChildren() && (!deep || node->Level() > deep->Level()))
            deep = node;
    }
    if (!deep) {
        state.SkipWithError("no node with children");
        return;
    }
    std::vector<TTreeNode*> path;
    for (TTreeNode* up = deep->Parent(); up; up = up->Parent())
        path.push_back(up);
    for (auto up = path.rbegin(); up != path.rend(); ++up)
        view.expand(view.IndexOf(*up));
    const QModelIndex at = view.IndexOf(deep);
    view.scrollTo(at);
    QApplication::processEvents();
    for (auto _ : state) {
        view.expand(at);
        view.viewport()->repaint();
        view.collapse(at);
        view.viewport()->repaint();
    }
    state.counters["depth"] = static_cast<double>(deep->Level());
}

// With children placed on expanding: the build on an open table until the first
// screen is painted.
void BM_LazyFirstScreen(benchmark::State& state) {
    TTable table;
    OpenBook(table, true);
    TDataSource source(&table);
    TVeskDBTreeView view;
    view.Tree().SetLoadOnExpand(true);
    ConnectWidget(view, source);
    for (auto _ : state) {
        state.PauseTiming();
        view.Items().Clear();
        QApplication::processEvents();
        state.ResumeTiming();
        view.Tree().BuildTree();
        view.repaint();
        benchmark::DoNotOptimize(view.Items().Count());
    }
}

BENCHMARK(BM_BareScan)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_TableOpen)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FieldReads)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_TableWalk)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildTree)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildTreeOnOpenTable)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_WidgetBuildTreeOnOpenTable)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_WidgetScrollStep)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(BM_WidgetExpandDeepNode)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(BM_LazyFirstScreen)->Unit(benchmark::kMillisecond)->MinTime(2);

// Keeps each benchmark's time per run, wall clock and processor, to print each as a
// multiple of the bare scan's after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                FTimes[run.run_name.function_name] = {run.real_accumulated_time / run.iterations,
                                                      run.cpu_accumulated_time / run.iterations};
    }
    void PrintRatios() const {
        const auto floor = FTimes.find("BM_BareScan");
        if (floor == FTimes.end())
            return;
        std::printf("\nPer run, as a multiple of BM_BareScan (%d records): wall clock, processor\n",
                    RecordCount);
        for (const auto& [name, times] : FTimes)
            std::printf("  %-26s %6.2fx %6.2fx\n", name.c_str(), times.first / floor->second.first,
                        times.second / floor->second.second);
    }

private:
    std::map<std::string, std::pair<double, double>> FTimes;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--records=", 10) == 0)
            RecordCount = std::max(1, std::atoi(argv[i] + 10));
        else
            arguments.push_back(argv[i]);
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    MakeDatabase();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
