#include "app/form8.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <iterator>

#include "app/fonts.h"
#include "app/toolkit.h"
#include "app/twips.h"
#include "printout/surface.h"
#include "printout/workedform.h"

namespace app {
namespace {

constexpr int clientWidthTwips = 10080;
constexpr int clientHeightTwips = 5445;
constexpr int separatorTwips = 2160;
// The printout starts a little below the separator so its first line does
// not touch the rule.
constexpr int printoutTopTwips = 2260;
constexpr int linePixels = 2;

const QString degreeSign = QStringLiteral("\u00B0");
const QString minuteMark = QStringLiteral("'");

// The option buttons were designed around the classic desktop's gap of
// 4 pixels between the round mark and the caption; the wider gap of Qt's own
// styles would push "Q(x)" past its box.
class OptionButtonStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_RadioButtonLabelSpacing)
            return optionLabelSpacing;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

  private:
    static constexpr int optionLabelSpacing = 4;
};

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twips::toPixels(QRect(left, top, width, height)));
}

} // namespace

Form8::Form8(Toolkit& toolkit, QWidget* parent) : QWidget(parent), toolkit_(toolkit) {
    setWindowTitle(applicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/sightcheck/sightcheck.xpm")));
    setFont(windowFont());
    setFixedSize(twips::toPixels(clientWidthTwips), twips::toPixels(clientHeightTwips));

    // The window, its labels and its frame wear the colour of an empty text
    // field.
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Base));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    createControls();
    setFocusOrder();
    connectCommands();
    Form_Load();
}

Form8::~Form8() = default;

