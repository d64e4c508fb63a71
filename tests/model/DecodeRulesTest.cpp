// SPDX-License-Identifier: GPL-3.0-or-later
// The decoding rules shared by every record: modes, null, wrong types, widths, enumerations,
// and the JSON path of a failure.
#include "model/Codec.h"

#include <gtest/gtest.h>
#include <string>

using namespace velmora;

namespace {

Json parsed(std::string_view text) {
    return Json::parse(text);
}

std::string failureOf(std::string_view snapshotJson) {
    auto decoded = decodeText<PopoverSnapshot>(snapshotJson);
    EXPECT_FALSE(decoded.ok()) << snapshotJson;
    return decoded.ok() ? std::string() : decoded.error().text();
}

} // namespace

TEST(DecodeRules, FailuresNameThePathAndTheReason) {
    EXPECT_EQ(failureOf(R"({"rows":[{"key":"a","title":"A"},{"key":"b","title":"B"},
                          {"key":"c","title":"C","severity":"warning"}]})"),
              R"(rows[2].severity: unknown value "warning")");
    EXPECT_EQ(failureOf(R"({"trustAccess":{"processScope":"p"}})"),
              "trustAccess.fileReadScope: missing required key");
    EXPECT_EQ(failureOf(R"({"rows":[{"key":"k","title":"t","sparklineSamples":[1,2,3,70000]}]})"),
              "rows[0].sparklineSamples[3]: 70000 does not fit uint16");
    EXPECT_EQ(failureOf(R"({"summaryText":5})"), "summaryText: expected string, got number");
    EXPECT_EQ(failureOf(R"({"rows":[{"title":"t"}]})"), "rows[0].key: missing required key");
    EXPECT_EQ(failureOf(R"({"rows":{}})"), "rows: expected array, got object");
    EXPECT_EQ(failureOf(R"({"incident":[]})"), "incident: expected object, got array");
    EXPECT_EQ(failureOf(R"({"selectedDetail":{"actBlock":{"actions":[{"id":"x","label":"X",
                          "style":"loud","targetKey":"k"}]}}})"),
              R"(selectedDetail.actBlock.actions[0].style: unknown value "loud")");
    EXPECT_EQ(failureOf("[]"), "expected object, got array");
}

TEST(DecodeRules, NullMeansAbsentOnlyForDefaultedAndOptionalKeys) {
    auto decoded = decodeText<PopoverSnapshot>(
        R"({"summaryText":null,"relief":null,"settings":null,"rows":[{"key":"k","title":"t","rate":null,"exhaustionEstimate":null}]})");
    ASSERT_TRUE(decoded.ok()) << decoded.error().text();
    const auto& snapshot = decoded.value();
    EXPECT_EQ(snapshot.summaryText, "ALL CLEAR");
    EXPECT_FALSE(snapshot.relief);
    EXPECT_EQ(snapshot.settings, SettingsSnapshot::fallback());
    EXPECT_EQ(snapshot.rows.at(0).rate, "N/A");
    EXPECT_FALSE(snapshot.rows.at(0).exhaustionEstimate);

    EXPECT_EQ(failureOf(R"({"rows":[{"key":null,"title":"t"}]})"),
              "rows[0].key: expected string, got null");
    EXPECT_EQ(failureOf(R"({"rows":[null]})"), "rows[0]: expected object, got null");
    EXPECT_EQ(failureOf(R"({"rows":[{"key":"k","title":"t","sparklineSamples":[1,null]}]})"),
              "rows[0].sparklineSamples[1]: expected uint16, got null");
}

TEST(DecodeRules, WrongTypesFailInEveryMode) {
    EXPECT_EQ(failureOf(R"({"refreshIntervalMs":"1000"})"),
              "refreshIntervalMs: expected uint64, got string");
    EXPECT_EQ(failureOf(R"({"relief":"none"})"), "relief: expected object, got string");
    EXPECT_EQ(failureOf(R"({"globalTone":1})"), "globalTone: expected string, got number");
    EXPECT_EQ(
        failureOf(
            R"({"bootstrapScan":{"active":1,"historyRefining":false,"watchedProcessCount":0}})"),
        "bootstrapScan.active: expected boolean, got number");
    EXPECT_EQ(failureOf(R"({"systemState":{"pressureLabel":"p","headroomLabel":"h","scopeLabel":"s",
                          "usedMemoryFraction":"0.5"}})"),
              "systemState.usedMemoryFraction: expected number, got string");
}

