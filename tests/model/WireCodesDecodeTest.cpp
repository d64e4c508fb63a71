// SPDX-License-Identifier: GPL-3.0-or-later
// The codes and figures beside the texts: decoded as sent, a newer monitor's unknown codes
// tolerated, bad values failing with their path, and the verdict taken from its code.
#include "model/Codec.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

Json parse(std::string_view text) {
    return parseJsonText(text).value();
}

constexpr std::string_view kIncident = R"({
  "stage": "strongSignal",
  "codes": {
    "decision": {"verdict": "probable", "rateKiBPerSecond": 140.5},
    "cause": "idleGrowth",
    "history": {"code": "incidents", "count": 3, "criticalCount": 1, "score": 92},
    "change": {"growthKiB": 49152.0, "seconds": 900},
    "nextStep": "restartGracefully",
    "outcome": "editor was asked to quit.",
    "reasons": [
      {"code": "medianRate", "rateKiBPerSecond": 140.5},
      {"code": "familyAsWhole", "footprintKiB": 2048.0, "verdict": "watch",
       "parts": [{"code": "stairs", "count": 4, "seconds": 600, "rateKiBPerSecond": 3.5}]}
    ],
    "headline": "runningAway",
    "impact": {"footprintKiB": 1992294.4, "seconds": 1540}
  }
})";

} // namespace

TEST(WireCodes, AnIncidentsCodesDecodeAsSentAndEncodeBack) {
    const Json sent = parse(kIncident);
    const auto incident = decode<IncidentSnapshot>(sent);
    ASSERT_TRUE(incident) << incident.error().text();
    const IncidentCodes& codes = incident.value().codes.value();
    EXPECT_EQ(codes.decision->verdict, OpenCode<FindingVerdict>(FindingVerdict::probable));
    EXPECT_EQ(codes.decision->rateKiBPerSecond, 140.5);
    EXPECT_EQ(knownCode(codes.cause), CauseCode::idleGrowth);
    EXPECT_EQ(codes.history->code.known, HistoryCode::incidents);
    EXPECT_EQ(codes.history->figures.criticalCount, 1);
    EXPECT_EQ(codes.change->seconds, 900);
    EXPECT_EQ(knownCode(codes.nextStep), NextStepCode::restartGracefully);
    EXPECT_EQ(codes.outcome, "editor was asked to quit.");
    ASSERT_EQ(codes.reasons.size(), 2u);
    EXPECT_EQ(codes.reasons[1].figures.parts.at(0).code.known, ReasonCode::stairs);
    EXPECT_EQ(knownCode(codes.headline), HeadlineCode::runningAway);
    EXPECT_EQ(codes.impact->seconds, 1540);
    EXPECT_EQ(encode(incident.value()).at("codes"), sent.at("codes"));
}

TEST(WireCodes, ANewerMonitorsCodesAreUnknownNotErrors) {
    const Json sent = parse(R"({"codes": {
      "decision": {"verdict": "meltdown"},
      "cause": "fragmentation",
      "history": {"code": "incidentsThisYear", "count": 9},
      "nextStep": "trimCaches",
      "reasons": [{"code": "newKindOfReason", "someFigure": [1, 2]}, {"code": "idle"}]
    }})");
    const auto incident = decode<IncidentSnapshot>(sent);
    ASSERT_TRUE(incident) << incident.error().text();
    const IncidentCodes& codes = incident.value().codes.value();
    EXPECT_FALSE(codes.decision->verdict->known);
    EXPECT_FALSE(knownCode(codes.cause));
    EXPECT_EQ(codes.cause->wire, "fragmentation");
    EXPECT_FALSE(codes.history->code.known);
    EXPECT_FALSE(knownCode(codes.nextStep));
    EXPECT_FALSE(codes.reasons[0].code.known);
    EXPECT_EQ(codes.reasons[1].code.known, ReasonCode::idle);
    // Passed on as they came, so nothing is lost between a newer monitor and its reader.
    EXPECT_EQ(encode(incident.value()).at("codes").at("cause"), "fragmentation");
    EXPECT_EQ(encode(incident.value()).at("codes").at("reasons").at(0).at("code"),
              "newKindOfReason");
}

