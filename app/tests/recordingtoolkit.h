#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "app/toolkit.h"

// Stands in for the desktop: keeps what would have been shown or sounded.
class RecordingToolkit final : public app::Toolkit {
  public:
    void messageBox(const QString& text) override {
        messages.append(text);
        if (whileBoxOpen)
            whileBoxOpen(text);
    }
    void beep() override { ++beeps; }

    QStringList messages;
    int beeps = 0;
    // Runs where the modal box would be open, to look at the window behind it.
    std::function<void(const QString& text)> whileBoxOpen;
};
