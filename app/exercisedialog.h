#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

class QLineEdit;
class QPushButton;

namespace app {

// "New Exercise…": asks for the seed of a practice sight, with a fresh one
// filled in and selected, so that a teacher's seed can be typed over it. OK
// can be pressed only while the box holds a seed.
class ExerciseDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(ExerciseDialog)

  public:
    // The dialog's window title.
    static const QString title;

    explicit ExerciseDialog(std::uint64_t freshSeed, QWidget* parent = nullptr);

    // The seed the box holds, if it holds one.
    std::optional<std::uint64_t> seed() const;

  private:
    void showSeedState();

    QLineEdit* txtSeed_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
};

} // namespace app
