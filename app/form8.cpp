#include "app/form8.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <string_view>
#include <utility>

#include "app/checkdialog.h"
#include "app/exercisedialog.h"
#include "app/focus/focushold.h"
#include "app/fonts.h"
#include "app/surface.h"
#include "app/toolkit.h"
#include "app/utf8.h"
#include "exercises/exercises.h"
#include "help/form1.h"
#include "layout/form8layout.h"
#include "printout/pdfsheet.h"
#include "printout/workedform.h"
#include "tables/tablebook.h"
#include "tables/tablepdf.h"

namespace app {
namespace {

constexpr int linePixels = 2;

// Check My Work with every entry field empty would check against a sight of
// all zeros.
const QString noSightMessage =
    QStringLiteral("Type the sight's entries first (GHA, Dec, DR L and DR Lo): your worked form "
                   "is checked against them.");

#ifdef Q_OS_WIN
constexpr QStringView platformLineEnd = u"\r\n";
#else
constexpr QStringView platformLineEnd = u"\n";
#endif

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

void place(QWidget* widget, const layout::Rect& twips) {
    const layout::Rect pixels = layout::toPixels(twips);
    widget->setGeometry(pixels.left, pixels.top, pixels.width, pixels.height);
}

using entry::FieldId;
using entry::KeyAscii;

constexpr FieldId clearAllOrder[] = {FieldId::GHADeg, FieldId::GHAMin, FieldId::DecDeg,
                                     FieldId::DecMin, FieldId::LDeg,   FieldId::LMin,
                                     FieldId::LoDeg,  FieldId::LoMin};
constexpr FieldId clearSomeOrder[] = {FieldId::GHADeg, FieldId::GHAMin, FieldId::DecDeg,
                                      FieldId::DecMin};

constexpr KeyAscii keyReturn = 13;
constexpr KeyAscii keyEscape = 27;
// What Ctrl+Backspace types on the classic desktop.
constexpr KeyAscii keyRubout = 127;
// A character outside the Western character set arrives as "?".
constexpr KeyAscii keyUnmappable = '?';
constexpr char16_t lastWesternCharacter = 0xFF;

KeyAscii westernCode(char16_t character) {
    return character > lastWesternCharacter ? keyUnmappable : KeyAscii(character);
}

// The character a key press types, as a field's KeyPress sees it; nothing for
// a key that types none (arrows, Home, End, Delete, Tab and the access keys).
// Ctrl with a letter types the control character of that letter (Ctrl+C is
// 3, Ctrl+V is 22); it is worked out from the key because some platforms,
// the offscreen one among them, give such a press no text.
std::optional<KeyAscii> typedCharacter(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    if (!control && (modifiers & (Qt::AltModifier | Qt::MetaModifier)))
        return std::nullopt;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return std::nullopt;
    case Qt::Key_Backspace:
        return control ? keyRubout : entry::keyBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keyReturn;
    case Qt::Key_Escape:
        return keyEscape;
    default:
        break;
    }
    if (control) {
        if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
            return KeyAscii(key.key() - Qt::Key_A + 1);
        return std::nullopt;
    }
    const QString text = key.text();
    if (text.isEmpty())
        return std::nullopt;
    const char16_t character = text.front().unicode();
    // X11 gives Delete the text DEL; like the other editing keys it types
    // nothing.
    if (character < u' ' || character == keyRubout)
        return std::nullopt;
    return westernCode(character);
}

// The toolkit's palette colour for a colour value of the field model.
// System colour 11, the inactive border, is the grey of the classic desktop's
// 3-D faces, so it maps to the platform's button colour.
QColor shownColour(entry::ColorValue value, const QPalette& platform) {
    constexpr entry::ColorValue systemColour = 0x80000000;
    if (value == entry::inactiveBorder)
        return platform.color(QPalette::Button);
    if (value & systemColour) // the window background; the rules use no other
        return platform.color(QPalette::Base);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// The rules' message box and beep are the window's toolkit. Before the box
// opens the window shows what the rule has set so far, so the red field
// stands behind "Out of Range".
class ToolkitAlerts final : public entry::Alerts {
  public:
    ToolkitAlerts(Toolkit& toolkit, std::function<void()> beforeMessage)
        : toolkit_(toolkit), beforeMessage_(std::move(beforeMessage)) {}

    void message(std::string_view text) override {
        beforeMessage_();
        toolkit_.messageBox(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    void beep() override { toolkit_.beep(); }

  private:
    Toolkit& toolkit_;
    std::function<void()> beforeMessage_;
};

} // namespace

// Indexed by entry::FieldId.
const std::array<Form8::FieldHandlers, entry::fieldCount> Form8::fieldHandlers{{
    {&Form8::txtGHADeg_KeyPress, &Form8::txtGHADeg_Change, &Form8::txtGHADeg_Validate},
    {&Form8::txtGHAMin_KeyPress, &Form8::txtGHAMin_Change, &Form8::txtGHAMin_Validate},
    {&Form8::txtDecDeg_KeyPress, &Form8::txtDecDeg_Change, &Form8::txtDecDeg_Validate},
    {&Form8::txtDecMin_KeyPress, &Form8::txtDecMin_Change, &Form8::txtDecMin_Validate},
    {&Form8::txtLDeg_KeyPress, &Form8::txtLDeg_Change, &Form8::txtLDeg_Validate},
    {&Form8::txtLMin_KeyPress, &Form8::txtLMin_Change, &Form8::txtLMin_Validate},
    {&Form8::txtLoDeg_KeyPress, &Form8::txtLoDeg_Change, &Form8::txtLoDeg_Validate},
    {&Form8::txtLoMin_KeyPress, &Form8::txtLoMin_Change, &Form8::txtLoMin_Validate},
}};

Form8::Form8(Toolkit& toolkit, QWidget* parent)
    : QWidget(parent), toolkit_(toolkit),
      fieldAlerts_(std::make_unique<ToolkitAlerts>(toolkit, [this] { showFieldStates(); })),
      fields_(*fieldAlerts_) {
    setWindowTitle(applicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/sightcheck/sightcheck.xpm")));
    setFont(windowFont());
    setFixedSize(layout::toPixels(layout::form8Client.width),
                 layout::toPixels(layout::form8Client.height));

    // The window, its labels and its frame wear the colour of an empty text
    // field.
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Base));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    createControls();
    fitCaptions(*this);
    setFocusOrder();
    connectFields();
    connectCommands();
    // Every control of the window asks the focused entry field before it
    // takes the focus or acts, so one hold for the whole window does it.
    new FocusHold(this,
                  [this](QWidget* focused, QWidget* /*target*/) { return mayLeave(focused); });
    Form_Load();
}

Form8::~Form8() = default;

void Form8::createControls() {
    // First, so that it lies beneath every control: "Clear All" sits on the
    // printout and must stay visible and clickable.
    surface_ = new Surface(this);
    surface_->setObjectName(QStringLiteral("surface"));
    place(surface_, layout::printoutArea);

    // The frame comes before the option buttons in the table, so a button's
    // container always exists when the button is made.
    for (const layout::Control& control : layout::form8Controls()) {
        QWidget* parent =
            control.container.empty() ? this : findChild<QWidget*>(fromUtf8(control.container));
        switch (control.kind) {
        case layout::ControlKind::Label:
            label(control);
            break;
        case layout::ControlKind::TextField:
            field(control);
            break;
        case layout::ControlKind::NameList:
            nameList(control);
            break;
        case layout::ControlKind::CommandButton:
            button(control);
            break;
        case layout::ControlKind::Frame:
            frame(control);
            break;
        case layout::ControlKind::OptionButton:
            optionButton(control, parent);
            break;
        case layout::ControlKind::Line:
            line(control);
            break;
        }
    }

    txtGHADeg = child<QLineEdit>("txtGHADeg");
    txtGHAMin = child<QLineEdit>("txtGHAMin");
    txtDecDeg = child<QLineEdit>("txtDecDeg");
    txtDecMin = child<QLineEdit>("txtDecMin");
    txtLDeg = child<QLineEdit>("txtLDeg");
    txtLMin = child<QLineEdit>("txtLMin");
    txtLoDeg = child<QLineEdit>("txtLoDeg");
    txtLoMin = child<QLineEdit>("txtLoMin");
    cboDec = child<QComboBox>("cboDec");
    cboL = child<QComboBox>("cboL");
    cboLo = child<QComboBox>("cboLo");
    cmdQ = child<QPushButton>("cmdQ");
    cmdClear = child<QPushButton>("cmdClear");
    cmdClearSome = child<QPushButton>("cmdClearSome");
    cmdHelp = child<QPushButton>("cmdHelp");
    Frame1 = child<QGroupBox>("Frame1");
    optQ = child<QRadioButton>("optQ");
    optQQ = child<QRadioButton>("optQQ");

    optQ->setChecked(true);
    auto* optionStyle = new OptionButtonStyle;
    optionStyle->setParent(Frame1);
    optQ->setStyle(optionStyle);
    optQQ->setStyle(optionStyle);

    surface_->lower();
    createPrintoutMenu();
}

template <typename Widget> Widget* Form8::child(const char* name) const {
    auto* widget = findChild<Widget*>(QLatin1String(name), Qt::FindChildrenRecursively);
    Q_ASSERT(widget != nullptr);
    return widget;
}

void Form8::createPrintoutMenu() {
    // Shown by the toolkit on a right click on the printout area; the controls
    // that lie on the area keep their own menus. The surface takes no focus,
    // so the commands are also its accessible actions (app/surface.cpp).
    surface_->setContextMenuPolicy(Qt::ActionsContextMenu);
    mnuCopy = new QAction(QStringLiteral("Copy Worked Form"), surface_);
    mnuCopy->setObjectName(QStringLiteral("mnuCopy"));
    mnuSavePdf = new QAction(QStringLiteral("Save Worked Form as PDF\u2026"), surface_);
    mnuSavePdf->setObjectName(QStringLiteral("mnuSavePdf"));
    // Checking needs no printed form, only entries that can be reduced, so
    // a student can check a sheet without seeing the right one first; the
    // dialog says why when they cannot. F7, as for a spelling check: the
    // fields drop Ctrl with a letter. Alt+K, which no caption of the window
    // uses, is the web page's key for it (browsers keep F7 for themselves).
    mnuCheck = new QAction(QStringLiteral("Check My Work\u2026"), surface_);
    mnuCheck->setObjectName(QStringLiteral("mnuCheck"));
    mnuCheck->setShortcuts({QKeySequence(Qt::Key_F7), QKeySequence(Qt::ALT | Qt::Key_K)});
    surface_->addAction(mnuCopy);
    surface_->addAction(mnuSavePdf);
    surface_->addAction(mnuCheck);
    mnuNewExercise = new QAction(QStringLiteral("New Exercise\u2026"), surface_);
    mnuNewExercise->setObjectName(QStringLiteral("mnuNewExercise"));
    surface_->addAction(mnuNewExercise);
    mnuSaveTables = new QAction(QStringLiteral("Save Tables as PDF\u2026"), surface_);
    mnuSaveTables->setObjectName(QStringLiteral("mnuSaveTables"));
    surface_->addAction(mnuSaveTables);
    connect(mnuSaveTables, &QAction::triggered, this, &Form8::mnuSaveTables_Click);
    // From the keyboard as desktop programs open a context menu, from
    // anywhere in the window, since the area itself takes no focus.
    auto* menuKeys = new QAction(this);
    menuKeys->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    addAction(menuKeys);
    connect(menuKeys, &QAction::triggered, this, &Form8::showPrintoutMenu);
    connect(mnuCopy, &QAction::triggered, this, &Form8::mnuCopy_Click);
    connect(mnuSavePdf, &QAction::triggered, this, &Form8::mnuSavePdf_Click);
    connect(mnuCheck, &QAction::triggered, this, &Form8::mnuCheck_Click);
    connect(mnuNewExercise, &QAction::triggered, this, &Form8::mnuNewExercise_Click);
    showPrintoutCommands();
}

void Form8::showPrintoutCommands() {
    const bool printed = !surface_->isEmpty();
    mnuCopy->setEnabled(printed);
    mnuSavePdf->setEnabled(printed);
}

void Form8::showPrintoutMenu() {
    if (QApplication::activePopupWidget() != nullptr)
        return;
    QMenu menu(this);
    menu.addActions(surface_->actions());
    menu.exec(surface_->mapToGlobal(QPoint(0, 0)));
}

QLabel* Form8::label(const layout::Control& control) {
    auto* widget = new QLabel(fromUtf8(control.caption), this);
    widget->setObjectName(fromUtf8(control.name));
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setWordWrap(control.wraps);
    place(widget, control.rect);
    return widget;
}

QLineEdit* Form8::field(const layout::Control& control) {
    const auto spec =
        std::find_if(entry::fieldSpecs.begin(), entry::fieldSpecs.end(),
                     [&](const entry::FieldSpec& s) { return s.name == control.name; });
    Q_ASSERT(spec != entry::fieldSpecs.end());
    auto* widget = new QLineEdit(this);
    widget->setObjectName(fromUtf8(control.name));
    widget->setMaxLength(spec->maxLength);
    widget->setToolTip(fromUtf8(spec->toolTip));
    widget->setAccessibleName(fromUtf8(spec->accessibleName));
    place(widget, control.rect);
    return widget;
}

QComboBox* Form8::nameList(const layout::Control& control) {
    auto* widget = new QComboBox(this);
    widget->setObjectName(fromUtf8(control.name));
    widget->setAccessibleName(fromUtf8(control.accessibleName));
    widget->setEditable(false);
    for (std::string_view item : control.items)
        widget->addItem(fromUtf8(item));
    // Nothing is selected until the window is loaded.
    widget->setCurrentIndex(-1);
    // A drop-down list keeps the colour of an empty text field.
    QPalette listPalette = widget->palette();
    listPalette.setColor(QPalette::Button, listPalette.color(QPalette::Base));
    widget->setPalette(listPalette);
    place(widget, control.rect);
    return widget;
}

QPushButton* Form8::button(const layout::Control& control) {
    auto* widget = new QPushButton(fromUtf8(control.caption), this);
    widget->setObjectName(fromUtf8(control.name));
    // The caption as it is shown, without the access key's mark.
    widget->setAccessibleName(fromUtf8(layout::captionText(control.caption)));
    // Not autoDefault, which would change how the style frames the button;
    // Enter and Return are handled in eventFilter instead.
    widget->setAutoDefault(false);
    widget->installEventFilter(this);
    place(widget, control.rect);
    return widget;
}

QGroupBox* Form8::frame(const layout::Control& control) {
    auto* widget = new QGroupBox(fromUtf8(control.caption), this);
    widget->setObjectName(fromUtf8(control.name));
    widget->setAccessibleName(fromUtf8(control.caption));
    place(widget, control.rect);
    return widget;
}

QRadioButton* Form8::optionButton(const layout::Control& control, QWidget* frame) {
    auto* widget = new QRadioButton(fromUtf8(control.caption), frame);
    widget->setObjectName(fromUtf8(control.name));
    widget->setAccessibleName(fromUtf8(control.caption));
    place(widget, control.rect);
    return widget;
}

QFrame* Form8::line(const layout::Control& control) {
    auto* widget = new QFrame(this);
    widget->setObjectName(fromUtf8(control.name));
    widget->setFrameShape(QFrame::HLine);
    widget->setFrameShadow(QFrame::Plain);
    widget->setLineWidth(linePixels);
    // The 2-pixel stroke is centred on its row, but cannot go above the
    // client area.
    const int row = layout::toPixels(control.rect.top);
    widget->setGeometry(layout::toPixels(control.rect.left), qMax(0, row - linePixels / 2),
                        layout::toPixels(control.rect.width), linePixels);
    return widget;
}

void Form8::setFocusOrder() {
    // Labels and the frame take no focus; the method group is reached through
    // its selected button, as Qt does for exclusive option buttons.
    QWidget* previous = nullptr;
    for (const layout::Control* control : layout::focusOrder()) {
        auto* widget = findChild<QWidget*>(fromUtf8(control->name));
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void Form8::connectFields() {
    fieldWidgets_ = {txtGHADeg, txtGHAMin, txtDecDeg, txtDecMin,
                     txtLDeg,   txtLMin,   txtLoDeg,  txtLoMin};
    for (std::size_t i = 0; i < entry::fieldCount; ++i) {
        QLineEdit* widget = fieldWidgets_[i];
        Q_ASSERT(widget->objectName() ==
                 QLatin1String(entry::fieldSpecs[i].name.data(),
                               qsizetype(entry::fieldSpecs[i].name.size())));
        widget->installEventFilter(this);
        // textChanged, unlike textEdited, also follows pastes, drops and the
        // program's own setText, which all run the Change rule as typing does.
        connect(widget, &QLineEdit::textChanged, this, fieldHandlers[i].change);
    }
    showFieldStates();
}

void Form8::connectCommands() {
    connect(cmdQ, &QPushButton::clicked, this, &Form8::cmdQ_Click);
    connect(cmdClear, &QPushButton::clicked, this, &Form8::cmdClear_Click);
    connect(cmdClearSome, &QPushButton::clicked, this, &Form8::cmdClearSome_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &Form8::cmdHelp_Click);
    // Only a change of method is the user selecting it: a click on the option
    // that is already selected changes nothing, so it calculates nothing
    // either, and the printed form stays as it is.
    connect(optQ, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            optQ_Click();
    });
    connect(optQQ, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            optQQ_Click();
    });
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
    // The lists hold only their two items, so a name always reads.
    input.decName = reduction::northSouthFromText(cboDec->currentText().toStdString()).value();
    input.latName = reduction::northSouthFromText(cboL->currentText().toStdString()).value();
    input.loName = reduction::westEastFromText(cboLo->currentText().toStdString()).value();
    input.method = selectedMethod();
    return input;
}

void Form8::cmdQ_Click() {
    reduction::ReductionInput input = readInput();
    const reduction::CalculationResult result = reduction::calculateReduction(input, record_);
    switch (result.outcome) {
    case reduction::Outcome::Complete:
        printedInput_ = std::move(input);
        DisplayQQ();
        break;
    case reduction::Outcome::CheckData:
        toolkit_.messageBox(QString::fromUtf8(reduction::checkDataMessage.data(),
                                              qsizetype(reduction::checkDataMessage.size())));
        break;
    case reduction::Outcome::ArithmeticFailure:
        toolkit_.messageBox(
            QString::fromStdString(reduction::arithmeticFailureText(result.reason)));
        break;
    }
}

void Form8::cmdClear_Click() {
    clearFields(clearAllOrder);
}

void Form8::cmdClearSome_Click() {
    clearFields(clearSomeOrder);
}

void Form8::clearFields(std::span<const FieldId> order) {
    // Each emptied field runs its Change rule; an empty field reads 0, so no
    // box is shown and a degree field unlocks its minute field before that
    // is emptied in turn.
    for (const FieldId id : order)
        fieldWidgets_[entry::index(id)]->setText(QString());
    surface_->clear();
    printedInput_.reset();
    checkSheet_.reset();
    showPrintoutCommands();
    setWindowTitle(applicationTitle);
    txtGHADeg->setFocus();
}

void Form8::fillExercise(std::uint64_t seed) {
    const reduction::ReductionInput sight = exercises::exercise(seed);
    // Degrees before their minutes, so a locked minute field is unlocked
    // before it is filled; setText runs each Change rule as typing does.
    const auto texts = exercises::fieldTexts(sight);
    for (std::size_t i = 0; i < entry::fieldCount; ++i)
        fieldWidgets_[i]->setText(QString::fromStdString(texts[i]));
    cboDec->setCurrentText(fromUtf8(reduction::nameText(sight.decName)));
    cboL->setCurrentText(fromUtf8(reduction::nameText(sight.latName)));
    cboLo->setCurrentText(fromUtf8(reduction::nameText(sight.loName)));
    // Chosen without the calculation a user's choice of method runs: the
    // learner works the sight first.
    const QSignalBlocker blockQ(optQ);
    const QSignalBlocker blockQQ(optQQ);
    (sight.method == reduction::Method::QQ ? optQQ : optQ)->setChecked(true);
    surface_->clear();
    printedInput_.reset();
    // A new sight asked for: the sheet of the last one is done with.
    checkSheet_.reset();
    showPrintoutCommands();
    setWindowTitle(applicationTitle + QStringLiteral(" - Exercise ") + QString::number(seed));
    txtGHADeg->setFocus();
}

void Form8::optQ_Click() {
    cmdQ_Click();
}

void Form8::optQQ_Click() {
    cmdQ_Click();
}

void Form8::cmdHelp_Click() {
    // No parent: the help window has no owner, stays open when this window
    // closes and deletes itself when closed, which empties the pointer.
    if (helpWindow_ == nullptr)
        helpWindow_ = new help::Form1;
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

help::Form1* Form8::helpWindow() const {
    return helpWindow_;
}

void Form8::mnuCopy_Click() {
    if (surface_->isEmpty())
        return;
    QGuiApplication::clipboard()->setText(surface_->plainText(platformLineEnd));
}

void Form8::mnuSavePdf_Click() {
    if (surface_->isEmpty() || !printedInput_)
        return;
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("worked-form.pdf"));
    const QString path =
        toolkit_.savePdfFileName(QStringLiteral("Save Worked Form as PDF"), suggested);
    if (path.isEmpty())
        return;
    const std::optional<QString> error =
        printout::writeWorkedFormPdf(path, printout::entriesText(*printedInput_), surface_->form(),
                                     printout::localePageSize(QLocale::system()));
    if (error)
        toolkit_.messageBox(*error);
}

void Form8::mnuCheck_Click() {
    if (std::all_of(fieldWidgets_.begin(), fieldWidgets_.end(),
                    [](const QLineEdit* widget) { return widget->text().trimmed().isEmpty(); })) {
        toolkit_.messageBox(noSightMessage);
        return;
    }
    reduction::ReductionInput input = readInput();
    if (checkSheet_ == nullptr)
        checkSheet_ = std::make_unique<CheckSheet>(CheckSheet{input});
    auto* dialog = new CheckDialog(input, checkSheet_.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void Form8::mnuNewExercise_Click() {
    auto* dialog = new ExerciseDialog(exercises::freshSeed(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (const auto seed = dialog->seed())
            fillExercise(*seed);
    });
    dialog->open();
}

void Form8::mnuSaveTables_Click() {
    const reduction::Method method = selectedMethod();
    const QString name = fromUtf8(tables::methodName(method));
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(method == reduction::Method::Q ? QStringLiteral("q-table.pdf")
                                                     : QStringLiteral("qq-table.pdf"));
    const QString path =
        toolkit_.savePdfFileName(QStringLiteral("Save %1 Table as PDF").arg(name), suggested);
    if (path.isEmpty())
        return;
    if (const auto error =
            tables::writeTablePdf(path, method, printout::localePageSize(QLocale::system())))
        toolkit_.messageBox(*error);
}

void Form8::txtGHADeg_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::GHADeg, keyAscii);
}
void Form8::txtGHAMin_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::GHAMin, keyAscii);
}
void Form8::txtDecDeg_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::DecDeg, keyAscii);
}
void Form8::txtDecMin_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::DecMin, keyAscii);
}
void Form8::txtLDeg_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::LDeg, keyAscii);
}
void Form8::txtLMin_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::LMin, keyAscii);
}
void Form8::txtLoDeg_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::LoDeg, keyAscii);
}
void Form8::txtLoMin_KeyPress(KeyAscii& keyAscii) {
    fieldKeyPress(FieldId::LoMin, keyAscii);
}

