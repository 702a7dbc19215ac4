#include "app/checkdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "app/checkformarea.h"
#include "app/fonts.h"
#include "app/utf8.h"
#include "check/markedform.h"
#include "printout/patterns.h"
#include "printout/printfont.h"
#include "printout/workedform.h"

namespace app {
namespace {

using check::Mark;
using check::ValueId;

// The box colours; the sign beside each box says the same without colour.
QColor markColour(Mark mark) {
    switch (mark) {
    case Mark::Agrees:
        return QColor(198, 239, 206);
    case Mark::WithinReading:
        return QColor(226, 239, 180);
    case Mark::Follows:
        return QColor(255, 235, 156);
    case Mark::Differs:
        return QColor(255, 199, 206);
    }
    return {};
}

// Shown for a box whose text is not a value of its kind.
const QString unreadableSign = QStringLiteral("?");

const QString hint =
    QStringLiteral("Type the numbers of your own worked form into the boxes, line for line as "
                   "on your sheet (angles as 12 34.5 or 12\u00B034.5', azimuths as 234.5), "
                   "then press Check. Leave a box empty for a value you did not work out.");

struct ToleranceItem {
    check::Tolerance tolerance;
    const char* caption;
};
constexpr ToleranceItem toleranceItems[] = {
    {check::Tolerance::Whole, "whole numbers (\u00B10.5)"},
    {check::Tolerance::Tenths, "tenths (\u00B10.05)"},
    {check::Tolerance::Exact, "exact"},
};

// A box keeps one column beyond the longest value of its kind, for the line
// edit's own margin before its text.
constexpr int boxExtraColumns = 1;

} // namespace

const QString CheckDialog::title = QStringLiteral("Check My Work");

CheckDialog::CheckDialog(const reduction::ReductionInput& entries, QWidget* parent)
    : QDialog(parent), entries_(entries) {
    setObjectName(QStringLiteral("CheckDialog"));
    setWindowTitle(title);
    setFont(windowFont());
    reduction::ReductionRecord record;
    const reduction::CalculationResult result = reduction::calculateReduction(entries, record);
    QString message;
    switch (result.outcome) {
    case reduction::Outcome::Complete:
        break;
    case reduction::Outcome::CheckData:
        message = fromUtf8(reduction::checkDataMessage);
        break;
    case reduction::Outcome::ArithmeticFailure:
        message = QString::fromStdString(reduction::arithmeticFailureText(result.reason));
        break;
    }
    const bool reduced = message.isEmpty();
    if (reduced)
        createForm(record);
    createControls(reduced, message);
    setFocusOrder();
}

CheckDialog::~CheckDialog() = default;

void CheckDialog::createForm(const reduction::ReductionRecord& record) {
    const check::CheckLayout layout =
        check::openLayout(check::checkLayout(record, entries_.method), boxExtraColumns);
    formArea_ = new CheckFormArea(layout, font(), this);
    formArea_->setObjectName(QStringLiteral("form"));
    formArea_->setAccessibleName(QStringLiteral("Worked form to check"));
    std::vector<QWidget*> outlined;
    for (const ValueId id : check::allValues()) {
        const std::vector<check::FormPlace>& where = layout.places[check::index(id)];
        const QString name = fromUtf8(check::valueName(id));
        for (std::size_t i = 0; i < where.size(); ++i) {
            Place place{id, where[i]};
            const QString suffix = i == 0 ? QString() : QStringLiteral("_again");
            if (i == 0) {
                place.box = new QLineEdit(formArea_);
                place.box->setObjectName(name);
                place.box->setAccessibleName(name);
                place.box->setFrame(false);
                place.box->setTextMargins(0, 0, 0, 0);
                place.box->setFont(formArea_->printFont());
                place.box->setGeometry(formArea_->boxRect(where[i]));
                connect(place.box, &QLineEdit::textEdited, this, &CheckDialog::clearMarks);
                outlined.push_back(place.box);
            } else {
                // Shown again where the form shows it again, never typed twice.
                place.copy = new QLabel(formArea_);
                place.copy->setObjectName(name + suffix);
                place.copy->setAccessibleName(name + QStringLiteral(" (again)"));
                place.copy->setTextFormat(Qt::PlainText);
                place.copy->setFont(formArea_->printFont());
                place.copy->setAutoFillBackground(true);
                place.copy->setContentsMargins(2, 0, 0, 0);
                place.copy->setGeometry(formArea_->boxRect(where[i]));
                outlined.push_back(place.copy);
            }
            place.mark = new QLabel(formArea_);
            place.mark->setObjectName(QStringLiteral("mark_") + name + suffix);
            place.mark->setAccessibleName(name + QStringLiteral(" mark"));
            place.mark->setTextFormat(Qt::PlainText);
            place.mark->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            QFont markFont = font();
            markFont.setBold(true);
            place.mark->setFont(markFont);
            place.mark->setGeometry(formArea_->markRect(where[i]));
            places_.push_back(place);
        }
    }
    // Each copy follows its box.
    for (const Place& place : places_) {
        if (place.copy == nullptr)
            continue;
        QLabel* copy = place.copy;
        connect(boxOf(place.id), &QLineEdit::textChanged, copy, &QLabel::setText);
    }
    formArea_->outline(std::move(outlined));
}

void CheckDialog::createControls(bool reduced, const QString& message) {
    auto* column = new QVBoxLayout(this);
    auto* lblEntries = new QLabel(fromUtf8(printout::entriesText(entries_)), this);
    lblEntries->setObjectName(QStringLiteral("lblEntries"));
    lblEntries->setAccessibleName(QStringLiteral("Entries"));
    lblEntries->setTextFormat(Qt::PlainText);
    column->addWidget(lblEntries);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    QPushButton* cmdClose = buttons->button(QDialogButtonBox::Close);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAccessibleName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblSummary"));
    lblSummary_->setAccessibleName(QStringLiteral("Result"));
    lblSummary_->setTextFormat(Qt::PlainText);
    lblSummary_->setWordWrap(true);

    if (!reduced) {
        // Nothing to check: say why, as the window would.
        lblSummary_->setText(message);
        column->addWidget(lblSummary_);
        column->addWidget(buttons);
        cmdClose->setDefault(true);
        return;
    }

    column->addWidget(formArea_);

    auto* row = new QHBoxLayout;
    auto* lblTolerance = new QLabel(QStringLiteral("Table &reading:"), this);
    lblTolerance->setObjectName(QStringLiteral("lblTolerance"));
    cboTolerance_ = new QComboBox(this);
    cboTolerance_->setObjectName(QStringLiteral("cboTolerance"));
    cboTolerance_->setAccessibleName(QStringLiteral("Table reading"));
    cboTolerance_->setToolTip(
        QStringLiteral("How far a table value may stray from the computed one and still agree"));
    for (const ToleranceItem& item : toleranceItems)
        cboTolerance_->addItem(QString::fromUtf8(item.caption), int(item.tolerance));
    lblTolerance->setBuddy(cboTolerance_);
    connect(cboTolerance_, &QComboBox::currentIndexChanged, this, [this] {
        if (showingMarks_)
            check();
    });
    cmdCheck_ = new QPushButton(QStringLiteral("&Check"), this);
    cmdCheck_->setObjectName(QStringLiteral("cmdCheck"));
    cmdCheck_->setAccessibleName(QStringLiteral("Check"));
    // Enter in a box checks.
    cmdCheck_->setDefault(true);
    cmdClose->setAutoDefault(false);
    connect(cmdCheck_, &QPushButton::clicked, this, &CheckDialog::check);
    row->addWidget(lblTolerance);
    row->addWidget(cboTolerance_);
    row->addStretch();
    row->addWidget(cmdCheck_);
    column->addLayout(row);

    lblSummary_->setText(hint);
    column->addWidget(lblSummary_);

    txtSlips_ = new QPlainTextEdit(this);
    txtSlips_->setObjectName(QStringLiteral("txtSlips"));
    txtSlips_->setAccessibleName(QStringLiteral("Slips"));
    txtSlips_->setReadOnly(true);
    txtSlips_->setTabChangesFocus(true);
    txtSlips_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QFontMetrics metrics(txtSlips_->font());
    txtSlips_->setFixedHeight(metrics.lineSpacing() * 6 + 2 * txtSlips_->frameWidth() + 8);
    column->addWidget(txtSlips_);
    column->addWidget(buttons);
}

void CheckDialog::setFocusOrder() {
    // The boxes in the order of the form, line by line, left to right.
    std::vector<QWidget*> order;
    std::vector<const Place*> boxes;
    for (const Place& place : places_)
        if (place.box != nullptr)
            boxes.push_back(&place);
    std::sort(boxes.begin(), boxes.end(), [](const Place* a, const Place* b) {
        return std::pair(a->where.line, a->where.span.first) <
               std::pair(b->where.line, b->where.span.first);
    });
    for (const Place* place : boxes)
        order.push_back(place->box);
    for (QWidget* widget : std::initializer_list<QWidget*>{cboTolerance_, cmdCheck_, txtSlips_,
                                                           findChild<QPushButton*>("cmdClose")})
        if (widget != nullptr)
            order.push_back(widget);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    if (!order.empty())
        order.front()->setFocus();
}

QLineEdit* CheckDialog::boxOf(ValueId id) const {
    for (const Place& place : places_)
        if (place.id == id && place.box != nullptr)
            return place.box;
    return nullptr;
}

void CheckDialog::check() {
    if (formArea_ == nullptr)
        return;
    check::WorkedValues given;
    std::vector<std::pair<ValueId, QString>> unreadable;
    for (const Place& place : places_) {
        if (place.box == nullptr)
            continue;
        const check::ReadValue read = check::readValue(place.id, place.box->text().toStdString());
        if (read.value)
            given[place.id] = read.value;
        else if (!read.problem.empty())
            unreadable.emplace_back(place.id, QString::fromStdString(read.problem));
    }
    const auto tolerance = check::Tolerance(cboTolerance_->currentData().toInt());
    const check::CheckResult result = check::checkWorkedForm(entries_, given, tolerance);

    clearMarks();
    QStringList lines;
    for (const auto& [id, problem] : unreadable) {
        lines.append(fromUtf8(check::valueName(id)) + QStringLiteral(": ") + problem);
        for (Place& place : places_)
            if (place.id == id)
                showProblem(place, problem);
    }
    for (const check::ValueCheck& value : result.values)
        for (Place& place : places_)
            if (place.id == value.id)
                showMark(place, value);
    for (const check::FoundSlip& slip : result.slips)
        lines.append(QString::fromStdString(check::slipText(slip)));

    QString summary = QString::fromStdString(check::checkSummary(result, unreadable.size()));
    if (result.message.empty() && result.values.empty() && unreadable.empty())
        summary += QLatin1Char(' ') + hint;
    lblSummary_->setText(summary);
    txtSlips_->setPlainText(lines.join(QLatin1Char('\n')));
    showingMarks_ = true;
}

void CheckDialog::showMark(Place& place, const check::ValueCheck& value) {
    QString description = fromUtf8(check::markText(value.mark));
    if (value.mark != Mark::Agrees)
        description += QStringLiteral("; the form has ") + QString::fromStdString(value.rightText);
    QWidget* shown = place.box != nullptr ? static_cast<QWidget*>(place.box) : place.copy;
    QPalette coloured = shown->palette();
    coloured.setColor(place.box != nullptr ? QPalette::Base : QPalette::Window,
                      markColour(value.mark));
    shown->setPalette(coloured);
    shown->setToolTip(description);
    shown->setAccessibleDescription(description);
    place.mark->setText(fromUtf8(check::markSign(value.mark)));
    place.mark->setToolTip(description);
    place.mark->setAccessibleDescription(description);
}

void CheckDialog::showProblem(Place& place, const QString& problem) {
    QWidget* shown = place.box != nullptr ? static_cast<QWidget*>(place.box) : place.copy;
    shown->setToolTip(problem);
    shown->setAccessibleDescription(problem);
    place.mark->setText(unreadableSign);
    place.mark->setToolTip(problem);
    place.mark->setAccessibleDescription(problem);
}

void CheckDialog::clearMarks() {
    if (!showingMarks_)
        return;
    showingMarks_ = false;
    for (Place& place : places_) {
        QWidget* shown = place.box != nullptr ? static_cast<QWidget*>(place.box) : place.copy;
        shown->setPalette(QPalette());
        shown->setToolTip(QString());
        shown->setAccessibleDescription(QString());
        place.mark->clear();
        place.mark->setToolTip(QString());
        place.mark->setAccessibleDescription(QString());
    }
    lblSummary_->setText(hint);
    txtSlips_->clear();
}

} // namespace app
