#include "app/checkdialog.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>

#include <algorithm>
#include <string>
#include <utility>

#include "app/checkformarea.h"
#include "app/fonts.h"
#include "app/markcolours.h"
#include "app/utf8.h"
#include "check/markedform.h"
#include "entry/textvalue.h"
#include "printout/workedform.h"

namespace app {
namespace {

using check::Mark;
using check::ValueId;
// Shown for a box whose text is not a value of its kind.
const QString unreadableSign = fromUtf8(check::unreadableSign);

} // namespace

bool sameSight(const reduction::ReductionInput& a, const reduction::ReductionInput& b) {
    const auto fields = [](const reduction::ReductionInput& input) {
        return std::array<double, 8>{TextValue(input.ghaDeg), TextValue(input.ghaMin),
                                     TextValue(input.decDeg), TextValue(input.decMin),
                                     TextValue(input.latDeg), TextValue(input.latMin),
                                     TextValue(input.loDeg),  TextValue(input.loMin)};
    };
    return fields(a) == fields(b) && a.decName == b.decName && a.latName == b.latName &&
           a.loName == b.loName && a.method == b.method;
}

const QString CheckDialog::title = QStringLiteral("Check My Work");

const QString CheckDialog::hint = QStringLiteral(
    "Type the numbers of your own worked form into the boxes as you worked them, down the "
    "left column and then down the right (angles as 12 34.5 or 12\u00B034.5', azimuths as "
    "234.5), then press Check. Leave a box empty for a value you did not work out.");

CheckDialog::CheckDialog(const reduction::ReductionInput& entries, CheckSheet* kept,
                         QWidget* parent)
    : QDialog(parent), entries_(entries), kept_(kept), method_(entries.method) {
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
    if (reduced && kept_ != nullptr)
        restore(*kept_);
}

CheckDialog::~CheckDialog() = default;
void CheckDialog::restore(const CheckSheet& sheet) {
    bool typed = false;
    for (Place& place : places_) {
        if (place.box == nullptr)
            continue;
        const QString& text = sheet.texts[check::index(place.id)];
        place.box->setText(text);
        typed = typed || !text.trimmed().isEmpty();
    }
    {
        const QSignalBlocker quiet(cboTolerance_);
        cboTolerance_->setCurrentIndex(cboTolerance_->findData(int(sheet.tolerance)));
    }
    {
        const QSignalBlocker quiet(chkMarkAsIGo_);
        chkMarkAsIGo_->setChecked(sheet.markAsIGo);
        margin_->setVisible(sheet.markAsIGo);
    }
    if (!typed)
        return;
    if (!sameSight(sheet.entries, entries_)) {
        // Nothing is thrown away unasked: the boxes stay as typed, and the
        // student decides.
        lblChanged_->setText(
            QStringLiteral("The entries have changed since this sheet was typed: it was typed "
                           "for ") +
            fromUtf8(printout::entriesText(sheet.entries)) +
            QStringLiteral(". Its boxes are kept and are checked against the entries above; "
                           "Start Afresh empties them."));
        lblChanged_->show();
        return;
    }
    if (sheet.checked || sheet.markAsIGo)
        check();
}

void CheckDialog::keep() {
    if (kept_ == nullptr || formArea_ == nullptr)
        return;
    kept_->entries = entries_;
    for (const Place& place : places_)
        if (place.box != nullptr)
            kept_->texts[check::index(place.id)] = place.box->text();
    kept_->tolerance = check::Tolerance(cboTolerance_->currentData().toInt());
    kept_->markAsIGo = chkMarkAsIGo_->isChecked();
    kept_->checked = showingMarks_;
}

void CheckDialog::startAfresh() {
    for (Place& place : places_)
        if (place.box != nullptr)
            place.box->clear();
    clearMarks();
    lblChanged_->hide();
    keep();
    places_.front().box->setFocus();
}

QLineEdit* CheckDialog::boxOf(ValueId id) const {
    for (const Place& place : places_)
        if (place.id == id && place.box != nullptr)
            return place.box;
    return nullptr;
}

bool CheckDialog::markingAsIGo() const {
    return chkMarkAsIGo_ != nullptr && chkMarkAsIGo_->isChecked();
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

    for (const ValueId id : check::allValues())
        clearMarksOf(id);
    notes_ = {};
    QStringList lines;
    for (const auto& [id, problem] : unreadable) {
        const QString line = fromUtf8(check::valueLabel(id)) + QStringLiteral(": ") + problem;
        lines.append(line);
        notes_[check::index(id)] = line;
        for (Place& place : places_)
            if (place.id == id)
                showProblem(place, problem);
    }
    for (const check::ValueCheck& value : result.values)
        for (Place& place : places_)
            if (place.id == value.id)
                showMark(place, value);
    for (const check::FoundSlip& slip : result.slips) {
        const QString line = QString::fromStdString(check::slipText(slip));
        lines.append(line);
        notes_[check::index(slip.shownAt)] = line;
    }

    QString summary = QString::fromStdString(check::checkSummary(result, unreadable.size()));
    if (result.message.empty() && result.values.empty() && unreadable.empty())
        summary += QLatin1Char(' ') + hint;
    lblSummary_->setText(summary);
    txtSlips_->setPlainText(lines.join(QLatin1Char('\n')));
    showingMarks_ = true;
    keep();
}

void CheckDialog::boxLeft(ValueId id) {
    if (!markingAsIGo() || !isVisible())
        return;
    check();
    showNote(id);
}

void CheckDialog::showNote(ValueId left) {
    // The note of the box just left, where it has one; otherwise the note
    // already shown stays beside its own box while that box still has it.
    const bool fresh = !notes_[check::index(left)].isEmpty();
    if (fresh)
        noteFor_ = left;
    else if (noteFor_ && notes_[check::index(*noteFor_)].isEmpty())
        noteFor_.reset();
    if (!noteFor_) {
        lblNote_->hide();
        return;
    }
    const int width = margin_->width() - 6;
    // Hidden and shown anew when it is new, so that assistive technology
    // speaks it.
    if (fresh)
        lblNote_->hide();
    lblNote_->setText(notes_[check::index(*noteFor_)]);
    // A line's room to spare: heightForWidth gives the lines' own height.
    const int height =
        std::min(lblNote_->heightForWidth(width) + QFontMetrics(lblNote_->font()).descent(),
                 margin_->height());
    const int top = std::clamp(boxOf(*noteFor_)->geometry().top(), 0, margin_->height() - height);
    lblNote_->setGeometry(6, top, width, height);
    lblNote_->show();
    if (!fresh)
        return;
    QAccessibleEvent changed(lblNote_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(lblNote_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CheckDialog::hideNote() {
    noteFor_.reset();
    if (lblNote_ != nullptr)
        lblNote_->hide();
}

void CheckDialog::toggleRightForm() {
    const bool reveal = sheetOrForm_->currentWidget() != txtRightForm_;
    sheetOrForm_->setCurrentWidget(reveal ? static_cast<QWidget*>(txtRightForm_)
                                          : sheetOrForm_->widget(0));
    const QString caption =
        reveal ? QStringLiteral("Show My &Sheet") : QStringLiteral("Show the Right &Form");
    cmdRightForm_->setText(caption);
    cmdRightForm_->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    if (reveal) {
        // Written only now, so that nothing gives the values away before.
        txtRightForm_->setPlainText(rightForm_.join(QLatin1Char('\n')));
        txtRightForm_->setFocus();
    }
}

bool CheckDialog::eventFilter(QObject* watched, QEvent* event) {
    // With "Mark as I go", Enter in a box leaves it for the next, as Tab
    // does, instead of checking the whole sheet.
    if (event->type() == QEvent::KeyPress && markingAsIGo()) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
            qobject_cast<QLineEdit*>(watched) != nullptr) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CheckDialog::showMark(Place& place, const check::ValueCheck& value) {
    QString description = fromUtf8(check::valueLabel(value.id)) + QStringLiteral(": ") +
                          fromUtf8(check::markText(value.mark));
    if (value.mark != Mark::Agrees)
        description += QStringLiteral("; the form has ") + QString::fromStdString(value.rightText);
    const QColor colour = markColour(value.mark);
    if (place.box != nullptr)
        place.box->setPalette(
            markedPalette(place.box->palette(), QPalette::Base, QPalette::Text, colour));
    else
        place.copy->setPalette(
            markedPalette(place.copy->palette(), QPalette::Window, QPalette::WindowText, colour));
    QWidget* shown = place.box != nullptr ? static_cast<QWidget*>(place.box) : place.copy;
    shown->setToolTip(description);
    shown->setAccessibleDescription(description);
    place.mark->setText(fromUtf8(check::markSign(value.mark)));
    place.mark->setToolTip(description);
    place.mark->setAccessibleDescription(description);
}

void CheckDialog::showProblem(Place& place, const QString& problem) {
    const QString description =
        fromUtf8(check::valueLabel(place.id)) + QStringLiteral(": ") + problem;
    QWidget* shown = place.box != nullptr ? static_cast<QWidget*>(place.box) : place.copy;
    shown->setToolTip(description);
    shown->setAccessibleDescription(description);
    place.mark->setText(unreadableSign);
    place.mark->setToolTip(description);
    place.mark->setAccessibleDescription(description);
}

void CheckDialog::clearMarksOf(ValueId id) {
    for (Place& place : places_) {
        if (place.id != id)
            continue;
        QWidget* shown = place.box != nullptr ? static_cast<QWidget*>(place.box) : place.copy;
        shown->setPalette(QPalette());
        shown->setToolTip(fromUtf8(check::valueLabel(id)));
        shown->setAccessibleDescription(QString());
        place.mark->clear();
        place.mark->setToolTip(QString());
        place.mark->setAccessibleDescription(QString());
    }
}

void CheckDialog::clearMarks() {
    if (!showingMarks_)
        return;
    showingMarks_ = false;
    for (const ValueId id : check::allValues())
        clearMarksOf(id);
    hideNote();
    lblSummary_->setText(hint);
    txtSlips_->clear();
}

} // namespace app
