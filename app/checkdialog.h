#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

#include "check/check.h"
#include "check/values.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace app {

class CheckFormArea;

// What a student has typed into the check, kept by the window that opens it
// so that closing the dialog loses nothing: the boxes' texts, the choices,
// and the entries the sheet was typed for.
struct CheckSheet {
    reduction::ReductionInput entries;
    std::array<QString, check::valueCount> texts{};
    check::Tolerance tolerance = check::Tolerance::Whole;
    bool markAsIGo = false;
    bool checked = false; // the marks were showing
};

// Two sets of entries are the same sight: every field reads the same value,
// and the names and the method are the same.
bool sameSight(const reduction::ReductionInput& a, const reduction::ReductionInput& b);

// "Check My Work…": the worked form of one sight with a box at every value
// the navigator works out, so that a sheet worked by hand is copied in value
// for value; Check marks each box and lists the slips below the form; with
// "Mark as I go" each box is marked as the student leaves it, the slip's
// words beside it. It holds a reduction of its own and never touches the
// window that opened it.
//
// Every value has one box to type in, at its first place in the order of
// working (down the form's left column, then down its right); where the form
// shows a value again (tUsed in Q(t), v in Q(v) ...), a copy of the box
// stands there and follows it. Object names: a box is named by its value
// ("tUsed"), a copy by the value and "_again", the mark below each by
// "mark_" and the name of its box or copy.
class CheckDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(CheckDialog)

  public:
    // The dialog's window title.
    static const QString title;

    // kept, when given, is read at the start and follows every change; a
    // sheet typed for other entries stays in the boxes with a note saying so.
    explicit CheckDialog(const reduction::ReductionInput& entries, CheckSheet* kept = nullptr,
                         QWidget* parent = nullptr);
    ~CheckDialog() override;

    // Reads the boxes, checks them against the entries and shows the marks,
    // the summary and the slips.
    void check();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One place of one value on the form: the box typed in, or a copy.
    struct Place {
        check::ValueId id;
        check::FormPlace where;
        QLineEdit* box = nullptr; // the box to type in, or nullptr for a copy
        QLabel* copy = nullptr;
        QLabel* mark = nullptr;
    };

    // What the summary says before a check and when marks are cleared.
    static const QString hint;

    void createForm(const reduction::ReductionRecord& record);
    void createControls(bool reduced, const QString& message);
    void setFocusOrder();
    void restore(const CheckSheet& sheet);
    // Keeps the boxes and the choices in the window's sheet, now typed for
    // these entries.
    void keep();
    // Forgets the marks: what is shown no longer belongs to the boxes.
    void clearMarks();
    void clearMarksOf(check::ValueId id);
    void showMark(Place& place, const check::ValueCheck& value);
    void showProblem(Place& place, const QString& problem);
    // Marks the sheet when the student leaves a box, with "Mark as I go",
    // and puts the box's slip beside it.
    void boxLeft(check::ValueId id);
    void showNote(check::ValueId left);
    void hideNote();
    void toggleRightForm();
    void startAfresh();
    QLineEdit* boxOf(check::ValueId id) const;
    bool markingAsIGo() const;

    reduction::ReductionInput entries_;
    CheckSheet* kept_ = nullptr;
    reduction::Method method_ = reduction::Method::Q;
    std::vector<Place> places_;
    // What the last check says at each value, for the note beside its box.
    std::array<QString, check::valueCount> notes_{};
    // The value whose note stands in the margin.
    std::optional<check::ValueId> noteFor_;
    CheckFormArea* formArea_ = nullptr;
    QWidget* margin_ = nullptr;
    QLabel* lblNote_ = nullptr;
    QLabel* lblChanged_ = nullptr;
    QPushButton* cmdAfresh_ = nullptr;
    QStackedWidget* sheetOrForm_ = nullptr;
    QPlainTextEdit* txtRightForm_ = nullptr;
    QStringList rightForm_; // its lines
    QComboBox* cboTolerance_ = nullptr;
    QCheckBox* chkMarkAsIGo_ = nullptr;
    QPushButton* cmdCheck_ = nullptr;
    QPushButton* cmdRightForm_ = nullptr;
    QLabel* lblSummary_ = nullptr;
    QPlainTextEdit* txtSlips_ = nullptr;
    bool showingMarks_ = false;
};

} // namespace app