void Form8::txtGHADeg_Change() {
    fieldChange(FieldId::GHADeg);
}
void Form8::txtGHAMin_Change() {
    fieldChange(FieldId::GHAMin);
}
void Form8::txtDecDeg_Change() {
    fieldChange(FieldId::DecDeg);
}
void Form8::txtDecMin_Change() {
    fieldChange(FieldId::DecMin);
}
void Form8::txtLDeg_Change() {
    fieldChange(FieldId::LDeg);
}
void Form8::txtLMin_Change() {
    fieldChange(FieldId::LMin);
}
void Form8::txtLoDeg_Change() {
    fieldChange(FieldId::LoDeg);
}
void Form8::txtLoMin_Change() {
    fieldChange(FieldId::LoMin);
}

void Form8::txtGHADeg_Validate(bool& cancel) {
    fieldValidate(FieldId::GHADeg, cancel);
}
void Form8::txtGHAMin_Validate(bool& cancel) {
    fieldValidate(FieldId::GHAMin, cancel);
}
void Form8::txtDecDeg_Validate(bool& cancel) {
    fieldValidate(FieldId::DecDeg, cancel);
}
void Form8::txtDecMin_Validate(bool& cancel) {
    fieldValidate(FieldId::DecMin, cancel);
}
void Form8::txtLDeg_Validate(bool& cancel) {
    fieldValidate(FieldId::LDeg, cancel);
}
void Form8::txtLMin_Validate(bool& cancel) {
    fieldValidate(FieldId::LMin, cancel);
}
void Form8::txtLoDeg_Validate(bool& cancel) {
    fieldValidate(FieldId::LoDeg, cancel);
}
void Form8::txtLoMin_Validate(bool& cancel) {
    fieldValidate(FieldId::LoMin, cancel);
}

