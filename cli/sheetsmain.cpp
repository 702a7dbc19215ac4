// sightform-sheets: sightform's --pdf, run by sightform itself with the same
// command line. It alone links Qt's GUI libraries, for the PDF writer.

#include <QByteArray>
#include <QGuiApplication>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/program.h"
#include "cli/sheets.h"
#include "printout/pdfsheet.h"
#include "tables/tablepdf.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const cli::ReadArguments read = cli::readArguments(arguments);
    if (!read.arguments || !read.arguments->pdf) {
        cli::reportError("sightform-sheets is run by sightform --pdf FILE (see sightform --help)");
        return cli::exitUsage;
    }
    // Text on a PDF page needs Qt's fonts, which need a GUI application; the
    // offscreen platform serves without a display. Qt's own notes (no runtime
    // directory, a platform detail) would mix with the one line a script
    // reads on stderr, and every failure is reported here anyway.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            cli::reportError(message.toStdString());
        }
    });
    QGuiApplication application(argc, argv);
    if (read.arguments->table) {
        if (const auto problem = tables::writeTablePdf(
                QString::fromStdString(*read.arguments->pdf), *read.arguments->table,
                printout::localePageSize(QLocale::system()))) {
            cli::reportError(problem->toStdString());
            return cli::exitCannotCreate;
        }
        return cli::exitComplete;
    }
    cli::PdfSheets sheets;
    return cli::runSightform(*read.arguments, &sheets);
}
