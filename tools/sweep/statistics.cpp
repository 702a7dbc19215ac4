#include "tools/sweep/statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sweep {

using reduction::Method;
using reduction::Outcome;

void Histogram::add(double x) {
    x = std::fabs(x);
    const auto bin = static_cast<std::size_t>(std::min(x / binWidth_, double(bins_.size() - 1)));
    ++bins_[bin];
    ++count_;
    max_ = std::max(max_, x);
}

void Histogram::merge(const Histogram& other) {
    for (std::size_t i = 0; i < bins_.size(); ++i)
        bins_[i] += other.bins_[i];
    count_ += other.count_;
    max_ = std::max(max_, other.max_);
}

double Histogram::quantile(double q) const {
    if (count_ == 0)
        return 0;
    const auto rank = static_cast<std::uint64_t>(std::ceil(q * double(count_)));
    std::uint64_t seen = 0;
    for (std::size_t i = 0; i < bins_.size(); ++i) {
        seen += bins_[i];
        if (seen >= rank)
            return i + 1 == bins_.size() ? max_ : std::min(double(i + 1) * binWidth_, max_);
    }
    return max_;
}

std::uint64_t Histogram::countAbove(double x) const {
    std::uint64_t above = 0;
    for (std::size_t i = static_cast<std::size_t>(x / binWidth_ + 0.5); i < bins_.size(); ++i)
        above += bins_[i];
    return above;
}

const char* const tBandNames[bands] = {"0-70", "70-80", "80-85", "85-90"};
const char* const hcBandNames[bands] = {"0-30", "30-60", "60-80", "80-90"};
const char* const decBandNames[bands] = {"0-30", "30-60", "60-80", "80-90"};

int tBand(double tDeg) {
    return tDeg < 70 ? 0 : tDeg < 80 ? 1 : tDeg < 85 ? 2 : 3;
}

int hcBand(double hcDeg) {
    return hcDeg < 30 ? 0 : hcDeg < 60 ? 1 : hcDeg < 80 ? 2 : 3;
}

int decBand(double decDeg) {
    return hcBand(decDeg);
}

const char* failurePlaceName(FailurePlace place) {
    switch (place) {
    case FailurePlace::None:
        return "none";
    case FailurePlace::QwBelowZero:
        return "Q(w) below 0";
    case FailurePlace::QZBelowZero:
        return "Q(Z) below 0";
    case FailurePlace::LHAPast360:
        return "GHA + east longitude past 720";
    case FailurePlace::Other:
        return "other";
    }
    return "other";
}

namespace {

int methodIndex(Method m) {
    return m == Method::Q ? 0 : 1;
}

const char* methodName(int m) {
    return m == 0 ? "Q(x)" : "QQ(x)";
}

// Of equal differences (a sight and its mirror image east of the meridian)
// the one whose entries sort first, so that the threads' order does not
// change what the summary shows.
bool before(double value, const reduction::ReductionInput& input, const Worst& worst) {
    return value > worst.value ||
           (value == worst.value && describeEntries(input) < describeEntries(worst.input));
}

void keepWorst(Worst& worst, double value, const reduction::ReductionInput& input,
               const SightReport& report) {
    value = std::fabs(value);
    if (before(value, input, worst)) {
        worst.value = value;
        worst.tableHc = report.tableHc;
        worst.t = report.t;
        worst.input = input;
    }
}

void addTo(Distribution& d, const reduction::ReductionInput& input, const SightReport& report) {
    d.hc.add(report.dHcArcmin);
    keepWorst(d.worstHc, report.dHcArcmin, input, report);
    if (!std::isnan(report.dZnDeg)) {
        d.zn.add(report.dZnDeg);
        keepWorst(d.worstZn, report.dZnDeg, input, report);
    }
}

void mergeWorst(Worst& into, const Worst& other) {
    if (other.value >= 0 && before(other.value, other.input, into))
        into = other;
}

void mergeDistribution(Distribution& into, const Distribution& other) {
    into.hc.merge(other.hc);
    into.zn.merge(other.zn);
    mergeWorst(into.worstHc, other.worstHc);
    mergeWorst(into.worstZn, other.worstZn);
}

} // namespace

