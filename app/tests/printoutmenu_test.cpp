#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/exercisedialog.h"
#include "app/surface.h"
#include "app/tests/windowfixture.h"
#include "exercises/exercises.h"
#include "printout/workedform.h"
#include "testing/expectedforms.h"
#include "testing/pdftext.h"

namespace {

using testforms::firstExampleForm;

// The first example's form as sightform prints it: each line ended by "\n".
QString printedText(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines)
        text += QString::fromStdString(line) + QLatin1Char('\n');
    return text;
}

class PrintoutMenuTest : public WindowFixture {
  protected:
    app::Surface* surface() { return control<app::Surface>("surface"); }
    QAction* action(const char* name) { return control<QAction>(name); }

    void calculateFirstExample() {
        typeFirstExample();
        click(control<QPushButton>("cmdQ"));
        ASSERT_EQ(printout::renderLines(surface()->form()), firstExampleForm);
    }

    struct MenuItem {
        QString text;
        bool enabled;
        bool operator==(const MenuItem&) const = default;
    };
    // Right-clicks the printout area, below the form's text and clear of
    // "Clear All" (or presses the key given), and reads the menu that opens.
    std::vector<MenuItem> contextMenu(Qt::Key menuKey = Qt::Key_unknown,
                                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        std::vector<MenuItem> items;
        // The offscreen platform gives the window back no activation after
        // a menu closes, as a desktop does.
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        // Shift is pressed before F10, and the events it brings must not
        // find the menu not yet open.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&items, &poll] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            poll.stop();
            for (QAction* each : menu->actions())
                items.push_back({each->text(), each->isEnabled()});
            menu->close();
        });
        poll.start(0);
        const QPoint at = surface()->mapTo(&form, QPoint(surface()->width() - 20, 20));
        if (menuKey != Qt::Key_unknown)
            key(menuKey, modifiers);
        else
            QTest::mouseClick(handle(), Qt::RightButton, Qt::NoModifier, at);
        return items;
    }

    QTemporaryDir folder;
};

// Checking works from the entries, not from the printed form, so it is
// offered whether a form is printed or not. The Menu key and Shift+F10 open
// the menu too.
TEST_F(PrintoutMenuTest, ContextMenuOffersCopyAndSaveOnlyWhileAFormIsPrinted) {
    const QString copy = QStringLiteral("Copy Worked Form");
    const QString save = QStringLiteral("Save Worked Form as PDF\u2026");
    const MenuItem check{QStringLiteral("Check My Work\u2026"), true};
    const MenuItem exercise{QStringLiteral("New Exercise\u2026"), true};
    const MenuItem tables{QStringLiteral("Save Tables as PDF\u2026"), true};
    EXPECT_EQ(contextMenu(),
              (std::vector<MenuItem>{{copy, false}, {save, false}, check, exercise, tables}));
    calculateFirstExample();
    EXPECT_EQ(contextMenu(),
              (std::vector<MenuItem>{{copy, true}, {save, true}, check, exercise, tables}));
    // From the keyboard as well, wherever the focus is in the window.
    field("txtGHAMin")->setFocus();
    EXPECT_EQ(contextMenu(Qt::Key_Menu),
              (std::vector<MenuItem>{{copy, true}, {save, true}, check, exercise, tables}));
    control<QWidget>("cmdQ")->setFocus();
    EXPECT_EQ(contextMenu(Qt::Key_F10, Qt::ShiftModifier),
              (std::vector<MenuItem>{{copy, true}, {save, true}, check, exercise, tables}));
    click(control<QPushButton>("cmdClearSome"));
    EXPECT_EQ(contextMenu(),
              (std::vector<MenuItem>{{copy, false}, {save, false}, check, exercise, tables}));
}

TEST_F(PrintoutMenuTest, CopyPutsThePrintedLinesOnTheClipboardAsSightformPrintsThem) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    action("mnuCopy")->trigger();
    EXPECT_EQ(clipboard->text(), QStringLiteral("before")) << "nothing printed, nothing copied";

    calculateFirstExample();
    action("mnuCopy")->trigger();
    const QString copied = clipboard->text();
    EXPECT_EQ(copied, printedText(firstExampleForm));
    // The degree sign survives as one character, U+00B0.
    EXPECT_EQ(copied.count(QChar(0x00B0)), 20);
}

TEST_F(PrintoutMenuTest, SaveAsPdfWritesOnePageThatReadsBackAsTheForm) {
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    calculateFirstExample();
    toolkit.chosenPath = folder.filePath(QStringLiteral("logbook.pdf"));
    action("mnuSavePdf")->trigger();
    ASSERT_EQ(toolkit.fileDialogs.size(), 1);
    EXPECT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();

    // The heading with the entries, then the fifteen printed lines.
    QStringList expected{QStringLiteral("GHA 54\u00B012.3'   Dec N 20\u00B015.0'   DR L N "
                                        "40\u00B00'   DR Lo W 70\u00B00'   Q(x) table")};
    for (const std::string& line : firstExampleForm)
        expected.append(QString::fromStdString(line));
    const auto pages = pdftext::columnPages(toolkit.chosenPath);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], expected) << pages[0].join('\n').toStdString();

    QStringList collapsed;
    for (const QString& line : expected)
        collapsed.append(pdftext::collapsed(line));
    EXPECT_EQ(pdftext::layoutPages(toolkit.chosenPath), std::vector<QStringList>{collapsed});
}

