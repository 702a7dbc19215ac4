// The check dialog's controls, made and laid out: the form with a box at
// every value in the order of working, the margin for the slips' words, the
// choices and commands below it, and the tab order through them all.

#include "app/checkdialog.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "app/checkformarea.h"
#include "app/markcolours.h"
#include "app/utf8.h"
#include "check/markedform.h"
#include "printout/workedform.h"

namespace app {
namespace {

using check::Mark;
using check::ValueId;

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

// The form stands in two columns, and a navigator works down the left one,
// then down the right one. The left column starts in column 1; the right
// one has its "=" signs in column 55 of the printed form, and each of its
// values stands after them.
constexpr int rightColumnEquals = 55;

// Every place of every value, as (value, its index among the value's places
// on the form), in the order a navigator works and writes them.
std::vector<std::pair<ValueId, std::size_t>> workingOrder(const check::CheckLayout& printed) {
    std::vector<std::tuple<bool, int, int, ValueId, std::size_t>> places;
    for (const ValueId id : check::allValues()) {
        const std::vector<check::FormPlace>& where = printed.places[check::index(id)];
        for (std::size_t i = 0; i < where.size(); ++i)
            places.emplace_back(where[i].span.first > rightColumnEquals, where[i].line,
                                where[i].span.first, id, i);
    }
    std::sort(places.begin(), places.end());
    std::vector<std::pair<ValueId, std::size_t>> order;
    for (const auto& place : places)
        order.emplace_back(std::get<3>(place), std::get<4>(place));
    return order;
}

// The note beside a box is, for a screen reader, a notification: one is
// spoken as it appears, and the slip's words are meant to be read at once.
class NoteAccessible final : public QAccessibleWidget {
  public:
    explicit NoteAccessible(QLabel* note) : QAccessibleWidget(note, QAccessible::Notification) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            const QString text = static_cast<const QLabel*>(object())->text();
            return text.isEmpty() ? QStringLiteral("Note") : text;
        }
        return QAccessibleWidget::text(kind);
    }
};

const QString noteName = QStringLiteral("lblNote");

QAccessibleInterface* noteAccessible(const QString& /*className*/, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (label != nullptr && label->objectName() == noteName)
        return new NoteAccessible(label);
    return nullptr;
}

// Columns of the margin beside the form, where a slip's words stand.
constexpr int marginColumns = 34;

} // namespace