Statistics::Statistics()
    : hcByTDegree(methods, std::vector<Histogram>(tDegrees, Histogram(0.01, 20000))) {
    qwFailureTMin.fill(std::numeric_limits<double>::infinity());
    qwFailureTMax.fill(-std::numeric_limits<double>::infinity());
    qzFailureHcMin.fill(std::numeric_limits<double>::infinity());
}

void Statistics::add(const reduction::ReductionInput& input, const SightReport& report) {
    const int m = methodIndex(input.method);
    ++sights;
    if (!report.inRange)
        ++outOfRange;
    ++byOutcome[m][static_cast<int>(report.outcome)];

    if (report.outcome == Outcome::ArithmeticFailure) {
        const int place = static_cast<int>(report.failurePlace);
        ++failures[m][place][tBand(std::clamp(report.t, 0.0, 90.0))];
        if (report.failurePlace == FailurePlace::QwBelowZero) {
            qwFailureTMin[m] = std::min(qwFailureTMin[m], report.t);
            qwFailureTMax[m] = std::max(qwFailureTMax[m], report.t);
        }
        if (report.failurePlace == FailurePlace::QZBelowZero)
            qzFailureHcMin[m] = std::min(qzFailureHcMin[m], report.tableHc);
    }

    if (!report.violations.empty()) {
        ++violations;
        if (violationTexts.size() < keepViolations) {
            std::string text = "VIOLATION " + describeEntries(input);
            for (const std::string& v : report.violations)
                text += "\n    " + v;
            violationTexts.push_back(std::move(text));
        }
    }

    if (!report.compared)
        return;
    addTo(all[m], input, report);
    addTo(byT[m][tBand(report.t)], input, report);
    addTo(byHc[m][hcBand(report.tableHc)], input, report);
    addTo(byDec[m][decBand(report.dec)], input, report);
    if (report.t < ordinaryLimitDeg && report.tableHc < ordinaryLimitDeg &&
        report.dec < ordinaryLimitDeg)
        addTo(ordinary[m], input, report);
    hcByTDegree[static_cast<std::size_t>(m)]
               [static_cast<std::size_t>(std::clamp(report.t, 0.0, 90.0))]
                   .add(report.dHcArcmin);

    const double dHc = std::fabs(report.dHcArcmin);
    hcAboveHalfArcmin[m] += dHc > 0.5;
    hcAboveOneArcmin[m] += dHc > 1.0;
    if (report.tableHc < 80 && !std::isnan(report.dZnDeg)) {
        ++comparedBelow80[m];
        znAboveTenthBelow80[m] += std::fabs(report.dZnDeg) > 0.1 + 1e-9;
        znAboveOneBelow80[m] += std::fabs(report.dZnDeg) > 1.0;
    }
    largestHcBound[m] = std::max(largestHcBound[m], report.hcBoundArcmin);
    largestZnBound[m] = std::max(largestZnBound[m], report.znBoundDeg);
}

void Statistics::merge(const Statistics& o) {
    sights += o.sights;
    outOfRange += o.outOfRange;
    violations += o.violations;
    for (const std::string& v : o.violationTexts)
        if (violationTexts.size() < keepViolations)
            violationTexts.push_back(v);
    for (int m = 0; m < methods; ++m) {
        for (int k = 0; k < outcomes; ++k)
            byOutcome[m][k] += o.byOutcome[m][k];
        for (int p = 0; p < failurePlaces; ++p)
            for (int b = 0; b < bands; ++b)
                failures[m][p][b] += o.failures[m][p][b];
        qwFailureTMin[m] = std::min(qwFailureTMin[m], o.qwFailureTMin[m]);
        qwFailureTMax[m] = std::max(qwFailureTMax[m], o.qwFailureTMax[m]);
        qzFailureHcMin[m] = std::min(qzFailureHcMin[m], o.qzFailureHcMin[m]);
        mergeDistribution(all[m], o.all[m]);
        mergeDistribution(ordinary[m], o.ordinary[m]);
        for (int b = 0; b < bands; ++b) {
            mergeDistribution(byT[m][b], o.byT[m][b]);
            mergeDistribution(byHc[m][b], o.byHc[m][b]);
            mergeDistribution(byDec[m][b], o.byDec[m][b]);
        }
        for (int d = 0; d < tDegrees; ++d)
            hcByTDegree[m][d].merge(o.hcByTDegree[m][d]);
        hcAboveHalfArcmin[m] += o.hcAboveHalfArcmin[m];
        hcAboveOneArcmin[m] += o.hcAboveOneArcmin[m];
        znAboveTenthBelow80[m] += o.znAboveTenthBelow80[m];
        znAboveOneBelow80[m] += o.znAboveOneBelow80[m];
        comparedBelow80[m] += o.comparedBelow80[m];
        largestHcBound[m] = std::max(largestHcBound[m], o.largestHcBound[m]);
        largestZnBound[m] = std::max(largestZnBound[m], o.largestZnBound[m]);
    }
}

