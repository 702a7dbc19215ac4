#pragma once

#include <QString>
#include <QStringList>

#include "app/toolkit.h"

// Stands in for the desktop: keeps what would have been shown or sounded.
class RecordingToolkit final : public app::Toolkit {
  public:
    void messageBox(const QString& text) override { messages.append(text); }
    void beep() override { ++beeps; }

    QStringList messages;
    int beeps = 0;
};