TEST(DecodeRules, IntegersMustFitTheirWidth) {
    EXPECT_EQ(decode<uint16_t>(parsed("65535")).value(), 65535);
    EXPECT_EQ(decode<uint16_t>(parsed("65536")).error().reason, "65536 does not fit uint16");
    EXPECT_EQ(decode<uint16_t>(parsed("-1")).error().reason, "-1 does not fit uint16");
    EXPECT_EQ(decode<uint32_t>(parsed("4294967295")).value(), 4294967295u);
    EXPECT_EQ(decode<uint32_t>(parsed("4294967296")).error().reason,
              "4294967296 does not fit uint32");
    EXPECT_EQ(decode<uint64_t>(parsed("18446744073709551615")).value(), UINT64_MAX);
    EXPECT_EQ(decode<uint64_t>(parsed("-1")).error().reason, "-1 does not fit uint64");
    EXPECT_EQ(decode<int64_t>(parsed("-9223372036854775808")).value(), INT64_MIN);
    EXPECT_EQ(decode<int64_t>(parsed("9223372036854775808")).error().reason,
              "9223372036854775808 does not fit int64");
    EXPECT_EQ(failureOf(R"({"refreshIntervalMs":-5})"),
              "refreshIntervalMs: -5 does not fit uint64");
}

// Some JSON producers write every number as a double (JavaScript, a few Python and Swift
// encoders), so a whole number written as 5.0 is the integer 5. A fraction is never rounded.
TEST(DecodeRules, IntegralDoublesAreIntegersAndFractionsAreNot) {
    EXPECT_EQ(decode<uint64_t>(parsed("5.0")).value(), 5u);
    EXPECT_EQ(decode<uint16_t>(parsed("1.2e2")).value(), 120);
    EXPECT_EQ(decode<int64_t>(parsed("-3.0")).value(), -3);
    EXPECT_EQ(decode<uint64_t>(parsed("5.5")).error().reason, "5.5 is not an integer (uint64)");
    EXPECT_EQ(decode<uint16_t>(parsed("65536.0")).error().reason, "65536.0 does not fit uint16");
    EXPECT_EQ(decode<uint32_t>(parsed("-1.0")).error().reason, "-1.0 does not fit uint32");
    // 2^64 and 2^63 are exactly representable and one past the limit.
    EXPECT_FALSE(decode<uint64_t>(parsed("18446744073709551616.0")).ok());
    EXPECT_FALSE(decode<int64_t>(parsed("9223372036854775808.0")).ok());
    EXPECT_EQ(decode<int64_t>(parsed("-9223372036854775808.0")).value(), INT64_MIN);
    EXPECT_FALSE(decode<uint64_t>(parsed("1e300")).ok());

    auto snapshot = decodeText<PopoverSnapshot>(R"({"refreshIntervalMs":2000.0})");
    ASSERT_TRUE(snapshot.ok());
    EXPECT_EQ(snapshot.value().refreshIntervalMs, 2000u);
}

TEST(DecodeRules, DoublesAcceptEveryJsonNumber) {
    EXPECT_DOUBLE_EQ(decode<double>(parsed("1")).value(), 1.0);
    EXPECT_DOUBLE_EQ(decode<double>(parsed("-2")).value(), -2.0);
    EXPECT_DOUBLE_EQ(decode<double>(parsed("0.25")).value(), 0.25);
}

TEST(DecodeRules, UnknownKeysAreIgnored) {
    auto decoded = decodeText<PopoverSnapshot>(
        R"({"futureKey":{"deep":[1,2,3]},"rows":[{"key":"k","title":"t","newField":true}]})");
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value().rows.at(0).key, "k");
}

TEST(DecodeRules, BadTextIsAnErrorWithoutPath) {
    for (std::string_view text :
         {"", "{", "{\"a\":}", "nul", "{} {}", "1e400", "{\"rows\":1e400}"}) {
        auto decoded = decodeText<PopoverSnapshot>(text);
        ASSERT_FALSE(decoded.ok()) << text;
        EXPECT_TRUE(decoded.error().path.empty());
        EXPECT_TRUE(decoded.error().reason.starts_with("invalid JSON: ")) << decoded.error().reason;
    }
    // Invalid UTF-8 inside a string is rejected, and the message carries only ASCII.
    auto invalid = decodeText<PopoverSnapshot>("{\"summaryText\":\"\xff\xfe\"}");
    ASSERT_FALSE(invalid.ok());
    for (char c : invalid.error().reason) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

TEST(DecodeRules, NestingIsCappedSoDeepInputCannotExhaustTheStack) {
    const std::string ok = std::string(200, '[') + std::string(200, ']');
    EXPECT_TRUE(parseJsonText(ok).ok());
    const std::string deep = "{\"x\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
    auto parsed = parseJsonText(deep);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error().reason, "invalid JSON: nesting deeper than 256 levels");
}

