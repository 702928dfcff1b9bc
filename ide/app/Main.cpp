// vesk-ide: the host IDE. "vesk-ide [PROJECT]" opens the IDE (on a project);
// "vesk-ide --tour DIR [PROJECT]" runs every tool of the add-in on the project, writes a
// picture of the IDE after each step into DIR, prints their paths and ends. Without a
// display it runs on the offscreen platform.
#include "ide/app/IdeWindow.h"
#include "ide/app/Tour.h"
#include "platform/qt/QtHostServices.h"
#include "platform/qt/WorkerThreads.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

int RunIde(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("vesk-ide");
    QApplication::setApplicationDisplayName("Vesk IDE"); // the title of its message boxes

    std::string tourFolder, project;
    bool tour = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tour" && i + 1 < argc) {
            tour = true;
            tourFolder = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            std::cout << "usage: vesk-ide [PROJECT]\n"
                         "       vesk-ide --tour DIR [PROJECT]\n";
            return EXIT_SUCCESS;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "vesk-ide: unknown option " << arg << "\n";
            return 2;
        } else {
            project = arg;
        }
    }
    // Full names from here on: opening a project makes its folder the current one.
    if (!project.empty())
        project = vesk::ExpandFileName(project);
    if (tour)
        tourFolder = vesk::ExpandFileName(tourFolder);
    std::shared_ptr<vesk::TRegistryFile> store; // none: the user's own store
    if (tour) {
        try {
            const vesk::TTourSetup setup = vesk::PrepareTour(
                tourFolder, project.empty() ? vesk::TourDefaultProject() : project);
            project = setup.Project;
            store = setup.Store;
        } catch (const vesk::Exception& e) {
            std::cerr << "vesk-ide: " << e.Message() << "\n";
            return EXIT_FAILURE;
        }
    }

    vesk::TQtHostServices services(store);
    vesk::SetHostServices(&services);
    int result;
    {
        vesk::TIdeWindow window;
        window.Start();
        window.show();
        if (!project.empty())
            window.OpenProject(project);
        if (tour)
            result = vesk::RunTour(window, tourFolder, std::cout, std::cerr);
        else
            result = QApplication::exec();
    }
    vesk::SetHostServices(nullptr);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    const int result = RunIde(argc, argv);
    // RunIde's application object is gone; so are Qt's painting threads after this.
    vesk::WaitForOtherThreadsToEnd();
    return result;
}
