// The live search runs on every keystroke over paths x extensions one-level listings;
// the deep search walks whole trees on request. Both are timed over the installed
// Free Pascal and Lazarus sources against `find` doing the same matching and, for the
// live search, against a bare readdir loop over the same folders (the floor); the
// live search also through the dialog, until its list shows the result.
//
//   build/bin/bench_finder [PREFIX]       (PREFIX defaults to "s")
#include "expert/finder/FindExp.h"
#include "expert/finder/FindExpEngine.h"
#include "platform/qt/QtHostServices.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace vesk;

const char* const SourceTrees[] = {"/usr/share/fpcsrc", "/usr/lib/lazarus"};
const char* const Extensions = "PAS;DPR;DPK";
std::string Prefix = "s";

std::vector<std::string>& Roots() {
    static std::vector<std::string> roots = [] {
        std::vector<std::string> found;
        for (const char* tree : SourceTrees)
            if (fs::is_directory(tree))
                found.push_back(tree);
        return found;
    }();
    return roots;
}

// The 50 folders of the trees holding the most entries.
const std::vector<std::string>& LargestFolders() {
    static const std::vector<std::string> folders = [] {
        std::vector<std::pair<std::size_t, std::string>> sized;
        for (const std::string& root : Roots()) {
            std::error_code error;
            for (auto it = fs::recursive_directory_iterator(root, error);
                 it != fs::recursive_directory_iterator(); it.increment(error)) {
                if (error || !it->is_directory(error) || it->is_symlink(error))
                    continue;
                std::size_t count = 0;
                for (auto entry = fs::directory_iterator(it->path(), error);
                     entry != fs::directory_iterator(); entry.increment(error))
                    ++count;
                sized.emplace_back(count, it->path().string());
            }
        }
        std::sort(sized.rbegin(), sized.rend());
        sized.resize(std::min<std::size_t>(sized.size(), 50));
        std::vector<std::string> out;
        for (auto& [count, path] : sized)
            out.push_back(path);
        return out;
    }();
    return folders;
}

std::string Joined(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        text += (text.empty() ? "" : ";") + path;
    return text;
}

// A settings store of its own, with the given main and extended paths.
void WriteSettings(const std::vector<std::string>& main, const std::vector<std::string>& extended) {
    static const std::string store = [] {
        char pattern[] = "/tmp/vesk-bench-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        return std::string(pattern) + "/registry.reg";
    }();
    ::setenv("VESK_REGISTRY", store.c_str(), 1);
    {
        TRegistry reg(store);
        reg.OpenKey(IdeLibraryKey, true);
        reg.WriteString("SearchPath", Joined(main));
        reg.CloseKey();
        reg.OpenKey(FindSettingsKey, true);
        reg.WriteString("ExPath0", Joined(extended));
        reg.WriteString("ExPath1", "");
        reg.WriteString("cbExt0", Extensions);
        reg.WriteString("cbExt1", "");
        reg.WriteInteger("cbExt.ItemIndex", 0);
    }
}

// An engine over those settings.
std::unique_ptr<TFindExpEngine> MakeEngine(const std::vector<std::string>& main,
                                           const std::vector<std::string>& extended) {
    WriteSettings(main, extended);
    return std::make_unique<TFindExpEngine>(nullptr, false);
}

// Runs a command with its output thrown away; false when it failed.
bool Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> FindNameTests() {
    std::vector<std::string> args{"("};
    bool first = true;
    for (const char* ext : {"pas", "dpr", "dpk"}) {
        if (!first)
            args.push_back("-o");
        first = false;
        args.insert(args.end(), {"-iname", Prefix + "*." + ext});
    }
    args.push_back(")");
    return args;
}

bool NeedTrees(benchmark::State& state) {
    if (LargestFolders().empty()) {
        state.SkipWithError("no sources: run scripts/setup --bench");
        return false;
    }
    return true;
}

