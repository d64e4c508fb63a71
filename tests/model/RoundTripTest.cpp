// decode(encode(x)) == x for every scenario-shaped snapshot, through JSON text as on the wire.
#include "SnapshotBuilders.h"
#include "model/Codec.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

template <class T> void expectRoundTrip(const T& value, const char* name) {
    const std::string text = dumpJsonText(encode(value));
    auto decoded = decodeText<T>(text);
    ASSERT_TRUE(decoded.ok()) << name << ": " << decoded.error().text();
    EXPECT_EQ(decoded.value(), value) << name;
    // Encoding is stable: the decoded value encodes to the same text.
    EXPECT_EQ(dumpJsonText(encode(decoded.value())), text) << name;
}

} // namespace

TEST(RoundTrip, EveryPopoverScenarioSurvivesEncodeAndDecode) {
    for (const auto& scenario : scenarios::allPopoverScenarios()) {
        expectRoundTrip(scenario.snapshot, scenario.name);
    }
}

TEST(RoundTrip, AdvancedHistoryWithSelectedDetail) {
    expectRoundTrip(scenarios::historyWithSelectedDetail(), "history");
    auto withoutDetail = scenarios::historyWithSelectedDetail();
    withoutDetail.selectedDetail.reset();
    expectRoundTrip(withoutDetail, "history without detail");
}

TEST(RoundTrip, OptionalFieldsAreWrittenOnlyWhenPresent) {
    const Json placeholder = encode(PopoverSnapshot{});
    for (const char* key :
         {"relief", "actionFeedback", "selectedDetail", "destructiveConfirmation"}) {
        EXPECT_FALSE(placeholder.contains(key)) << key;
    }
    EXPECT_FALSE(placeholder.at("incident").contains("key"));
    EXPECT_FALSE(placeholder.at("incident").contains("nextAction"));
    EXPECT_EQ(placeholder.at("settings").at("storageMode"), "balanced");

    const Json row = encode(scenarios::suspectRow("k", 3));
    EXPECT_EQ(row.at("sparklineSamples").size(), 3u);
    EXPECT_EQ(row.at("verdict"), "probable");
    EXPECT_EQ(row.at("exhaustionEstimate"), "Memory exhausted in ~35 min");
}