// The selected method's booklet, with nothing printed: its first page names
// the table, and it keeps to a dozen pages.
TEST_F(PrintoutMenuTest, SaveTablesWritesTheSelectedMethodsBooklet) {
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    click(control<QRadioButton>("optQQ"));
    toolkit.chosenPath = folder.filePath(QStringLiteral("tables.pdf"));
    action("mnuSaveTables")->trigger();
    ASSERT_EQ(toolkit.fileDialogs.size(), 1);
    EXPECT_TRUE(
        toolkit.fileDialogs.front().startsWith(QStringLiteral("Save QQ(x) Table as PDF | ")));
    EXPECT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();
    const auto pages = pdftext::layoutPages(toolkit.chosenPath);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_LE(pages.size(), 12u);
    EXPECT_TRUE(pages[0].front().startsWith(QStringLiteral("QQ(x) TABLE page 1 of ")))
        << pages[0].front().toStdString();
}

TEST_F(PrintoutMenuTest, UnwritablePathIsNamedInAMessageAndChangesNothing) {
    calculateFirstExample();
    const QString existingFolder = folder.filePath(QStringLiteral("afolder"));
    ASSERT_TRUE(QDir().mkdir(existingFolder));
    for (const QString& path :
         {folder.filePath(QStringLiteral("missing/form.pdf")), existingFolder}) {
        SCOPED_TRACE(path.toStdString());
        toolkit.messages.clear();
        toolkit.chosenPath = path;
        action("mnuSavePdf")->trigger();
        ASSERT_EQ(toolkit.messages.size(), 1);
        const QString prefix = QStringLiteral("Cannot save %1: ").arg(path);
        EXPECT_TRUE(toolkit.messages.front().startsWith(prefix))
            << toolkit.messages.front().toStdString();
        EXPECT_GT(toolkit.messages.front().size(), prefix.size()) << "a reason follows";
        EXPECT_FALSE(QFileInfo(path).isFile());
        EXPECT_EQ(printout::renderLines(surface()->form()), firstExampleForm);
    }
    EXPECT_TRUE(QFileInfo(existingFolder).isDir());

    // Cancelling the dialog writes nothing and says nothing.
    toolkit.messages.clear();
    toolkit.chosenPath.clear();
    action("mnuSavePdf")->trigger();
    EXPECT_TRUE(toolkit.messages.isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

// The seed's sight fills the fields as typing would (the minute field a
// degree field had locked is free again), chooses the method without
// calculating, empties the printout and shows the seed until a clear.
TEST_F(PrintoutMenuTest, NewExerciseFillsTheSeedsSightAndLeavesThePrintoutEmpty) {
    // Seeds 2 and 3 give a QQ(x) and a Q(x) sight.
    ASSERT_NE(exercises::exercise(2).method, exercises::exercise(3).method);
    const char* fieldNames[] = {"txtGHADeg", "txtGHAMin", "txtDecDeg", "txtDecMin",
                                "txtLDeg",   "txtLMin",   "txtLoDeg",  "txtLoMin"};
    calculateFirstExample();
    for (const std::uint64_t seed : {2u, 3u}) {
        SCOPED_TRACE(seed);
        retype("txtDecMin", "");
        retype("txtDecDeg", "90"); // locks Dec minutes
        ASSERT_FALSE(field("txtDecMin")->isEnabled());
        action("mnuNewExercise")->trigger();
        auto* dialog = form.findChild<app::ExerciseDialog*>();
        ASSERT_NE(dialog, nullptr);
        auto* seedBox = dialog->findChild<QLineEdit*>(QStringLiteral("txtSeed"));
        ASSERT_TRUE(dialog->seed().has_value()) << "a fresh seed is offered, selected";
        QTest::keyClicks(seedBox, QString::number(seed));
        QTest::keyClick(seedBox, Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const reduction::ReductionInput sight = exercises::exercise(seed);
        const auto texts = exercises::fieldTexts(sight);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            QLineEdit* edit = field(fieldNames[i]);
            EXPECT_EQ(edit->text(), QString::fromStdString(texts[i])) << fieldNames[i];
            EXPECT_TRUE(edit->isEnabled()) << fieldNames[i];
            EXPECT_EQ(shownBase(edit), windowBackground(edit)) << fieldNames[i];
        }
        const auto shown = [this](const char* name) {
            return control<QComboBox>(name)->currentText().toStdString();
        };
        EXPECT_EQ(shown("cboDec"), reduction::nameText(sight.decName));
        EXPECT_EQ(shown("cboL"), reduction::nameText(sight.latName));
        EXPECT_EQ(shown("cboLo"), reduction::nameText(sight.loName));
        EXPECT_EQ(control<QRadioButton>("optQQ")->isChecked(),
                  sight.method == reduction::Method::QQ);
        EXPECT_TRUE(surface()->isEmpty());
        EXPECT_TRUE(toolkit.messages.isEmpty()) << toolkit.messages.join(" | ").toStdString();
        EXPECT_TRUE(form.windowTitle().endsWith(QStringLiteral(" - Exercise %1").arg(seed)));
    }
    click(control<QPushButton>("cmdClear"));
    EXPECT_EQ(form.windowTitle(), app::applicationTitle);
}

} // namespace
