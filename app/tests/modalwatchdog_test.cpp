#include "app/tests/modalwatchdog.h"

#include <QMessageBox>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(ModalWatchdogTest, ClosesAModalBoxLeftOpenAndReportsIt) {
    ASSERT_NE(programWatchdog, nullptr);
    programWatchdog->setPaused(true);
    QStringList reports;
    {
        const ModalWatchdog local([&](const QString& what) { reports.append(what); }, 10);
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Caption"), QStringLiteral("Stuck"),
                        QMessageBox::Ok);
        box.exec(); // returns only because the watchdog closes it
    }
    programWatchdog->setPaused(false);
    EXPECT_EQ(reports, QStringList{QStringLiteral("Caption: Stuck")});
}

} // namespace
