#pragma once

#include <QString>

#include "app/toolkit.h"

namespace app {

class QtToolkit final : public Toolkit {
  public:
    explicit QtToolkit(QString caption);

    void messageBox(const QString& text) override;
    void beep() override;
    QString savePdfFileName(const QString& title, const QString& suggestedPath) override;

  private:
    QString caption_;
};

} // namespace app
