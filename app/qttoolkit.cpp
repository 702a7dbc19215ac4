#include "app/qttoolkit.h"

#include <QApplication>
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

} // namespace app
