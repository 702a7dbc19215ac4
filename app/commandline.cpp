#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace app {

std::optional<int> answerCommandLine(int argc, char* argv[]) {
    // A core application only for this look at the arguments: it needs no
    // display and is gone before the window's QApplication is made.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sightcheck"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SIGHT_VERSION));

    QCommandLineParser parser;
    // Qt's own options are single-dash words: -reverse must not read as -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Checks a celestial sight reduction worked by hand with the Q(x) or QQ(x)\n"
                       "table method: opens a window for the entries and prints the whole worked\n"
                       "form. The window takes no arguments of its own; sightform does the same\n"
                       "work on the command line."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Unknown options are Qt's or nobody's; neither stops the window.
    parser.parse(QCoreApplication::arguments());

    QString answer;
    if (parser.isSet(help))
        answer = parser.helpText();
    else if (parser.isSet(version))
        answer = QCoreApplication::applicationName() + ' ' +
                 QCoreApplication::applicationVersion() + '\n';
    else
        return std::nullopt;
    const QByteArray text = answer.toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace app