TEST(WireCodes, BadValuesFailWithTheirPath) {
    auto failure = [](std::string_view text) {
        const auto decoded = decode<IncidentSnapshot>(parse(text));
        return decoded ? std::string("decoded") : decoded.error().text();
    };
    EXPECT_EQ(failure(R"({"codes": {"cause": 3}})"), "codes.cause: expected string, got number");
    EXPECT_EQ(failure(R"({"codes": {"reasons": [{"code": "idle"}, {"code": "hourRate",
                        "rateKiBPerSecond": "fast"}]}})"),
              "codes.reasons[1].rateKiBPerSecond: expected number, got string");
    EXPECT_EQ(failure(R"({"codes": {"reasons": [{"rateKiBPerSecond": 1}]}})"),
              "codes.reasons[0].code: missing required key");
    EXPECT_EQ(failure(R"({"codes": {"history": {"code": "incidents", "count": 1.5}}})"),
              "codes.history.count: 1.5 is not an integer (int64)");
    EXPECT_EQ(failure(R"({"codes": []})"), "codes: expected object, got array");

    const auto row = decode<FindingSnapshot>(
        parse(R"({"key": "k", "title": "t", "codes": {"curvature": false}})"));
    ASSERT_FALSE(row);
    EXPECT_EQ(row.error().text(), "codes.curvature: expected string, got boolean");

    const auto summary = decode<FindingSnapshot>(parse(R"({"key": "k", "title": "t", "codes":
        {"explanation": {"code": "growthSummary", "idle": 1}}})"));
    ASSERT_FALSE(summary);
    EXPECT_EQ(summary.error().text(), "codes.explanation.idle: expected boolean, got number");
    const auto forecast = decode<MemoryForecastSnapshot>(
        parse(R"({"firstVictim": {"code": "anotherUser", "pid": "4242"}})"));
    ASSERT_FALSE(forecast);
    EXPECT_EQ(forecast.error().text(), "firstVictim.pid: expected int64, got string");
    const auto unknown = decode<MemoryForecastSnapshot>(
        parse(R"({"firstVictim": {"code": "aContainer", "name": "db"}})"));
    ASSERT_TRUE(unknown) << unknown.error().text();
    EXPECT_FALSE(unknown.value().firstVictim->code.known);
}

TEST(WireCodes, WithoutCodesEverythingDecodesAsBefore) {
    const auto incident = decode<IncidentSnapshot>(parse(R"({"decisionLine": "Decision: act"})"));
    ASSERT_TRUE(incident);
    EXPECT_FALSE(incident.value().codes);
    EXPECT_FALSE(encode(incident.value()).contains("codes"));
    const auto row = decode<FindingSnapshot>(parse(R"({"key": "k", "title": "t"})"));
    ASSERT_TRUE(row);
    EXPECT_FALSE(row.value().codes);
}

TEST(WireCodes, TheVerdictComesFromItsCodeNotFromTheWords) {
    auto verdictOf = [](std::string_view text) {
        return decode<FindingSnapshot>(parse(text)).value().verdict;
    };
    // The words say "probable"; the code says suspect, and the code decides.
    EXPECT_EQ(verdictOf(R"({"key": "k", "title": "t", "severity": "suspect", "verdict": "suspect",
                          "confidencePillLabel": "Probable", "explanation": "probable leak"})"),
              FindingVerdict::suspect);
    EXPECT_EQ(verdictOf(R"({"key": "k", "title": "t", "severity": "suspect",
                          "verdict": "probable", "explanation": "steady growth"})"),
              FindingVerdict::probable);
    // A row without a verdict, as older monitors and the demo scenarios send, falls back.
    EXPECT_EQ(verdictOf(R"({"key": "k", "title": "t", "severity": "suspect",
                          "explanation": "Probable leak. 15m of growth."})"),
              FindingVerdict::probable);
}

TEST(WireCodes, ARowsFiguresRoundTrip) {
    const Json codes = parse(R"({"confidence": "veryHigh", "score": 91, "rateKiBPerSecond": 12.25,
      "footprintKiB": 3145728.0, "exhaustionSeconds": 1500.0, "growthSeconds": 720.0,
      "curvature": "decelerating"})");
    const auto decoded = decode<FindingCodes>(codes);
    ASSERT_TRUE(decoded) << decoded.error().text();
    EXPECT_EQ(knownCode(decoded.value().confidence), ConfidenceLevel::veryHigh);
    EXPECT_EQ(knownCode(decoded.value().curvature), CurvatureCode::decelerating);
    EXPECT_EQ(encode(decoded.value()), codes);
    EXPECT_FALSE(
        knownCode(decode<FindingCodes>(parse(R"({"confidence": "certain"})")).value().confidence));
}
