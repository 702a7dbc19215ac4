#include "progress/progressline.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <utility>

namespace progress {
namespace {

// Seconds between two drawings of the line, and before the first: often
// enough to see it move, rarely enough to cost nothing.
constexpr double redrawSeconds = 0.2;

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// 1234567 as "1,234,567".
std::string grouped(long long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

// Whole seconds, rounded up, as "0:07", "12:34" or "1:02:03".
std::string clockText(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    const long long hours = whole / 3600;
    const long long minutes = whole / 60 % 60;
    const long long rest = whole % 60;
    const auto twoDigits = [](long long n) {
        std::string text = std::to_string(n);
        return n < 10 ? text.insert(0, 1, '0') : text;
    };
    return (hours > 0 ? std::to_string(hours) + ":" + twoDigits(minutes)
                      : std::to_string(minutes)) +
           ":" + twoDigits(rest);
}

} // namespace

std::FILE* progressTerminal(bool quiet, std::FILE* output) {
    if (quiet || ::isatty(::fileno(stderr)) != 1) {
        return nullptr;
    }
    struct stat terminal {};
    struct stat out {};
    if (output != nullptr && ::fstat(::fileno(stderr), &terminal) == 0 &&
        ::fstat(::fileno(output), &out) == 0 && S_ISCHR(out.st_mode) &&
        out.st_rdev == terminal.st_rdev) {
        return nullptr;
    }
    return stderr;
}

std::string progressText(std::string_view label, std::string_view unit, long long done,
                         long long total, double fraction, double seconds) {
    std::string text = std::string(label) + ": " + grouped(done);
    if (total > 0) {
        text += " of " + grouped(total);
        fraction = static_cast<double>(done) / static_cast<double>(total);
    }
    text += " " + std::string(unit);
    if (seconds > 0) {
        const double rate = static_cast<double>(done) / seconds;
        text += ", " + grouped(std::llround(rate)) + " " + std::string(unit) + "/s";
    }
    if (fraction > 0 && fraction <= 1 && seconds > 0) {
        text += ", " + clockText(seconds * (1 - fraction) / fraction) + " left";
    }
    return text;
}

ProgressLine::ProgressLine(std::FILE* terminal, std::string label, std::string unit,
                           long long total, Clock clock)
    : terminal_(terminal), label_(std::move(label)), unit_(std::move(unit)), total_(total),
      clock_(clock ? std::move(clock) : Clock(steadySeconds)) {
    if (terminal_ != nullptr) {
        start_ = clock_();
        lastDrawn_ = start_;
    }
}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::update(long long done, double fraction) {
    if (terminal_ == nullptr) {
        return;
    }
    const double now = clock_();
    if (now - lastDrawn_ < redrawSeconds) {
        return;
    }
    lastDrawn_ = now;
    const std::string text = progressText(label_, unit_, done, total_, fraction, now - start_);
    // Blanks over what a longer line before left.
    const std::size_t width = text.size();
    std::string line(1, '\r');
    line += text;
    if (shownWidth_ > width) {
        line.append(shownWidth_ - width, ' ');
    }
    shownWidth_ = std::max(shownWidth_, width);
    std::fputs(line.c_str(), terminal_);
    std::fflush(terminal_);
}

void ProgressLine::finish() {
    if (terminal_ == nullptr || shownWidth_ == 0) {
        return;
    }
    std::string blank(shownWidth_ + 2, ' ');
    blank.front() = '\r';
    blank.back() = '\r';
    std::fputs(blank.c_str(), terminal_);
    std::fflush(terminal_);
    shownWidth_ = 0;
}

} // namespace progress
