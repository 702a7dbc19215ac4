#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Closes any modal window that a test opened by mistake and reports it, so
// the test fails instead of waiting for a click that never comes. It runs in
// whatever event loop the modal window spins.
class ModalWatchdog final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ModalWatchdog)

  public:
    using Report = std::function<void(const QString& description)>;

    explicit ModalWatchdog(Report report, int intervalMs = 200, QObject* parent = nullptr);

    // A test of the watchdog itself stands the program-wide one down.
    void setPaused(bool paused);

  private:
    void check();

    Report report_;
    QTimer timer_;
};

// The program-wide watchdog that the test program's main() installs.
extern ModalWatchdog* programWatchdog;
