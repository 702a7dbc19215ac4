// Start-up and redraw costs of the main window.
//
// Google Benchmark mode (default): in one process, the time from creating
// the window to its first painted frame, for Form8 and for a bare window with
// as many plain labels as Form8 has widgets, so the two can be compared in
// the same run; and the time from cmdQ_Click to the repainted worked form.
//
// --once form8 | --once bare N: one cold start in a fresh process, of Form8
// or of a bare window with N labels (N: the "widgets" counter of the
// start-up benchmark): prints the milliseconds from entering main() to the
// first painted frame and the process's peak resident memory, for form8
// after one calculation.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/form8.h"
#include "app/surface.h"
#include "app/toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;

class SilentToolkit final : public app::Toolkit {
  public:
    void messageBox(const QString&) override {}
    void beep() override {}
    QString savePdfFileName(const QString&, const QString&) override { return {}; }
};

// Notes the first paint event that reaches the watched widget.
class PaintSpy final : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

bool waitForPaint(const PaintSpy& spy) {
    QElapsedTimer limit;
    limit.start();
    while (!spy.painted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (limit.elapsed() > 5000)
            return false;
    }
    return true;
}

int form8WidgetCount() {
    SilentToolkit toolkit;
    const app::Form8 form(toolkit);
    return int(form.findChildren<QWidget*>().size());
}

std::unique_ptr<QWidget> makeBareWindow(int children) {
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(672, 363);
    for (int i = 0; i < children; ++i) {
        auto* label = new QLabel(QStringLiteral("GHA"), window.get());
        label->setGeometry((i % 10) * 60, (i / 10) * 30, 50, 20);
    }
    return window;
}

void typeFirstExample(app::Form8& form) {
    const std::pair<const char*, const char*> entries[] = {
        {"txtGHADeg", "54"}, {"txtGHAMin", "12.3"}, {"txtDecDeg", "20"}, {"txtDecMin", "15.0"},
        {"txtLDeg", "40"},   {"txtLMin", "0"},      {"txtLoDeg", "70"},  {"txtLoMin", "0"},
    };
    for (const auto& [name, text] : entries)
        form.findChild<QLineEdit*>(QLatin1String(name))->setText(QLatin1String(text));
}

void BM_StartupForm8(benchmark::State& state) {
    SilentToolkit toolkit;
    for (auto _ : state) {
        const auto start = Clock::now();
        app::Form8 form(toolkit);
        PaintSpy spy;
        form.installEventFilter(&spy);
        form.show();
        if (!waitForPaint(spy)) {
            state.SkipWithError("no paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["widgets"] = form8WidgetCount();
}
BENCHMARK(BM_StartupForm8)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_StartupBareWindow(benchmark::State& state) {
    const int children = form8WidgetCount();
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::unique_ptr<QWidget> window = makeBareWindow(children);
        PaintSpy spy;
        window->installEventFilter(&spy);
        window->show();
        if (!waitForPaint(spy)) {
            state.SkipWithError("no paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["widgets"] = children;
}
BENCHMARK(BM_StartupBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CalculateToRepaintedForm(benchmark::State& state) {
    SilentToolkit toolkit;
    app::Form8 form(toolkit);
    typeFirstExample(form);
    form.show();
    auto* surface = form.findChild<app::Surface*>(QStringLiteral("surface"));
    PaintSpy spy;
    surface->installEventFilter(&spy);
    for (auto _ : state) {
        const auto start = Clock::now();
        spy.painted = false;
        form.cmdQ_Click();
        if (!waitForPaint(spy)) {
            state.SkipWithError("no paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    if (surface->form().lines.size() != 15)
        state.SkipWithError("the worked form was not printed");
}
BENCHMARK(BM_CalculateToRepaintedForm)->UseManualTime()->Unit(benchmark::kMicrosecond);

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss; // KiB on Linux
}

int runOnce(const char* which, int bareWidgets, const Clock::time_point start) {
    const bool isForm8 = std::strcmp(which, "form8") == 0;
    SilentToolkit toolkit;
    std::unique_ptr<QWidget> window;
    if (isForm8)
        window = std::make_unique<app::Form8>(toolkit);
    else
        window = makeBareWindow(bareWidgets);
    PaintSpy spy;
    window->installEventFilter(&spy);
    window->show();
    if (!waitForPaint(spy))
        return 1;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (isForm8) {
        auto* form = static_cast<app::Form8*>(window.get());
        typeFirstExample(*form);
        auto* surface = form->findChild<app::Surface*>(QStringLiteral("surface"));
        PaintSpy formSpy;
        surface->installEventFilter(&formSpy);
        form->cmdQ_Click();
        if (!waitForPaint(formSpy))
            return 1;
    }
    std::printf("%s first_frame_ms=%.1f peak_rss_kib=%ld\n", which, ms, peakResidentKiB());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const auto start = Clock::now();
    QApplication application(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--once") == 0)
        return runOnce(argv[2], argc >= 4 ? std::atoi(argv[3]) : 0, start);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