namespace {

double percent(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 0 : 100.0 * double(part) / double(whole);
}

void writeDistributionRow(std::FILE* out, const char* name, int m, const Distribution& x) {
    std::fprintf(out, "| %s | %s | %llu | %.2f' | %.2f' | %.2f' | %.2f° | %.2f° | %.2f° |\n", name,
                 methodName(m), static_cast<unsigned long long>(x.hc.count()), x.hc.quantile(0.5),
                 x.hc.quantile(0.99), x.hc.max(), x.zn.quantile(0.5), x.zn.quantile(0.99),
                 x.zn.max());
}

void writeDistributionTable(std::FILE* out, const char* title, const char* const names[bands],
                            const std::array<std::array<Distribution, bands>, methods>& d) {
    std::fprintf(
        out,
        "\n| %s | method | sights | Hc median | Hc 99 %% | Hc max | Zn median | Zn 99 %% | "
        "Zn max |\n|---|---|---|---|---|---|---|---|---|\n",
        title);
    for (int b = 0; b < bands; ++b)
        for (int m = 0; m < methods; ++m)
            writeDistributionRow(out, names[b], m, d[m][b]);
}

void writeWorst(std::FILE* out, const char* what, const Worst& w, const char* unit) {
    if (w.value < 0)
        return;
    std::fprintf(out, "- %s %.2f%s at t %.2f°, table Hc %.2f°: `sightform %s --exact`\n", what,
                 w.value, unit, w.t, w.tableHc, describeEntries(w.input).c_str());
}

} // namespace

