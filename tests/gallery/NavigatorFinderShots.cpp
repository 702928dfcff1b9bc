// Renders the Method Navigator and the Find Source dialog off screen as PNG pictures
// for the README, on the sample project, through the headless host and a settings
// store of its own (the user's is not touched).
//
//   build/bin/vesk_navigator_finder_shots OUTDIR
#include "expert/finder/FindExp.h"
#include "expert/navigator/MNavExp.h"
#include "platform/ota/HeadlessHost.h"
#include "platform/registry/Registry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace vesk;

// A fixed place, so that the paths the pictures show stay the same from run to run.
const fs::path Scratch = "/tmp/vesk-gallery";
const fs::path Project = Scratch / "Projects" / "Customers";
const fs::path Packages = Scratch / "Packages";

void Save(QWidget& window, const fs::path& file) {
    QTest::qWait(50); // the lists lay out their items and scroll bars late
    if (!window.grab().save(QString::fromStdString(file.string()), "PNG"))
        throw std::runtime_error("cannot write " + file.string());
    std::printf("%s\n", file.c_str());
}

void Expose(QWidget& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        throw std::runtime_error("the window was not shown");
}

void Put(const std::string& key, const std::string& name, const std::string& value) {
    TRegistry reg;
    reg.OpenKey(key, true);
    reg.WriteString(name, value);
}

// The sample project's units and project file, and two package sources.
void MakeFiles() {
    fs::remove_all(Scratch);
    fs::create_directories(Project);
    fs::create_directories(Packages);
    const fs::path sample = fs::path(VESK_SOURCE_DIR) / "examples" / "sample";
    for (const char* name : {"Customers.pas", "MainForm.pas", "MainForm.dfm", "OrderEntry.pas",
                             "Sample.dpr", "TextUtils.pas"})
        fs::copy_file(sample / name, Project / name);
    for (const char* name : {"VeskPack.dpk", "VeskExp.dpk"})
        std::ofstream(Packages / name) << "package " << fs::path(name).stem().string() << ";\n";
}

void Navigator(THeadlessHost& host, const fs::path& out) {
    const std::string unit = (Project / "MainForm.pas").string();
    host.OpenModule(unit);
    host.SetCurrentFile(unit);

    auto* dialog = new TMNavExpDlg;
    Expose(*dialog);
    QTest::keyClicks(dialog->edFilter, "btn");
    Save(*dialog, out / "navigator-filter.png");
    dialog->close();

    TMNavOptions options;
    options.Match = TMNavMatch::nmAnywhere;
    options.LineColumn = true;
    options.HeaderLine = true;
    options.Write();
    dialog = new TMNavExpDlg;
    Expose(*dialog);
    dialog->resize(250, dialog->height()); // room for the names beside their lines
    QTest::keyClicks(dialog->edFilter, "click");
    QTest::keyClick(dialog->edFilter, Qt::Key_Down);
    Save(*dialog, out / "navigator-options.png");
    dialog->close();
    TMNavOptions().Write();
}

void FindSource(const fs::path& out) {
    const std::string project = Project.string() + "/";
    Put(IdeLibraryKey, "SearchPath", Project.string());
    Put(IdePackagesKey, Packages.string() + "/VeskPack.bpl", "Vesk components");
    Put(IdePackagesKey, Packages.string() + "/VeskExp.bpl", "(untitled)");
    Put(FindSettingsKey, "MainPath0", Packages.string());
    Put(FindSettingsKey, "MainPath1", "");
    Put(FindSettingsKey, "ExPath0", Scratch.string() + "/Projects");
    Put(FindSettingsKey, "ExPath1", "");
    Put(FindSettingsKey, "cbSearch0", "MainForm.pas");
    Put(FindSettingsKey, "cbSearch1", "");
    Put(FindSettingsKey, "Favor0", project + "MainForm.pas");
    Put(FindSettingsKey, "Favor1", project + "Sample.dpr");
    Put(FindSettingsKey, "Favor2", "");

    auto* dialog = new TFindExpDlg;
    dialog->SelectPage(PageType::ptPackages);
    dialog->RefreshDPKItemClick();
    dialog->SelectPage(PageType::ptFiles);
    Expose(*dialog);
    dialog->cbSearch->lineEdit()->clear(); // every source of the library path
    const char* const pages[] = {"search",     "packages",       "favorites",
                                 "main-paths", "extended-paths", "config"};
    for (int page = 0; page < 6; ++page) {
        dialog->pc->setCurrentIndex(page);
        Save(*dialog, out / ("findsource-" + std::string(pages[page]) + ".png"));
    }
    delete dialog;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        const fs::path out = argv[1];
        fs::create_directories(out);
        MakeFiles();
        ::setenv("VESK_REGISTRY", (Scratch / "registry.reg").c_str(), 1);
        THeadlessHost host;
        Navigator(host, out);
        FindSource(out);
        if (!host.Services().Errors().empty()) {
            for (const std::string& error : host.Services().Errors())
                std::fprintf(stderr, "error: %s\n", error.c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    fs::remove_all(Scratch);
    return 0;
}
