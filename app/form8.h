#pragma once

#include <QString>
#include <QWidget>

#include "reduction/calculate.h"
#include "reduction/record.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace printout {
class Surface;
}

namespace app {

class Toolkit;

// The window's title, also the caption of its message boxes.
inline const QString applicationTitle = QStringLiteral("Q(x)/QQ(x) Sight Reduction Method Checker");

// Shown when the calculation hits an angle or table value it has no result
// for (a meridian angle near 90, a body near the zenith, GHA plus an east
// longitude past 720 degrees).
inline const QString arithmeticFailureMessage = QStringLiteral("These entries cannot be reduced.");

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

  private:
    void Form_Load();
    void createControls();
    void setFocusOrder();
    void connectCommands();

    reduction::ReductionInput readInput() const;
    reduction::Method selectedMethod() const;
    void DisplayQQ();

    QLabel* label(const char* name, const QString& caption, int left, int top, int width,
                  int height);
    QLineEdit* field(const char* name, int left, int top, int width, int height, int maxLength,
                     const QString& toolTip);
    QComboBox* nameList(const char* name, const QStringList& items, int left, int top, int width,
                        int height);
    QPushButton* button(const char* name, const QString& caption, int left, int top, int width,
                        int height);
    QFrame* line(const char* name, int y);

    Toolkit& toolkit_;
    reduction::ReductionRecord record_;

    printout::Surface* surface_ = nullptr;

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
};

} // namespace app
