#include "help/form1.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include "help/helptext.h"

namespace {

constexpr int twipsPerPixel = 15;

QString designedText() {
    const std::string_view text = help::helpText();
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What the field shows, put back into the designed CR LF form.
QString shownAsCrLf(const QPlainTextEdit& field) {
    QString shown = field.toPlainText();
    shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return shown;
}

// Closes the window and runs its deferred deletion.
void closeAndFlush(help::Form1& window) {
    window.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Form1, TitleAndClientAreaInTwips) {
    auto* window = new help::Form1;
    QPointer<help::Form1> guard(window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QQ(x) Help"));
    EXPECT_EQ(window->width() * twipsPerPixel, 8130);
    EXPECT_EQ(window->height() * twipsPerPixel, 6120);
    EXPECT_EQ(window->parentWidget(), nullptr) << "no owner";
    closeAndFlush(*window);
    EXPECT_TRUE(guard.isNull());
}

TEST(Form1, Text1IsOneEditableWrappingFieldAtTheOriginWithoutScrollBars) {
    help::Form1 window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* text1 = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    ASSERT_EQ(text1, window.Text1);
    const QRect twips(text1->x() * twipsPerPixel, text1->y() * twipsPerPixel,
                      text1->width() * twipsPerPixel, text1->height() * twipsPerPixel);
    EXPECT_EQ(twips, QRect(0, 0, 8175, 6135));
    EXPECT_EQ(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(text1->wordWrapMode(), QTextOption::WordWrap);
    EXPECT_FALSE(text1->isReadOnly());
}

TEST(Form1, ShowsTheDesignedTextAsLinesWithTheDegreeSign) {
    help::Form1 window;
    const QString shown = window.Text1->toPlainText();
    EXPECT_FALSE(shown.contains(QChar(u'\r')));
    EXPECT_TRUE(shown.contains(QStringLiteral("1\u00B0 steps")));
    EXPECT_EQ(shownAsCrLf(*window.Text1), designedText());
    // One text block per designed line, plus the empty one after the final break.
    EXPECT_EQ(window.Text1->blockCount(), 17);
    EXPECT_EQ(window.Text1->document()->findBlockByNumber(5).text(), QStringLiteral("  "));
}

TEST(Form1, TypedTextIsGoneAfterCloseAndANewWindow) {
    auto* first = new help::Form1;
    QPointer<help::Form1> guard(first);
    first->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first));
    first->Text1->moveCursor(QTextCursor::Start);
    QTest::keyClicks(first->Text1, QStringLiteral("scribble"));
    ASSERT_TRUE(first->Text1->toPlainText().startsWith(QStringLiteral("scribble")));

    closeAndFlush(*first);
    ASSERT_TRUE(guard.isNull()) << "closing deletes the window with its edits";

    auto* second = new help::Form1;
    second->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second));
    EXPECT_EQ(shownAsCrLf(*second->Text1), designedText());
    closeAndFlush(*second);
}

} // namespace
