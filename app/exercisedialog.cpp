#include "app/exercisedialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/fonts.h"
#include "exercises/exercises.h"

namespace app {

const QString ExerciseDialog::title = QStringLiteral("New Exercise");

ExerciseDialog::ExerciseDialog(std::uint64_t freshSeed, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExerciseDialog"));
    setWindowTitle(title);
    setFont(windowFont());

    auto* hint = new QLabel(
        QStringLiteral("A practice sight to work by hand. The same seed gives the same sight, "
                       "so a class can work one sight together: type the seed you were given, "
                       "or keep this new one."),
        this);
    hint->setWordWrap(true);
    hint->setTextFormat(Qt::PlainText);

    txtSeed_ = new QLineEdit(QString::number(freshSeed), this);
    txtSeed_->setObjectName(QStringLiteral("txtSeed"));
    // The most digits a seed has (2^64 - 1).
    txtSeed_->setMaxLength(20);
    txtSeed_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtSeed_));
    txtSeed_->selectAll();
    auto* seedLabel = new QLabel(QStringLiteral("&Seed:"), this);
    seedLabel->setBuddy(txtSeed_);
    auto* row = new QFormLayout;
    row->addRow(seedLabel, txtSeed_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOk_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(txtSeed_, &QLineEdit::textChanged, this, &ExerciseDialog::showSeedState);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    txtSeed_->setFocus();
    showSeedState();
}

std::optional<std::uint64_t> ExerciseDialog::seed() const {
    return exercises::seedFromText(txtSeed_->text().toStdString());
}

void ExerciseDialog::showSeedState() {
    cmdOk_->setEnabled(seed().has_value());
}

} // namespace app
