#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

#include "app/printruns.h"
#include "check/check.h"

namespace app {

// The form drawn as text with the values left out; the check dialog lays its
// boxes over the gaps. Lines that hold values stand wider apart than on the
// printout, so each box has room for its mark below it.
class CheckFormArea final : public QWidget {
    Q_DISABLE_COPY(CheckFormArea)

  public:
    CheckFormArea(const check::CheckLayout& layout, const QFont& font, QWidget* parent);

    const QFont& printFont() const { return fonts_.face(false); }

    // Where the box of a value place lies: within the place's columns, a
    // pixel in from each side for its outline.
    QRect boxRect(const check::FormPlace& place) const;
    // Where a box's mark lies: in the room below it.
    QRect markRect(const check::FormPlace& place) const;

    // The boxes whose outlines the area draws, the focused one highlighted.
    void outline(std::vector<QWidget*> boxes) { boxes_ = std::move(boxes); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Above and below the text in a box, as a line edit keeps it.
    static constexpr int textMargin = 2;

    PrintFonts fonts_;
    double column_ = 0;
    double ascent_ = 0;
    int boxHeight_ = 0;
    std::vector<int> lineTops_;
    std::vector<PlacedRun> runs_;
    std::vector<QWidget*> boxes_;
};

} // namespace app
