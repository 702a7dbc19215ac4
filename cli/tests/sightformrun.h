#pragma once

// The built sightform run as a script runs it: arguments and standard input
// in, exit status, standard output and standard error out.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <string>

namespace sightformrun {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline ProgramRun sightform(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(SIGHTFORM_PATH, arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace sightformrun
