#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace help {

// The help window: the method notes in one editable, word-wrapping text
// field. It deletes itself when closed, so whatever the user typed is gone
// and the next window made shows the designed text again. Made without a
// parent, it has no owner and outlives the main window.
class Form1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(Form1)

  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    QPlainTextEdit* Text1 = nullptr;
};

} // namespace help
