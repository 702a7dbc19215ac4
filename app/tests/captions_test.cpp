// Every caption of the window shows whole: within its control and clear of
// the controls stacked above it, in the face this desktop gives the window
// and in the fallback face of a desktop without Tahoma. Links nothing the
// package does not bring (no QtTest), so it also runs on a bare system
// where the package alone is installed.

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "app/fonts.h"
#include "app/form8.h"
#include "app/tests/recordingtoolkit.h"

namespace {

std::string name(const QWidget& control) {
    return control.objectName().toStdString();
}

// Why a control's caption does not show whole in the control's font, or
// empty when it does.
std::string captionProblem(const QWidget& control) {
    const QFontMetrics metrics(control.font());
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        const QRect box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect text = metrics.boundingRect(box, flags, label->text());
        if (!box.contains(text))
            return name(control) + " needs more room than its box";
        const QRect onWindow = text.translated(label->pos());
        const QObjectList& siblings = label->parentWidget()->children();
        for (qsizetype i = siblings.indexOf(label) + 1; i < siblings.size(); ++i) {
            const auto* above = qobject_cast<const QWidget*>(siblings[i]);
            if (above != nullptr && !above->isHidden() && above->geometry().intersects(onWindow))
                return name(control) + " runs under " + name(*above);
        }
        return {};
    }
    QString shown;
    int room = control.width();
    if (const auto* radio = qobject_cast<const QRadioButton*>(&control)) {
        shown = radio->text();
        room -= radio->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                radio->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    } else if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        shown = button->text();
        room -= button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        if (metrics.height() > button->height())
            return name(control) + " is lower than its caption";
    } else if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
        shown = frame->title();
    } else {
        return {};
    }
    shown.remove(QLatin1Char('&'));
    if (metrics.horizontalAdvance(shown) > room)
        return name(control) + " is narrower than its caption";
    return {};
}

// Every caption shows whole, and no label is smaller than it has to be: one
// drawn below the window's size would not show whole a quarter point larger.
void expectEveryCaptionShowsWhole(QWidget& window) {
    int captions = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const std::string problem = captionProblem(*control);
        EXPECT_EQ(problem, "") << QFontInfo(control->font()).family().toStdString() << " "
                               << control->font().pointSizeF() << " pt";
        auto* label = qobject_cast<QLabel*>(control);
        if (label == nullptr || label->text().isEmpty())
            continue;
        ++captions;
        const QFont drawn = label->font();
        if (drawn.pointSizeF() < window.font().pointSizeF()) {
            std::cout << name(*label) << " fitted at " << drawn.pointSizeF() << " pt\n";
            QFont larger = drawn;
            larger.setPointSizeF(drawn.pointSizeF() + 0.25);
            label->setFont(larger);
            EXPECT_NE(captionProblem(*label), "")
                << name(*label) << " shows whole at " << larger.pointSizeF() << " pt too";
            label->setFont(drawn);
        }
    }
    EXPECT_GT(captions, 10);
}

TEST(Captions, ShowWholeInTheFaceThisDesktopGives) {
    RecordingToolkit toolkit;
    app::Form8 form(toolkit);
    const QString family = QFontInfo(form.font()).family();
    std::cout << "window font: " << family.toStdString() << " " << form.font().pointSizeF()
              << " pt\n";
    expectEveryCaptionShowsWhole(form);
    // The design's face needs no fitting: every label keeps the window's size.
    if (family == QLatin1String("Tahoma")) {
        for (const QLabel* label : form.findChildren<QLabel*>())
            EXPECT_EQ(label->font().pointSizeF(), 8.25) << name(*label);
    }
}

// What a desktop without fonts-wine's Tahoma shows, on any desktop: the
// window given the fallback face, and its captions fitted to it.
TEST(Captions, ShowWholeInTheFallbackFace) {
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        GTEST_SKIP() << "Liberation Sans (fonts-liberation2) is not installed";
    RecordingToolkit toolkit;
    app::Form8 form(toolkit);
    form.setFont(app::fallbackWindowFont());
    app::fitCaptions(form);
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        EXPECT_EQ(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"))
            << name(*label);
    }
    expectEveryCaptionShowsWhole(form);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
