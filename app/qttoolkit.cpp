#include "app/qttoolkit.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <utility>

namespace app {

QtToolkit::QtToolkit(QString caption) : caption_(std::move(caption)) {}

void QtToolkit::messageBox(const QString& text) {
    // Parented to the active window so the box is centred over it and blocks
    // it; with no active window it is application-modal on its own.
    QMessageBox box(QMessageBox::NoIcon, caption_, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtToolkit::beep() {
    QApplication::beep();
}

QString QtToolkit::savePdfFileName(const QString& title, const QString& suggestedPath) {
    QFileDialog dialog(QApplication::activeWindow(), title, suggestedPath,
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without ".pdf" gets it, as the filter promises.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace app