void CheckDialog::createForm(const reduction::ReductionRecord& record) {
    const check::CheckLayout printed = check::checkLayout(record, method_);
    const check::CheckLayout layout = check::openLayout(printed, boxExtraColumns);
    formArea_ = new CheckFormArea(layout, font(), this);
    formArea_->setObjectName(QStringLiteral("form"));
    formArea_->setAccessibleName(QStringLiteral("Worked form to check"));
    std::vector<QWidget*> outlined;
    // Made in the order of working, which is the order in which assistive
    // technology lists them.
    std::array<bool, check::valueCount> boxed{};
    for (const auto& [id, i] : workingOrder(printed)) {
        Place place{id, layout.places[check::index(id)][i]};
        const QString name = fromUtf8(check::valueName(id));
        const QString label = fromUtf8(check::valueLabel(id));
        const bool first = !std::exchange(boxed[check::index(id)], true);
        const QString suffix = first ? QString() : QStringLiteral("_again");
        if (first) {
            place.box = new QLineEdit(formArea_);
            place.box->setObjectName(name);
            place.box->setAccessibleName(label);
            place.box->setToolTip(label);
            place.box->setFrame(false);
            place.box->setTextMargins(0, 0, 0, 0);
            place.box->setFont(formArea_->printFont());
            place.box->setGeometry(formArea_->boxRect(place.where));
            place.box->installEventFilter(this);
            connect(place.box, &QLineEdit::textEdited, this, [this, id = id] {
                if (markingAsIGo()) {
                    clearMarksOf(id);
                    if (noteFor_ == id)
                        hideNote();
                } else {
                    clearMarks();
                }
                keep();
            });
            connect(place.box, &QLineEdit::editingFinished, this, [this, id = id] { boxLeft(id); });
            outlined.push_back(place.box);
        } else {
            // Shown again where the form shows it again, never typed twice.
            place.copy = new QLabel(formArea_);
            place.copy->setObjectName(name + suffix);
            place.copy->setAccessibleName(label + QStringLiteral(" (again)"));
            place.copy->setToolTip(label);
            place.copy->setTextFormat(Qt::PlainText);
            place.copy->setFont(formArea_->printFont());
            place.copy->setAutoFillBackground(true);
            place.copy->setContentsMargins(2, 0, 0, 0);
            place.copy->setGeometry(formArea_->boxRect(place.where));
            outlined.push_back(place.copy);
        }
        place.mark = new QLabel(formArea_);
        place.mark->setObjectName(QStringLiteral("mark_") + name + suffix);
        place.mark->setAccessibleName(label + QStringLiteral(" mark"));
        place.mark->setTextFormat(Qt::PlainText);
        place.mark->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont markFont = font();
        markFont.setBold(true);
        place.mark->setFont(markFont);
        place.mark->setGeometry(formArea_->markRect(place.where));
        places_.push_back(place);
    }
    // Each copy follows its box.
    for (const Place& place : places_) {
        if (place.copy == nullptr)
            continue;
        QLabel* copy = place.copy;
        connect(boxOf(place.id), &QLineEdit::textChanged, copy, &QLabel::setText);
    }
    formArea_->outline(std::move(outlined));

    // The right form, for a student who wants to see it.
    txtRightForm_ = new QPlainTextEdit(this);
    txtRightForm_->setObjectName(QStringLiteral("txtRightForm"));
    txtRightForm_->setAccessibleName(QStringLiteral("The right form"));
    txtRightForm_->setReadOnly(true);
    txtRightForm_->setTabChangesFocus(true);
    txtRightForm_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtRightForm_->setFont(formArea_->printFont());
    for (const std::string& line :
         printout::renderLines(printout::buildWorkedForm(record, method_)))
        rightForm_.append(fromUtf8(line));
}