TEST(DecodeRules, DumpReplacesInvalidUtf8InsteadOfThrowing) {
    Json value = std::string("ok\xff");
    EXPECT_EQ(dumpJsonText(value), "\"ok\xEF\xBF\xBD\"");
}

template <class E> void expectWireTable(std::initializer_list<std::pair<E, const char*>> expected) {
    std::vector<E> order;
    for (const auto& [value, wire] : expected) {
        EXPECT_EQ(toWire(value), wire);
        EXPECT_EQ(fromWire<E>(wire), value);
        EXPECT_EQ(decode<E>(Json(wire)).value(), value);
        EXPECT_EQ(encode(value), Json(wire));
        order.push_back(value);
    }
    EXPECT_EQ(allCases<E>(), order);
}

TEST(DecodeRules, EveryEnumerationHasItsWireStringsInDeclarationOrder) {
    using S = SnapshotTone;
    expectWireTable<S>({{S::allClear, "allClear"},
                        {S::watch, "watch"},
                        {S::suspect, "suspect"},
                        {S::critical, "critical"}});
    using F = FindingSeverity;
    expectWireTable<F>({{F::allClear, "allClear"},
                        {F::watch, "watch"},
                        {F::suspect, "suspect"},
                        {F::critical, "critical"}});
    using V = FindingVerdict;
    expectWireTable<V>({{V::normal, "normal"},
                        {V::watch, "watch"},
                        {V::suspect, "suspect"},
                        {V::probable, "probable"},
                        {V::criticalRunaway, "criticalRunaway"}});
    using R = ReliefUrgencyTone;
    expectWireTable<R>(
        {{R::advisory, "advisory"}, {R::actNow, "actNow"}, {R::critical, "critical"}});
    using K = ActionFeedbackKind;
    expectWireTable<K>({{K::success, "success"}, {K::warning, "warning"}, {K::error, "error"}});
    using M = SettingsStorageMode;
    expectWireTable<M>(
        {{M::low, "low"}, {M::balanced, "balanced"}, {M::deepInvestigation, "deep_investigation"}});
    using I = IncidentStage;
    expectWireTable<I>({{I::normal, "normal"},
                        {I::watch, "watch"},
                        {I::suspicious, "suspicious"},
                        {I::strongSignal, "strongSignal"},
                        {I::evidenceRunning, "evidenceRunning"},
                        {I::evidenceCaptured, "evidenceCaptured"},
                        {I::actionTaken, "actionTaken"}});
    using C = IncidentConfidenceTone;
    expectWireTable<C>({{C::neutral, "neutral"},
                        {C::watch, "watch"},
                        {C::strong, "strong"},
                        {C::evidence, "evidence"},
                        {C::outcome, "outcome"}});
    using T = TimelineTone;
    expectWireTable<T>({{T::neutral, "neutral"},
                        {T::watch, "watch"},
                        {T::evidence, "evidence"},
                        {T::action, "action"},
                        {T::outcome, "outcome"}});
    using A = ActionStyle;
    expectWireTable<A>({{A::primary, "primary"},
                        {A::warning, "warning"},
                        {A::destructive, "destructive"},
                        {A::secondary, "secondary"}});
}

TEST(DecodeRules, EnumerationStringsMatchExactly) {
    EXPECT_FALSE(fromWire<SettingsStorageMode>("deepInvestigation"));
    EXPECT_FALSE(fromWire<SnapshotTone>("AllClear"));
    EXPECT_FALSE(fromWire<SnapshotTone>(""));
    EXPECT_EQ(failureOf(R"({"settings":{"storageMode":"deepInvestigation"}})"),
              R"(settings.storageMode: unknown value "deepInvestigation")");
    EXPECT_EQ(failureOf(R"({"globalTone":"warning"})"), R"(globalTone: unknown value "warning")");
}
