#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "entry/fields.h"
#include "reduction/calculate.h"
#include "reduction/record.h"

class QAction;
class QComboBox;
class QFrame;
class QInputMethodEvent;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace help {
class Form1;
}

namespace layout {
struct Control;
}

namespace app {

class Surface;
class Toolkit;
struct CheckSheet;

// The window's title, also the caption of its message boxes.
inline const QString applicationTitle = QStringLiteral("Q(x)/QQ(x) Sight Reduction Method Checker");

// The first line of the message for a calculation that has no result.
inline const QString arithmeticFailureMessage =
    QString::fromUtf8(reduction::arithmeticFailureMessage.data(),
                      qsizetype(reduction::arithmeticFailureMessage.size()));

// The main window: the entry band above the separator line and the printed
// worked form below it. Every control carries its designed name as its Qt
// object name. The window holds the one reduction record of the session.
class Form8 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(Form8)

  public:
    // The toolkit shows the window's message boxes; it must outlive the window.
    explicit Form8(Toolkit& toolkit, QWidget* parent = nullptr);
    ~Form8() override;

    const reduction::ReductionRecord& record() const { return record_; }

    // Places the window in the middle of its screen's available area.
    void centreOnScreen();

    // "&Calculate": reduces what the controls hold and prints the worked
    // form, or tells the user why it cannot.
    void cmdQ_Click();

    // "Clear &All" and "&Clear except DR": empty the fields, erase the
    // printout and put the focus in the first field. The lists, the method
    // and the record stay as they are.
    void cmdClear_Click();
    void cmdClearSome_Click();

    // The user selected that method: calculate again at once.
    void optQ_Click();
    void optQQ_Click();

    // "?": the help window, one at most, modeless and without owner.
    void cmdHelp_Click();

    // The printout area's context menu. "Copy Worked Form" puts the printed
    // lines on the clipboard as plain text, each ended by the platform's line
    // end; "Save Worked Form as PDF…" asks for a file and writes one page.
    // Both do nothing while nothing is printed.
    void mnuCopy_Click();
    void mnuSavePdf_Click();
    // "Check My Work…" (also F7): a window-modal dialog to check the user's
    // own worked form for the entries the fields hold now. It works on a
    // reduction of its own; the window, its record and its printout stay as
    // they are. What is typed into it is kept until the entries are cleared.
    // With every entry field empty there is no sight to check: a message says
    // so and no dialog opens.
    void mnuCheck_Click();
    // "New Exercise…": asks for a seed (a fresh one offered) and fills the
    // fields, the names and the method with that seed's practice sight, as
    // typing and choosing would but without calculating, and leaves the
    // printout empty for the learner to work; the title shows the seed
    // until the fields are cleared.
    void mnuNewExercise_Click();
    // "Save Tables as PDF…": asks for a file and writes the booklet of the
    // selected method's table; it needs no printed form.
    void mnuSaveTables_Click();

    // The open help window, or nullptr.
    help::Form1* helpWindow() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The events of one entry field, as the field raises them.
    struct FieldHandlers {
        void (Form8::*keyPress)(entry::KeyAscii& keyAscii);
        void (Form8::*change)();
        void (Form8::*validate)(bool& cancel);
    };
    static const std::array<FieldHandlers, entry::fieldCount> fieldHandlers;

    void txtGHADeg_KeyPress(entry::KeyAscii& keyAscii);
    void txtGHAMin_KeyPress(entry::KeyAscii& keyAscii);
    void txtDecDeg_KeyPress(entry::KeyAscii& keyAscii);
    void txtDecMin_KeyPress(entry::KeyAscii& keyAscii);
    void txtLDeg_KeyPress(entry::KeyAscii& keyAscii);
    void txtLMin_KeyPress(entry::KeyAscii& keyAscii);
    void txtLoDeg_KeyPress(entry::KeyAscii& keyAscii);
    void txtLoMin_KeyPress(entry::KeyAscii& keyAscii);
    void txtGHADeg_Change();
    void txtGHAMin_Change();
    void txtDecDeg_Change();
    void txtDecMin_Change();
    void txtLDeg_Change();
    void txtLMin_Change();
    void txtLoDeg_Change();
    void txtLoMin_Change();
    void txtGHADeg_Validate(bool& cancel);
    void txtGHAMin_Validate(bool& cancel);
    void txtDecDeg_Validate(bool& cancel);
    void txtDecMin_Validate(bool& cancel);
    void txtLDeg_Validate(bool& cancel);
    void txtLMin_Validate(bool& cancel);
    void txtLoDeg_Validate(bool& cancel);
    void txtLoMin_Validate(bool& cancel);

