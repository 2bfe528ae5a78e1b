// Every test binary starts as the programs do and runs with one application object and the dialog
// seams on: no test waits on a window.
#include "common/core/startup.h"
#include "common/platform/dialogs.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // As every program starts: a test under a file-size limit sees the write fail, as a user would.
    dz::ignoreFileSizeSignal();
    dz::keepFreedMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    dz::ui::seam::enable(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
