#include "app/tests/modalwatchdog.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QWidget>

#include <utility>

ModalWatchdog::ModalWatchdog(Report report, int intervalMs, QObject* parent)
    : QObject(parent), report_(std::move(report)) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &ModalWatchdog::check);
    timer_.start();
}

ModalWatchdog* programWatchdog = nullptr;

void ModalWatchdog::setPaused(bool paused) {
    if (paused)
        timer_.stop();
    else
        timer_.start();
}

void ModalWatchdog::check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr)
        return;
    QString description = modal->windowTitle();
    if (const auto* box = qobject_cast<QMessageBox*>(modal))
        description += QStringLiteral(": ") + box->text();
    report_(description);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}
