// sightform --check as a script runs it: the report, the JSON and the exit
// statuses that tell a class's forms apart.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <string>

#include "cli/batchrow.h"
#include "cli/tests/sightformrun.h"

namespace {

using sightformrun::sightform;

const std::string header = std::string(cli::batchColumns) + ",LHA,Qv,v,Hc,Zn\n";
const std::string entries = "Q,54,12.3,N,20,15.0,N,40,00.0,W,70,00.0";
const std::string right = entries + ",344°12.3',1365.03,14°48.0',66°04.2',141.0\n";
// v read for the difference Q(90 - dec) - Q(t); Hc and Zn follow from it.
const std::string slipped = entries + ",344°12.3',1237.43,16°52.2',64°57.0',136.7\n";

QByteArray bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

TEST(SightformCheck, ExitZeroWhenEveryValueAgreesThreeWhenASlipIsFound) {
    const auto agrees = sightform({"--check", "-"}, bytes(header + right));
    EXPECT_EQ(agrees.status, 0) << agrees.err;
    EXPECT_NE(agrees.out.find("No slips."), std::string::npos) << agrees.out;

    const auto slip = sightform({"--check", "-"}, bytes(header + right + slipped));
    EXPECT_EQ(slip.status, 3) << slip.err;
    EXPECT_NE(slip.out.find("Row 3: "), std::string::npos);
    EXPECT_NE(slip.out.find("Slip 1: Qv 1237.43: sum taken for a difference"), std::string::npos)
        << slip.out;
}

TEST(SightformCheck, JsonOneObjectPerRowMalformedRowAsAnError) {
    const auto run = sightform({"--check", "-", "--json", "--tolerance", "exact"},
                               bytes(header + slipped + entries + ",344°12.3',x,,,\n" + right));
    EXPECT_EQ(run.status, 65) << run.err;
    const QList<QByteArray> lines = bytes(run.out).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first["row"].toInt(), 2);
    EXPECT_EQ(first["tolerance"].toString(), "exact");
    const QJsonArray slips = first["slips"].toArray();
    ASSERT_EQ(slips.size(), 1);
    EXPECT_EQ(slips[0].toObject()["at"].toString(), "Qv");
    EXPECT_EQ(slips[0].toObject()["causes"].toArray()[0].toObject()["slip"].toString(),
              "sum-for-difference");
    const QJsonArray values = first["values"].toArray();
    ASSERT_EQ(values.size(), 5);
    EXPECT_EQ(values[2].toObject()["mark"].toString(), "follows");
    EXPECT_EQ(QJsonDocument::fromJson(lines[1]).object()["error"].toString(),
              "Qv takes a table value with at most two decimals (as 1365.03), not 'x'");
    EXPECT_TRUE(QJsonDocument::fromJson(lines[2]).object()["allAgree"].toBool());
}

TEST(SightformCheck, UsageAndFileErrors) {
    EXPECT_EQ(sightform({"--check", "-", "--batch", "x.csv"}).status, 64);
    EXPECT_EQ(sightform({"--check", "-", "--gha", "1", "2"}).status, 64);
    EXPECT_EQ(sightform({"--check", "-", "--tolerance", "half"}).status, 64);
    EXPECT_EQ(sightform({"--tolerance", "exact"}).status, 64);
    EXPECT_EQ(sightform({"--check", "/nonexistent/forms.csv"}).status, 66);
    const auto badHeader = sightform({"--check", "-"}, bytes(entries + "\n"));
    EXPECT_EQ(badHeader.status, 65);
    EXPECT_NE(badHeader.err.find("the first line must name the columns"), std::string::npos);
}

TEST(SightformCheck, HelpListsEverySlipOfTheCatalogue) {
    const auto help = sightform({"--help"});
    for (const char* key : {"t-rule-missed", "sum-for-difference", "rounded-other-way",
                            "arithmetic or reading slip", "--tolerance whole|tenths|exact"}) {
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
    }
}

} // namespace
