#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

// A progress line for long work (a batch of a million rows, the
// whole-domain sweep): on a terminal only, one line redrawn in place and
// cleared at the end, so that it never mixes with the output and nothing of
// it is left on the screen.

namespace progress {

// stderr when it is a terminal and quiet is false; nullptr otherwise (a pipe,
// a file), where no progress is shown. Also nullptr when output, which the
// work writes while the line is shown, goes to that same terminal: the line
// would stand between the output's lines there.
std::FILE* progressTerminal(bool quiet, std::FILE* output = nullptr);

// The line's text: "label: done unit, rate unit/s, time left" ("sweep:
// 1,200,000 of 48,698,560 sights, 314,000 sights/s, 2:31 left"). total 0: the
// whole is not known in units; fraction (0 to 1) is how much of the work is
// done, negative when not known, and then no time left is shown. seconds:
// the time since the work began.
std::string progressText(std::string_view label, std::string_view unit, long long done,
                         long long total, double fraction, double seconds);

class ProgressLine {
  public:
    // Seconds since some fixed start; a test passes its own.
    using Clock = std::function<double()>;

    // terminal nullptr: the line does nothing at all. total as for
    // progressText.
    ProgressLine(std::FILE* terminal, std::string label, std::string unit, long long total = 0,
                 Clock clock = {});
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // done units so far, and the fraction of the work done where total does
    // not tell it (negative: unknown). Draws at most a few times a second,
    // and not at all in the first moments, so quick work shows nothing.
    void update(long long done, double fraction = -1);

    // Clears the line, if one was drawn; update draws it again.
    void finish();

  private:
    std::FILE* terminal_;
    std::string label_;
    std::string unit_;
    long long total_;
    Clock clock_;
    double start_ = 0;
    double lastDrawn_ = 0;
    std::size_t shownWidth_ = 0; // characters on the line now
};

} // namespace progress
