// Entry point of the test programs that need widgets: one QApplication on the
// offscreen platform, so no test needs a display.
#include "platform/qt/WorkerThreads.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int result;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    vesk::WaitForOtherThreadsToEnd();
    return result;
}