void writeSummary(std::FILE* out, const Statistics& s) {
    std::fprintf(out, "## Outcomes\n\n%llu sights, %llu of them outside the entry ranges.\n\n",
                 static_cast<unsigned long long>(s.sights),
                 static_cast<unsigned long long>(s.outOfRange));
    std::fprintf(
        out, "| method | complete | Check your data. | cannot be reduced |\n|---|---|---|---|\n");
    for (int m = 0; m < methods; ++m) {
        const auto& k = s.byOutcome[m];
        const std::uint64_t total = k[0] + k[1] + k[2];
        std::fprintf(out, "| %s | %llu (%.3f %%) | %llu (%.3f %%) | %llu (%.4f %%) |\n",
                     methodName(m), static_cast<unsigned long long>(k[0]), percent(k[0], total),
                     static_cast<unsigned long long>(k[1]), percent(k[1], total),
                     static_cast<unsigned long long>(k[2]), percent(k[2], total));
    }

    std::fprintf(out, "\nSights that cannot be reduced, by where they stop and by meridian "
                      "angle t (degrees, folded to 0-90):\n\n| method | where | ");
    for (int b = 0; b < bands; ++b)
        std::fprintf(out, "t %s | ", tBandNames[b]);
    std::fprintf(out, "\n|---|---|---|---|---|---|\n");
    for (int m = 0; m < methods; ++m)
        for (int p = 1; p < failurePlaces; ++p) {
            const auto& row = s.failures[m][p];
            if (row[0] + row[1] + row[2] + row[3] == 0)
                continue;
            std::fprintf(
                out, "| %s | %s | %llu | %llu | %llu | %llu |\n", methodName(m),
                failurePlaceName(static_cast<FailurePlace>(p)),
                static_cast<unsigned long long>(row[0]), static_cast<unsigned long long>(row[1]),
                static_cast<unsigned long long>(row[2]), static_cast<unsigned long long>(row[3]));
        }
    std::fprintf(out, "\n");
    for (int m = 0; m < methods; ++m) {
        if (std::isfinite(s.qwFailureTMin[m]))
            std::fprintf(out, "- %s: Q(w) below 0 only for t from %.4f° to %.4f°\n", methodName(m),
                         s.qwFailureTMin[m], s.qwFailureTMax[m]);
        if (std::isfinite(s.qzFailureHcMin[m]))
            std::fprintf(out, "- %s: Q(Z) below 0 only with the table Hc at %.2f° or higher\n",
                         methodName(m), s.qzFailureHcMin[m]);
    }

    std::fprintf(out, "\n## Table method against the exact solution\n\n"
                      "Absolute differences of the printed Hc (minutes of arc) and Zn (degrees) "
                      "from the exact ones, for the complete sights within the entry ranges; "
                      "Zn where it is defined. Quantiles to 0.01.\n");
    writeDistributionTable(out, "t", tBandNames, s.byT);
    writeDistributionTable(out, "Hc", hcBandNames, s.byHc);
    writeDistributionTable(out, "dec", decBandNames, s.byDec);
    std::fprintf(out,
                 "\n| sights | method | sights | Hc median | Hc 99 %% | Hc max | Zn median | Zn "
                 "99 %% | Zn max |\n|---|---|---|---|---|---|---|---|---|\n");
    for (int m = 0; m < methods; ++m)
        writeDistributionRow(out, "all", m, s.all[m]);
    for (int m = 0; m < methods; ++m)
        writeDistributionRow(out, "t, Hc, dec < 80", m, s.ordinary[m]);

    std::fprintf(out, "\nRule-of-thumb counts:\n\n");
    for (int m = 0; m < methods; ++m) {
        const std::uint64_t n = s.all[m].hc.count();
        std::fprintf(out,
                     "- %s: |dHc| above 0.5' in %.3f %% and above 1.0' in %.4f %% of %llu sights; "
                     "with Hc below 80°, |dZn| above 0.1° in %.3f %% and above 1.0° in %.4f %%; "
                     "largest derived bound %.2f' for Hc, %.2f° for Zn\n",
                     methodName(m), percent(s.hcAboveHalfArcmin[m], n),
                     percent(s.hcAboveOneArcmin[m], n), static_cast<unsigned long long>(n),
                     percent(s.znAboveTenthBelow80[m], s.comparedBelow80[m]),
                     percent(s.znAboveOneBelow80[m], s.comparedBelow80[m]), s.largestHcBound[m],
                     s.largestZnBound[m]);
    }

    std::fprintf(out, "\nLargest differences:\n\n");
    for (int m = 0; m < methods; ++m) {
        const std::string hc = std::string(methodName(m)) + ", t, Hc, dec < 80: |dHc|";
        writeWorst(out, hc.c_str(), s.ordinary[m].worstHc, "'");
        const std::string zn = std::string(methodName(m)) + ", t, Hc, dec < 80: |dZn|";
        writeWorst(out, zn.c_str(), s.ordinary[m].worstZn, "°");
    }
    for (int m = 0; m < methods; ++m) {
        for (int b = 0; b < bands; ++b) {
            const std::string hc = std::string(methodName(m)) + ", t " + tBandNames[b] + ": |dHc|";
            writeWorst(out, hc.c_str(), s.byT[m][b].worstHc, "'");
        }
        for (int b = 0; b < bands; ++b) {
            const std::string zn =
                std::string(methodName(m)) + ", Hc " + hcBandNames[b] + ": |dZn|";
            writeWorst(out, zn.c_str(), s.byHc[m][b].worstZn, "°");
        }
    }
}

void writePerDegree(std::FILE* out, const Statistics& s) {
    std::fprintf(out, "# t_deg  Q_median Q_p99 Q_max  QQ_median QQ_p99 QQ_max  (|dHc|, arcmin)\n");
    for (int d = 0; d < tDegrees; ++d) {
        std::fprintf(out, "%d", d);
        for (int m = 0; m < methods; ++m) {
            const Histogram& h = s.hcByTDegree[m][d];
            std::fprintf(out, "  %.2f %.2f %.3f", h.quantile(0.5), h.quantile(0.99), h.max());
        }
        std::fprintf(out, "\n");
    }
}

} // namespace sweep