void Form8::fieldKeyPress(FieldId id, KeyAscii& keyAscii) {
    takeText(id);
    keyAscii = fields_.keyPress(id, keyAscii);
}

void Form8::fieldChange(FieldId id) {
    // The degree rule reads the partner's text as well.
    for (const FieldId each : clearAllOrder)
        takeText(each);
    fields_.change(id);
    showFieldStates();
}

void Form8::fieldValidate(FieldId id, bool& cancel) {
    takeText(id);
    if (fields_.validate(id))
        cancel = true;
}

void Form8::takeText(FieldId id) {
    fields_[id].text = fieldWidgets_[entry::index(id)]->text().toStdString();
}

void Form8::showFieldStates() {
    for (std::size_t i = 0; i < entry::fieldCount; ++i) {
        QLineEdit* widget = fieldWidgets_[i];
        const entry::Field& field = fields_[FieldId(i)];
        widget->setEnabled(field.enabled);
        const QColor colour = shownColour(field.backColor, QApplication::palette(widget));
        QPalette shown = widget->palette();
        if (shown.color(QPalette::Base) != colour) {
            // All colour groups: a locked field is disabled and must still
            // show its colour.
            shown.setColor(QPalette::Base, colour);
            widget->setPalette(shown);
        }
    }
}

std::optional<FieldId> Form8::fieldOf(const QObject* object) const {
    for (std::size_t i = 0; i < entry::fieldCount; ++i)
        if (fieldWidgets_[i] == object)
            return FieldId(i);
    return std::nullopt;
}

