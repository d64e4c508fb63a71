// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the app composes from the monitor's codes in another language: a catalogue may put
// the figures in another order, picks plural forms by count, and the figures follow the
// person's number format; without the catalogue and the formatter every text is English again.
// The catalogue here is a small German one written for the test, so what it proves does not
// depend on the shipped catalogue's words.
#include "base/NumberFormat.h"
#include "base/Translate.h"
#include "state/ForecastTexts.h"
#include "state/IncidentFacts.h"
#include "state/IncidentTexts.h"
#include "state/LocalFigures.h"
#include "state/NotificationText.h"
#include "state/ReasonTexts.h"
#include "state/SummaryTexts.h"
#include "tests/support/DecimalComma.h"

#include <gtest/gtest.h>
#include <map>

using namespace velmora;

namespace {

// German for a few patterns, singular and plural where they count.
std::string german(const char* context, const char* source, const char*, int n) {
    static const std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>>
        catalogue{
            {{"velmora::LocalizedText", "%1 GB"}, {"%1 GB", ""}},
            {{"velmora::LocalFigures", "about %n min"}, {"etwa %n Min.", ""}},
            {{"velmora::LocalFigures", "%1 min"}, {"%1 Min.", ""}},
            {{"velmora::LocalFigures", "%1%"}, {"%1 %", ""}},
            {{"ReasonTexts", "Memory grew in %n steps over %1 and gave none of it back: %2 on "
                             "average."},
             {"Der Speicher wuchs in einer Stufe über %1 und gab nichts davon zurück: "
              "durchschnittlich %2.",
              "Durchschnittlich %2: Der Speicher wuchs in %n Stufen über %1 und gab nichts davon "
              "zurück."}},
            {{"IncidentTexts", "%1 keeps growing"}, {"%1 wächst weiter", ""}},
            {{"ForecastTexts", "memory runs out in %1 at this rate"},
             {"in %1 ist der Arbeitsspeicher bei diesem Tempo voll", ""}},
        };
    const auto found = catalogue.find({context, source});
    std::string text = found == catalogue.end()                 ? source
                       : n > 1 && !found->second.second.empty() ? found->second.second
                                                                : found->second.first;
    if (const auto at = text.find("%n"); at != std::string::npos && n >= 0) {
        text.replace(at, 2, std::to_string(n));
    }
    return text;
}

class GermanTexts : public ::testing::Test {
protected:
    void SetUp() override {
        setTranslator(&german);
        setNumberFormatter(&velmora::testing::decimalComma);
    }
    void TearDown() override {
        setTranslator(nullptr);
        setNumberFormatter(nullptr);
    }
};

TEST_F(GermanTexts, FiguresInTheirOrderFormAndPlural) {
    EXPECT_EQ(localSize(1.5 * 1024 * 1024), "1,5 GB");
    EXPECT_EQ(localRate(140.5), "+8,2 MB/min");
    EXPECT_EQ(localPercent(0.826), "83 %");
    EXPECT_EQ(localEstimate(40 * 60 + 10), "etwa 40 Min.");
    const Coded<ReasonCode> stairs{ReasonCode::stairs,
                                   {.rateKiBPerSecond = 6.8, .seconds = 47 * 60, .count = 6}};
    EXPECT_EQ(reasonText(stairs), "Durchschnittlich +0,4 MB/min: Der Speicher wuchs in 6 Stufen "
                                  "über 47 Min. und gab nichts davon zurück.");
    Coded<ReasonCode> oneStair = stairs;
    oneStair.figures.count = 1;
    EXPECT_EQ(reasonText(oneStair), "Der Speicher wuchs in einer Stufe über 47 Min. und gab nichts "
                                    "davon zurück: durchschnittlich +0,4 MB/min.");
}

TEST_F(GermanTexts, TheIncidentAndTheNotificationFromTheirCodes) {
    IncidentSnapshot incident;
    incident.suspectTitle = "Firefox";
    incident.headline = "Firefox keeps growing";
    incident.codes.emplace().headline = HeadlineCode::keepsGrowing;
    EXPECT_EQ(headlineLine(incident), "Firefox wächst weiter");

    // The body no longer lower-cases the monitor's English: the clause is a text of its own.
    FindingSnapshot row;
    row.title = "Firefox";
    row.footprintLabel = "3.2 GB";
    row.exhaustionEstimate = "Memory runs out in about 40 min at this rate";
    row.codes.emplace().exhaustionSeconds = 40 * 60 + 10;
    EXPECT_EQ(findingBody(row),
              "3.2 GB now \u00B7 in etwa 40 Min. ist der Arbeitsspeicher bei diesem Tempo voll");
}

TEST(EnglishTexts, WithoutCatalogueOrFormatterTheEnglishComesBack) {
    EXPECT_EQ(localSize(1.5 * 1024 * 1024), "1.5 GB");
    EXPECT_EQ(localRate(-0.01), "-0.0 MB/min");
    EXPECT_EQ(localEstimate(3 * 3600 + 20 * 60), "about 3 h 20 min");
    EXPECT_EQ(localEstimate(50 * 3600), "about 2 days");
    EXPECT_EQ(localSpan(2 * 3600 + 5 * 60), "2 h 5 min");
    EXPECT_EQ(localSpan(45.4), "45 s");
    EXPECT_EQ(localAgo(7 * 60 + 12, kFindingAgo), "7 min ago");
    EXPECT_EQ(localMultiple(2.714), "2.7\u00D7");
    EXPECT_EQ(historyText({HistoryCode::incidents, {.count = 1, .score = 92}}),
              "1 incident in 30d; peak score 92");
    EXPECT_EQ(historyText({HistoryCode::incidents, {.count = 3, .criticalCount = 1, .score = 92}}),
              "3 incidents in 30d; 1 critical; peak score 92");

    FindingSnapshot row;
    row.rate = "+18 MB/min";
    row.exhaustionEstimate = "Memory runs out in about 40 min at this rate";
    row.codes.emplace().exhaustionSeconds = 40 * 60 + 10;
    EXPECT_EQ(findingBody(row), "+18 MB/min \u00B7 memory runs out in about 40 min at this rate");
    row.rate = "N/A";
    EXPECT_EQ(findingBody(row), "Memory runs out in about 40 min at this rate");
}

} // namespace
