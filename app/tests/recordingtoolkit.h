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
    QString savePdfFileName(const QString& title, const QString& suggestedPath) override {
        fileDialogs.append(title + QStringLiteral(" | ") + suggestedPath);
        return chosenPath;
    }

    QStringList messages;
    int beeps = 0;
    // The file dialogs opened (title and suggested path), and what the user
    // picks in them: empty cancels.
    QStringList fileDialogs;
    QString chosenPath;
    // Runs where the modal box would be open, to look at the window behind it.
    std::function<void(const QString& text)> whileBoxOpen;
};