    void fieldKeyPress(entry::FieldId id, entry::KeyAscii& keyAscii);
    void fieldChange(entry::FieldId id);
    void fieldValidate(entry::FieldId id, bool& cancel);

    // Copies a widget's text into the field model; the rules read only that.
    void takeText(entry::FieldId id);
    // Shows every field's enabled flag and colour as the model holds them.
    void showFieldStates();
    // The entry field a widget is, if it is one.
    std::optional<entry::FieldId> fieldOf(const QObject* object) const;
    bool filterKeyPress(entry::FieldId id, QKeyEvent& key);
    bool filterCommit(entry::FieldId id, const QInputMethodEvent& input);
    bool mayLeave(QWidget* focused);
    // Enter or Return on a focused command button presses it.
    bool filterButtonKey(QObject* watched, const QKeyEvent& key);

    void clearFields(std::span<const entry::FieldId> order);
    void fillExercise(std::uint64_t seed);

    void Form_Load();
    void createControls();
    void setFocusOrder();
    void connectCommands();
    void connectFields();
    void createPrintoutMenu();
    // The menu commands can be chosen only while a form is printed.
    void showPrintoutCommands();
    // The context menu opened from the keyboard, at the printout area.
    void showPrintoutMenu();

    reduction::ReductionInput readInput() const;
    reduction::Method selectedMethod() const;
    void DisplayQQ();

    // The control's widget, made from its row of the design table.
    QLabel* label(const layout::Control& control);
    QLineEdit* field(const layout::Control& control);
    QComboBox* nameList(const layout::Control& control);
    QPushButton* button(const layout::Control& control);
    QGroupBox* frame(const layout::Control& control);
    QRadioButton* optionButton(const layout::Control& control, QWidget* frame);
    QFrame* line(const layout::Control& control);
    // The child widget of that designed name.
    template <typename Widget> Widget* child(const char* name) const;

    Toolkit& toolkit_;
    reduction::ReductionRecord record_;

    // The entry fields' rules lend the toolkit's box and beep through this.
    std::unique_ptr<entry::Alerts> fieldAlerts_;
    entry::Fields fields_;
    // The eight entry fields in the model's order.
    std::array<QLineEdit*, entry::fieldCount> fieldWidgets_{};

    QPointer<help::Form1> helpWindow_;

    Surface* surface_ = nullptr;
    // The entries of the form on the surface, for the heading of its PDF.
    std::optional<reduction::ReductionInput> printedInput_;
    // The sheet typed into "Check My Work", kept between openings.
    std::unique_ptr<CheckSheet> checkSheet_;

    QLineEdit* txtGHADeg = nullptr;
    QLineEdit* txtGHAMin = nullptr;
    QLineEdit* txtDecDeg = nullptr;
    QLineEdit* txtDecMin = nullptr;
    QLineEdit* txtLDeg = nullptr;
    QLineEdit* txtLMin = nullptr;
    QLineEdit* txtLoDeg = nullptr;
    QLineEdit* txtLoMin = nullptr;
    QComboBox* cboDec = nullptr;
    QComboBox* cboL = nullptr;
    QComboBox* cboLo = nullptr;
    QPushButton* cmdQ = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdClearSome = nullptr;
    QPushButton* cmdHelp = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optQ = nullptr;
    QRadioButton* optQQ = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuSavePdf = nullptr;
    QAction* mnuCheck = nullptr;
    QAction* mnuNewExercise = nullptr;
    QAction* mnuSaveTables = nullptr;
};

} // namespace app