void CheckDialog::createControls(bool reduced, const QString& message) {
    auto* column = new QVBoxLayout(this);
    auto* lblEntries = new QLabel(fromUtf8(printout::entriesText(entries_)), this);
    lblEntries->setObjectName(QStringLiteral("lblEntries"));
    lblEntries->setAccessibleName(QStringLiteral("Entries"));
    lblEntries->setTextFormat(Qt::PlainText);
    column->addWidget(lblEntries);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    QPushButton* cmdClose = buttons->addButton(QDialogButtonBox::Close);
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

    // Said when the window kept a sheet typed for other entries.
    lblChanged_ = new QLabel(this);
    lblChanged_->setObjectName(QStringLiteral("lblChanged"));
    lblChanged_->setAccessibleName(QStringLiteral("Entries changed"));
    lblChanged_->setTextFormat(Qt::PlainText);
    lblChanged_->setWordWrap(true);
    lblChanged_->hide();
    column->addWidget(lblChanged_);

    // The learner's sheet with its margin, or the right form in its place.
    auto* sheet = new QWidget(this);
    auto* sheetRow = new QHBoxLayout(sheet);
    sheetRow->setContentsMargins(0, 0, 0, 0);
    sheetRow->addWidget(formArea_, 0, Qt::AlignTop);
    margin_ = new QWidget(sheet);
    margin_->setObjectName(QStringLiteral("margin"));
    margin_->setFixedSize(int(marginColumns * QFontMetrics(font()).averageCharWidth()),
                          formArea_->height());
    margin_->hide();
    sheetRow->addWidget(margin_, 0, Qt::AlignTop);
    QAccessible::installFactory(noteAccessible);
    lblNote_ = new QLabel(margin_);
    lblNote_->setObjectName(noteName);
    lblNote_->setTextFormat(Qt::PlainText);
    lblNote_->setWordWrap(true);
    lblNote_->setAutoFillBackground(true);
    lblNote_->setMargin(3);
    lblNote_->setPalette(markedPalette(lblNote_->palette(), QPalette::Window, QPalette::WindowText,
                                       markColour(Mark::Differs)));
    lblNote_->hide();
    sheetOrForm_ = new QStackedWidget(this);
    sheetOrForm_->addWidget(sheet);
    sheetOrForm_->addWidget(txtRightForm_);
    column->addWidget(sheetOrForm_);

    auto* lblLegend = new QLabel(fromUtf8(check::markLegendText()), this);
    lblLegend->setObjectName(QStringLiteral("lblLegend"));
    lblLegend->setAccessibleName(QStringLiteral("Marks"));
    lblLegend->setTextFormat(Qt::PlainText);
    column->addWidget(lblLegend);

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
        keep();
    });
    chkMarkAsIGo_ = new QCheckBox(QStringLiteral("&Mark as I go"), this);
    chkMarkAsIGo_->setObjectName(QStringLiteral("chkMarkAsIGo"));
    chkMarkAsIGo_->setAccessibleName(QStringLiteral("Mark as I go"));
    chkMarkAsIGo_->setToolTip(QStringLiteral(
        "Mark each box as you leave it, with the slip's words beside a box that differs"));
    connect(chkMarkAsIGo_, &QCheckBox::toggled, this, [this](bool on) {
        margin_->setVisible(on);
        adjustSize();
        if (!on) {
            hideNote();
            return keep();
        }
        // The boxes typed so far have been left already: they are marked
        // now, and the student goes on at the first box still empty.
        const auto next = std::find_if(places_.begin(), places_.end(), [](const Place& place) {
            return place.box != nullptr && place.box->text().trimmed().isEmpty();
        });
        if (std::any_of(places_.begin(), places_.end(), [](const Place& place) {
                return place.box != nullptr && !place.box->text().trimmed().isEmpty();
            }))
            check();
        keep();
        (next != places_.end() ? next->box : places_.front().box)->setFocus();
    });
    cmdCheck_ = new QPushButton(QStringLiteral("&Check"), this);
    cmdCheck_->setObjectName(QStringLiteral("cmdCheck"));
    cmdCheck_->setAccessibleName(QStringLiteral("Check"));
    // Enter in a box checks (with "Mark as I go" it moves on instead).
    cmdCheck_->setDefault(true);
    cmdClose->setAutoDefault(false);
    connect(cmdCheck_, &QPushButton::clicked, this, &CheckDialog::check);
    cmdAfresh_ = new QPushButton(QStringLiteral("Start &Afresh"), this);
    cmdAfresh_->setObjectName(QStringLiteral("cmdAfresh"));
    cmdAfresh_->setAccessibleName(QStringLiteral("Start Afresh"));
    cmdAfresh_->setToolTip(QStringLiteral("Empty every box"));
    cmdAfresh_->setAutoDefault(false);
    connect(cmdAfresh_, &QPushButton::clicked, this, &CheckDialog::startAfresh);
    cmdRightForm_ = new QPushButton(QStringLiteral("Show the Right &Form"), this);
    cmdRightForm_->setObjectName(QStringLiteral("cmdRightForm"));
    cmdRightForm_->setAccessibleName(QStringLiteral("Show the Right Form"));
    cmdRightForm_->setAutoDefault(false);
    connect(cmdRightForm_, &QPushButton::clicked, this, &CheckDialog::toggleRightForm);
    row->addWidget(lblTolerance);
    row->addWidget(cboTolerance_);
    row->addSpacing(12);
    row->addWidget(chkMarkAsIGo_);
    row->addStretch();
    row->addWidget(cmdAfresh_);
    row->addWidget(cmdRightForm_);
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
    // The boxes in the order of working, then the controls below the form.
    std::vector<QWidget*> order;
    for (const Place& place : places_)
        if (place.box != nullptr)
            order.push_back(place.box);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             txtRightForm_, cboTolerance_, chkMarkAsIGo_, cmdAfresh_, cmdRightForm_, cmdCheck_,
             txtSlips_, findChild<QPushButton*>("cmdClose")})
        if (widget != nullptr)
            order.push_back(widget);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    if (!order.empty())
        order.front()->setFocus();
}

} // namespace app