void Form8::createControls() {
    // First, so that it lies beneath every control: "Clear All" sits on the
    // printout and must stay visible and clickable.
    surface_ = new printout::Surface(this);
    surface_->setObjectName(QStringLiteral("surface"));
    place(surface_, 0, printoutTopTwips, clientWidthTwips, clientHeightTwips - printoutTopTwips);

    line("Line1", 0);
    line("Line3", 0);
    line("Line2", separatorTwips);

    label("Label1", QStringLiteral("GHA"), 100, 120, 495, 255);
    txtGHADeg = field("txtGHADeg", 600, 120, 495, 285, 3, QStringLiteral("Range 0 to 719"));
    label("lblGHADeg", degreeSign, 1090, 120, 135, 255);
    txtGHAMin = field("txtGHAMin", 1200, 120, 495, 285, 4, QStringLiteral("Range 0 to 59.9"));
    label("lblGHAMin", minuteMark, 1690, 120, 135, 255);
    label("lblDRL", QStringLiteral("DR L"), 3240, 120, 375, 255);
    txtLDeg = field("txtLDeg", 3960, 120, 375, 285, 2, QStringLiteral("Range 0 to 90"));
    label("lblLDeg", degreeSign, 4335, 120, 135, 255);
    txtLMin = field("txtLMin", 4440, 120, 495, 285, 4, QStringLiteral("Range 0 to 59.9"));
    label("lblLMin", minuteMark, 4935, 120, 135, 255);
    cboL = nameList("cboL", {QStringLiteral("N"), QStringLiteral("S")}, 5040, 120, 615, 315);

    label("Label2", QStringLiteral("Dec"), 100, 480, 495, 255);
    txtDecDeg = field("txtDecDeg", 720, 480, 375, 285, 2, QStringLiteral("Range 0 to 90"));
    label("lblDecDeg", degreeSign, 1090, 480, 135, 255);
    txtDecMin = field("txtDecMin", 1200, 480, 495, 285, 4, QStringLiteral("Range 0 to 59.9"));
    label("lblDecMin", minuteMark, 1690, 480, 135, 255);
    cboDec = nameList("cboDec", {QStringLiteral("N"), QStringLiteral("S")}, 1800, 480, 615, 315);
    label("lblDRLo", QStringLiteral("DR Lo"), 3240, 480, 495, 255);
    txtLoDeg = field("txtLoDeg", 3840, 480, 495, 285, 3, QStringLiteral("Range 0 to 180"));
    label("lblLoDeg", degreeSign, 4335, 480, 135, 255);
    txtLoMin = field("txtLoMin", 4440, 480, 495, 285, 4, QStringLiteral("Range 0 to 59.9"));
    label("lblLoMin", minuteMark, 4935, 480, 135, 255);
    cboLo = nameList("cboLo", {QStringLiteral("W"), QStringLiteral("E")}, 5040, 480, 615, 315);

    cmdHelp = button("cmdHelp", QStringLiteral("?"), 9720, 0, 375, 375);

    Frame1 = new QGroupBox(QStringLiteral("Method"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 7080, 600, 1935, 615);
    optQ = new QRadioButton(QStringLiteral("Q(x)"), Frame1);
    optQ->setObjectName(QStringLiteral("optQ"));
    place(optQ, 120, 240, 615, 255);
    optQQ = new QRadioButton(QStringLiteral("QQ(x)"), Frame1);
    optQQ->setObjectName(QStringLiteral("optQQ"));
    place(optQQ, 1080, 240, 735, 255);
    optQ->setChecked(true);
    auto* optionStyle = new OptionButtonStyle;
    optionStyle->setParent(Frame1);
    optQ->setStyle(optionStyle);
    optQQ->setStyle(optionStyle);

    cmdQ = button("cmdQ", QStringLiteral("&Calculate"), 7080, 1440, 1935, 375);

    QLabel* note = label("Label5",
                         QStringLiteral("To use LHA instead of GHA, enter LHA  in place of GHA and "
                                        "set DR Lo to zero or leave blank."),
                         120, 1155, 2775, 615);
    note->setWordWrap(true);

    cmdClearSome =
        button("cmdClearSome", QStringLiteral("&Clear except DR"), 1320, 1680, 1335, 375);
    cmdClear = button("cmdClear", QStringLiteral("Clear &All"), 120, 4560, 1215, 375);

    surface_->lower();
}

QLabel* Form8::label(const char* name, const QString& caption, int left, int top, int width,
                     int height) {
    auto* widget = new QLabel(caption, this);
    widget->setObjectName(QLatin1String(name));
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(widget, left, top, width, height);
    return widget;
}

QLineEdit* Form8::field(const char* name, int left, int top, int width, int height, int maxLength,
                        const QString& toolTip) {
    auto* widget = new QLineEdit(this);
    widget->setObjectName(QLatin1String(name));
    widget->setMaxLength(maxLength);
    widget->setToolTip(toolTip);
    place(widget, left, top, width, height);
    return widget;
}

QComboBox* Form8::nameList(const char* name, const QStringList& items, int left, int top, int width,
                           int height) {
    auto* widget = new QComboBox(this);
    widget->setObjectName(QLatin1String(name));
    widget->setEditable(false);
    widget->addItems(items);
    // Nothing is selected until the window is loaded.
    widget->setCurrentIndex(-1);
    // A drop-down list keeps the colour of an empty text field.
    QPalette listPalette = widget->palette();
    listPalette.setColor(QPalette::Button, listPalette.color(QPalette::Base));
    widget->setPalette(listPalette);
    place(widget, left, top, width, height);
    return widget;
}

QPushButton* Form8::button(const char* name, const QString& caption, int left, int top, int width,
                           int height) {
    auto* widget = new QPushButton(caption, this);
    widget->setObjectName(QLatin1String(name));
    widget->setAutoDefault(false);
    place(widget, left, top, width, height);
    return widget;
}

QFrame* Form8::line(const char* name, int y) {
    auto* widget = new QFrame(this);
    widget->setObjectName(QLatin1String(name));
    widget->setFrameShape(QFrame::HLine);
    widget->setFrameShadow(QFrame::Plain);
    widget->setLineWidth(linePixels);
    // The 2-pixel stroke is centred on its row, but cannot go above the
    // client area.
    const int row = twips::toPixels(y);
    widget->setGeometry(0, qMax(0, row - linePixels / 2), twips::toPixels(clientWidthTwips),
                        linePixels);
    return widget;
}

void Form8::setFocusOrder() {
    // Labels and the frame take no focus; the method group is reached through
    // its selected button, as Qt does for exclusive option buttons.
    QWidget* const order[] = {txtGHADeg,    txtGHAMin, txtDecDeg, txtDecMin, cboDec, txtLDeg,
                              txtLMin,      cboL,      txtLoDeg,  txtLoMin,  cboLo,  cmdClear,
                              cmdClearSome, cmdQ,      cmdHelp,   optQ,      optQQ};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form8::connectCommands() {
    connect(cmdQ, &QPushButton::clicked, this, &Form8::cmdQ_Click);
}

void Form8::Form_Load() {
    cboDec->setCurrentIndex(0);
    cboL->setCurrentIndex(0);
    cboLo->setCurrentIndex(0);
}

void Form8::centreOnScreen() {
    const QScreen* where = screen();
    if (where == nullptr)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
}

reduction::Method Form8::selectedMethod() const {
    return optQQ->isChecked() ? reduction::Method::QQ : reduction::Method::Q;
}

reduction::ReductionInput Form8::readInput() const {
    reduction::ReductionInput input;
    input.ghaDeg = txtGHADeg->text().toStdString();
    input.ghaMin = txtGHAMin->text().toStdString();
    input.decDeg = txtDecDeg->text().toStdString();
    input.decMin = txtDecMin->text().toStdString();
    input.latDeg = txtLDeg->text().toStdString();
    input.latMin = txtLMin->text().toStdString();
    input.loDeg = txtLoDeg->text().toStdString();
    input.loMin = txtLoMin->text().toStdString();
    input.decName = cboDec->currentText().toStdString();
    input.latName = cboL->currentText().toStdString();
    input.loName = cboLo->currentText().toStdString();
    input.method = selectedMethod();
    return input;
}

void Form8::cmdQ_Click() {
    const reduction::CalculationResult result = reduction::calculateReduction(readInput(), record_);
    switch (result.outcome) {
    case reduction::Outcome::Complete:
        DisplayQQ();
        break;
    case reduction::Outcome::CheckData:
        toolkit_.messageBox(QString::fromUtf8(reduction::checkDataMessage.data(),
                                              qsizetype(reduction::checkDataMessage.size())));
        break;
    case reduction::Outcome::ArithmeticFailure:
        toolkit_.messageBox(arithmeticFailureMessage);
        break;
    }
}

void Form8::DisplayQQ() {
    const bool sameNames = cboL->currentText() == cboDec->currentText();
    surface_->showForm(printout::buildWorkedForm(record_, selectedMethod(), sameNames));
}

} // namespace app