void BM_LiveSearch(benchmark::State& state) {
    if (!NeedTrees(state))
        return;
    auto engine = MakeEngine(LargestFolders(), {});
    for (auto _ : state) {
        engine->SetSearchText(Prefix);
        benchmark::DoNotOptimize(engine->FoundBox().Items.Count());
    }
    state.counters["folders"] = static_cast<double>(engine->MainPathList().Count());
    state.counters["found"] = engine->LoadEnabled() ? engine->FoundList().Count() : 0;
}

// The same keystroke typed into the dialog's search field, until lbFound has laid out
// and drawn the result. QtEvents: pending events run through Qt after each file found,
// as in the IDE; otherwise the headless services, which run none.
void BM_LiveSearchWindow(benchmark::State& state, bool qtEvents) {
    if (!NeedTrees(state))
        return;
    TQtHostServices services;
    if (qtEvents)
        SetHostServices(&services);
    WriteSettings(LargestFolders(), {});
    auto dialog = std::make_unique<TFindExpDlg>();
    dialog->show();
    QLineEdit* field = dialog->cbSearch->lineEdit();
    field->setText(QString::fromStdString(Prefix));
    const int last = static_cast<int>(Prefix.size()) - 1;
    const QChar typed = QChar::fromLatin1(Prefix.back());
    bool upper = false;
    for (auto _ : state) {
        // The last letter typed again over itself, in the other case: a new search with
        // the same result.
        field->setSelection(last, 1);
        QTest::keyClicks(field, upper ? QString(typed.toUpper()) : QString(typed.toLower()));
        upper = !upper;
        dialog->lbFound->doItemsLayout();
        dialog->lbFound->viewport()->repaint();
    }
    const TFindExpEngine& engine = *dialog->Engine();
    state.counters["found"] = engine.LoadEnabled() ? engine.FoundList().Count() : 0;
    dialog.reset();
    SetHostServices(nullptr);
}

void BM_LiveSearchFind(benchmark::State& state) {
    if (!NeedTrees(state))
        return;
    std::vector<std::string> args{"find"};
    args.insert(args.end(), LargestFolders().begin(), LargestFolders().end());
    args.insert(args.end(), {"-mindepth", "1", "-maxdepth", "1"});
    for (const std::string& arg : FindNameTests())
        args.push_back(arg);
    for (auto _ : state)
        if (!Run(args))
            state.SkipWithError("find failed");
}

void BM_LiveSearchReaddirFloor(benchmark::State& state) {
    if (!NeedTrees(state))
        return;
    for (auto _ : state) {
        std::size_t entries = 0;
        for (const std::string& folder : LargestFolders()) {
            DIR* dir = ::opendir(folder.c_str());
            if (!dir)
                continue;
            while (const dirent* entry = ::readdir(dir))
                entries += entry->d_name[0] != 0;
            ::closedir(dir);
        }
        benchmark::DoNotOptimize(entries);
    }
}

void BM_DeepSearch(benchmark::State& state) {
    if (!NeedTrees(state))
        return;
    auto engine = MakeEngine({}, Roots());
    engine->SetSearchText(Prefix);
    for (auto _ : state) {
        engine->btnSearchClick();
        benchmark::DoNotOptimize(engine->FoundBox().Items.Count());
    }
    state.counters["found"] = engine->LoadEnabled() ? engine->FoundList().Count() : 0;
}

void BM_DeepSearchFind(benchmark::State& state) {
    if (!NeedTrees(state))
        return;
    std::vector<std::string> args{"find", "-L"};
    args.insert(args.end(), Roots().begin(), Roots().end());
    args.insert(args.end(), {"-name", ".?*", "-prune", "-o"});
    for (const std::string& arg : FindNameTests())
        args.push_back(arg);
    args.push_back("-print");
    for (auto _ : state)
        if (!Run(args))
            state.SkipWithError("find failed");
}

BENCHMARK(BM_LiveSearch)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LiveSearchWindow, qt_events, true)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_LiveSearchWindow, no_events, false)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_LiveSearchFind)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_LiveSearchReaddirFloor)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_DeepSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeepSearchFind)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        Prefix = argv[1];
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
