// The sweep is only as good as its checks: each must fail on the fault it is
// there to catch. Real forms are corrupted the way a faulty printout or
// calculation would corrupt them, and the envelope is held against values a
// wrong special rule would give.

#include "tools/sweep/invariants.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "printout/workedform.h"
#include "reduction/exactsolution.h"
#include "testing/entries.h"

namespace {

using reduction::Method;
using reduction::ReductionInput;
using reduction::ReductionRecord;

struct Reduced {
    ReductionInput input;
    ReductionRecord record;
    std::vector<std::string> lines;
};

Reduced reduce(const ReductionInput& input) {
    Reduced r{input, {}, {}};
    EXPECT_EQ(reduction::calculateReduction(r.input, r.record).outcome,
              reduction::Outcome::Complete);
    r.lines = printout::renderLines(printout::buildWorkedForm(r.record, input.method));
    return r;
}

void replaceOnce(std::string& line, const std::string& from, const std::string& to) {
    const auto at = line.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << line;
    line.replace(at, from.size(), to);
}

struct Corruption {
    const char* name;
    std::function<void(std::vector<std::string>&)> apply;
};

// The second example (QQ(x), t over 90) shows every optional run but the
// arrows of u and Z, the first one (u over 90) shows those.
TEST(SweepInvariants, EveryCorruptionOfAFormIsReported) {
    const Reduced first = reduce(testentries::firstExample(Method::Q));
    const Reduced second = reduce(testentries::secondExample(Method::QQ));
    ASSERT_TRUE(sweep::formViolations(first.lines, first.input, first.record, true).empty());
    ASSERT_TRUE(sweep::formViolations(second.lines, second.input, second.record, true).empty());

    const Corruption corruptions[] = {
        {"minutes of 60.0", [](auto& l) { replaceOnce(l[7], "66\u00B004.2'", "66\u00B060.0'"); }},
        {"nan for a table value", [](auto& l) { replaceOnce(l[4], "1365.03", "nan"); }},
        {"inf for a table value", [](auto& l) { replaceOnce(l[6], "89.88", "inf"); }},
        {"one decimal too many", [](auto& l) { replaceOnce(l[12], "141.0", "141.00"); }},
        {"minutes without their leading zero",
         [](auto& l) { replaceOnce(l[3], "109\u00B001.2'", "109\u00B01.2'"); }},
        {"a trailing blank", [](auto& l) { l[14] += ' '; }},
        {"right column one to the right",
         [](auto& l) { replaceOnce(l[10], " = 1364", "  = 1364"); }},
        {"right column one to the left", [](auto& l) { replaceOnce(l[8], "   Q(Z)", "  Q(Z)"); }},
        {"LHA degrees not right-aligned",
         [](auto& l) { replaceOnce(l[1], "LHA 344", "LHA  344"); }},
        {"u arrow missing though u is over 90",
         [](auto& l) { replaceOnce(l[3], " -> 70\u00B058.8'", ""); }},
        {"Z arrow missing under the Z rule",
         [](auto& l) { replaceOnce(l[11], " -> 141.0\u00B0", ""); }},
        {"contrary-names formula for same names",
         [](auto& l) {
             replaceOnce(l[1], "+ Lat (L and Dec same name)", "- Lat (L and Dec contrary names)");
         }},
        {"a line lost", [](auto& l) { l.pop_back(); }},
        {"a line wrapped in two",
         [](auto& l) {
             l.insert(l.begin() + 5,
                      "                                                      = 1.00");
         }},
        {"wrong title", [](auto& l) { replaceOnce(l[0], "Q(x)", "QQ(x)"); }},
        {"negative degrees", [](auto& l) { replaceOnce(l[5], "14\u00B048.0'", "-14\u00B048.0'"); }},
    };
    for (const Corruption& c : corruptions) {
        std::vector<std::string> lines = first.lines;
        c.apply(lines);
        EXPECT_FALSE(sweep::formViolations(lines, first.input, first.record, true).empty())
            << c.name;
    }

    // t over 90: the used t and w stand right-aligned after their arrows.
    const Corruption secondCorruptions[] = {
        {"t arrow missing", [](auto& l) { replaceOnce(l[1], " -> 80\u00B030.0'", ""); }},
        {"used w not right-aligned",
         [](auto& l) { replaceOnce(l[9], "-> 121\u00B039.0'", "->  121\u00B039.0'"); }},
        {"Z arrow where the rule does not apply",
         [](auto& l) { replaceOnce(l[11], "73.7\u00B0", "73.7\u00B0 -> 106.3\u00B0"); }},
    };
    for (const Corruption& c : secondCorruptions) {
        std::vector<std::string> lines = second.lines;
        c.apply(lines);
        EXPECT_FALSE(sweep::formViolations(lines, second.input, second.record, true).empty())
            << c.name;
    }
}

// The bound is derived, not fitted; it must still be narrow enough that a
// wrong quadrant, a wrong name rule or a slip of five minutes falls outside.
TEST(SweepInvariants, EnvelopeHoldsTheExactAndTheTableButNotAWrongRule) {
    for (const Method method : {Method::Q, Method::QQ})
        for (const ReductionInput& in :
             {testentries::firstExample(method), testentries::secondExample(method),
              testentries::contraryExample(method)}) {
            const Reduced r = reduce(in);
            const bool south = in.latName == reduction::NorthSouth::S;
            const reduction::ExactSolution exact =
                reduction::exactSolution(r.record, south, in.decName == reduction::NorthSouth::S);
            const sweep::Envelope e = sweep::envelopeOf(
                {r.record.LHA, r.record.Lat, r.record.Dec, in.latName, in.decName, method});
            const double printedHc = r.record.HcDeg + r.record.HcMin / 60;
            const std::string where = sweep::describeEntries(in);

            EXPECT_TRUE(e.Hc.contains(exact.Hc, 1e-9)) << where;
            EXPECT_TRUE(e.Hc.contains(printedHc, 1e-9)) << where;
            EXPECT_TRUE(sweep::containsAzimuth(e.Zn, exact.Zn, 1e-9)) << where;
            EXPECT_TRUE(sweep::containsAzimuth(e.Zn, r.record.Zn, 1e-9)) << where;

            // The worst case of every rounding at once: a few minutes, so that
            // a slip of 5' or a degree in Zn still stands out.
            EXPECT_LT(e.Hc.width() * 60, 3.0) << where;
            EXPECT_FALSE(e.Hc.contains(exact.Hc + 5.0 / 60, 1e-9)) << "Hc 5' high, " << where;
            EXPECT_FALSE(e.Hc.contains(exact.Hc - 5.0 / 60, 1e-9)) << "Hc 5' low, " << where;
            EXPECT_FALSE(sweep::containsAzimuth(e.Zn, exact.Zn + 1, 1e-9))
                << "Zn 1° off, " << where;
            // The other azimuth rows of the same Z: the other side of the
            // meridian, and the other latitude name.
            const double z = r.record.ZUsed;
            for (const double wrongZn : {360 - exact.Zn, south ? z : 180 - z})
                EXPECT_FALSE(sweep::containsAzimuth(e.Zn, wrongZn, 1e-9))
                    << "Zn " << wrongZn << ", " << where;
        }
}

} // namespace
