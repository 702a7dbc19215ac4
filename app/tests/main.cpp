#include <QApplication>

#include <gtest/gtest.h>

#include "app/tests/modalwatchdog.h"

int main(int argc, char* argv[]) {
    // Offscreen unless told otherwise, also when CTest lists the tests, so a
    // test never opens a window on the developer's desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ModalWatchdog watchdog([](const QString& description) {
        ADD_FAILURE() << "a modal window was left open: " << description.toStdString();
    });
    programWatchdog = &watchdog;
    return RUN_ALL_TESTS();
}