bool Form8::filterKeyPress(FieldId id, QKeyEvent& key) {
    const std::optional<KeyAscii> typed = typedCharacter(key);
    if (!typed)
        return false;
    KeyAscii keyAscii = *typed;
    (this->*fieldHandlers[entry::index(id)].keyPress)(keyAscii);
    // The rules pass a key unchanged or drop it; they never turn it into
    // another character.
    return keyAscii == entry::keyDropped;
}

bool Form8::filterCommit(FieldId id, const QInputMethodEvent& input) {
    // Characters an input method commits are typed characters too. All of
    // them are checked against the text as it stands before the commit.
    for (const QChar character : input.commitString()) {
        KeyAscii keyAscii = westernCode(character.unicode());
        (this->*fieldHandlers[entry::index(id)].keyPress)(keyAscii);
        if (keyAscii == entry::keyDropped)
            return true;
    }
    return false;
}

bool Form8::mayLeave(QWidget* focused) {
    const std::optional<FieldId> id = fieldOf(focused);
    if (!id)
        return true;
    bool cancel = false;
    (this->*fieldHandlers[entry::index(*id)].validate)(cancel);
    return !cancel;
}

bool Form8::filterButtonKey(QObject* watched, const QKeyEvent& key) {
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier)
        return false;
    for (QPushButton* command : {cmdQ, cmdClear, cmdClearSome, cmdHelp}) {
        if (command == watched) {
            command->click();
            return true;
        }
    }
    return false;
}

