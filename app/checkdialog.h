#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <vector>

#include "check/check.h"
#include "check/values.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace app {

class CheckFormArea;

// "Check My Work…": the worked form of one sight with a box at every value
// the navigator works out, so that a sheet worked by hand is copied in line
// for line; Check marks each box and lists the slips below the form. It
// holds a reduction of its own and never touches the window that opened it.
//
// Every value has one box to type in, at its first place on the form;
// where the form shows a value again (tUsed in Q(t), v in Q(v) ...), a copy
// of the box stands there and follows it. Object names: a box is named by
// its value ("tUsed"), a copy by the value and "_again", the mark below
// each by "mark_" and the name of its box or copy.
class CheckDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(CheckDialog)

  public:
    // The dialog's window title.
    static const QString title;

    explicit CheckDialog(const reduction::ReductionInput& entries, QWidget* parent = nullptr);
    ~CheckDialog() override;

    // Reads the boxes, checks them against the entries and shows the marks,
    // the summary and the slips.
    void check();

  private:
    // One place of one value on the form: the box typed in, or a copy.
    struct Place {
        check::ValueId id;
        check::FormPlace where;
        QLineEdit* box = nullptr; // the box to type in, or nullptr for a copy
        QLabel* copy = nullptr;
        QLabel* mark = nullptr;
    };

    void createForm(const reduction::ReductionRecord& record);
    void createControls(bool reduced, const QString& message);
    void setFocusOrder();
    // Forgets the marks: what is shown no longer belongs to the boxes.
    void clearMarks();
    void showMark(Place& place, const check::ValueCheck& value);
    void showProblem(Place& place, const QString& problem);
    QLineEdit* boxOf(check::ValueId id) const;

    reduction::ReductionInput entries_;
    std::vector<Place> places_;
    CheckFormArea* formArea_ = nullptr;
    QComboBox* cboTolerance_ = nullptr;
    QPushButton* cmdCheck_ = nullptr;
    QLabel* lblSummary_ = nullptr;
    QPlainTextEdit* txtSlips_ = nullptr;
    bool showingMarks_ = false;
};

} // namespace app