bool Form8::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && filterButtonKey(watched, static_cast<QKeyEvent&>(*event)))
        return true;
    // Some platforms turn the Menu key into a context menu for the focused
    // field or button as well: the keys open the printout's menu alone.
    if (type == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent&>(*event).reason() == QContextMenuEvent::Keyboard) {
        showPrintoutMenu();
        return true;
    }
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::InputMethod)
        return QWidget::eventFilter(watched, event);
    const std::optional<FieldId> id = fieldOf(watched);
    if (!id)
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::InputMethod)
        return filterCommit(*id, static_cast<const QInputMethodEvent&>(*event));
    auto& key = static_cast<QKeyEvent&>(*event);
    if (type == QEvent::ShortcutOverride) {
        // Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z and the other Ctrl letters type a
        // control character: claimed here so they come as a key press to the
        // KeyPress rule, which drops them, instead of running the field's own
        // copy, paste and undo.
        if (key.modifiers().testFlag(Qt::ControlModifier) && typedCharacter(key)) {
            key.accept();
            return true;
        }
        return false;
    }
    return filterKeyPress(*id, key);
}

void Form8::DisplayQQ() {
    const reduction::Method method = selectedMethod();
    surface_->showForm(printout::buildWorkedForm(record_, method),
                       method == reduction::Method::Q
                           ? QStringLiteral("Printed by the Q(x) table method")
                           : QStringLiteral("Printed by the QQ(x) table method"));
    showPrintoutCommands();
}

} // namespace app
