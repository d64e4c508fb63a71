// SPDX-License-Identifier: GPL-3.0-or-later
// The wire envelopes: request lines byte for byte, response decoding and routing.
#include "SnapshotBuilders.h"
#include "link/BackendEnvelope.h"
#include "link/BackendRequestError.h"
#include "link/RequestEnvelope.h"
#include "link/ShellCommand.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;

TEST(RequestLine, EachKindWritesExactlyItsFields) {
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::getSnapshot()), "{\"kind\":\"getSnapshot\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::getSnapshot()).size(), 23u);
    EXPECT_EQ(
        encodeRequestLine(RequestEnvelope::dispatchAction("restart", "code-helper")),
        "{\"kind\":\"dispatchAction\",\"actionId\":\"restart\",\"targetKey\":\"code-helper\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::dispatchAction("dismiss_detail", "")),
              "{\"kind\":\"dispatchAction\",\"actionId\":\"dismiss_detail\",\"targetKey\":\"\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::dispatchCommand(ShellCommand::quit)),
              "{\"kind\":\"dispatchCommand\",\"commandId\":\"quit\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::getAdvancedHistory(std::nullopt)),
              "{\"kind\":\"getAdvancedHistory\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::getAdvancedHistory("slack")),
              "{\"kind\":\"getAdvancedHistory\",\"selectedKey\":\"slack\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::updateRefreshInterval(2.5)),
              "{\"kind\":\"updateRefreshInterval\",\"refreshIntervalSeconds\":2.5}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::updateRefreshInterval(2)),
              "{\"kind\":\"updateRefreshInterval\",\"refreshIntervalSeconds\":2.0}\n");
    EXPECT_EQ(encodeRequestLine(
                  RequestEnvelope::updateStorageMode(SettingsStorageMode::deepInvestigation)),
              "{\"kind\":\"updateStorageMode\",\"storageMode\":\"deep_investigation\"}\n");
    EXPECT_EQ(encodeRequestLine(RequestEnvelope::updateEvidenceCapture(false)),
              "{\"kind\":\"updateEvidenceCapture\",\"enabled\":false}\n");
}

TEST(RequestLine, TextIsEscapedAndNeverBreaksTheLine) {
    const auto line = encodeRequestLine(RequestEnvelope::dispatchAction("a\"b\nc", "\xff\xfe"));
    EXPECT_EQ(line, "{\"kind\":\"dispatchAction\",\"actionId\":\"a\\\"b\\nc\",\"targetKey\":"
                    "\"\xEF\xBF\xBD\xEF\xBF\xBD\"}\n");
    EXPECT_EQ(line.find('\n'), line.size() - 1);
}

TEST(RequestLine, NonFiniteIntervalCannotBeEncoded) {
    EXPECT_THROW(encodeRequestLine(RequestEnvelope::updateRefreshInterval(NAN)),
                 RequestEncodingError);
    EXPECT_THROW(encodeRequestLine(RequestEnvelope::updateRefreshInterval(INFINITY)),
                 RequestEncodingError);
}

TEST(RequestLine, DecodesBackForTestBackends) {
    for (const auto& request :
         {RequestEnvelope::getSnapshot(), RequestEnvelope::dispatchAction("restart", "k"),
          RequestEnvelope::dispatchCommand(ShellCommand::exportReport),
          RequestEnvelope::getAdvancedHistory("k"), RequestEnvelope::updateRefreshInterval(0.5),
          RequestEnvelope::updateStorageMode(SettingsStorageMode::low),
          RequestEnvelope::updateEvidenceCapture(true)}) {
        auto decoded = decodeRequestLine(encodeRequestLine(request));
        ASSERT_TRUE(decoded.ok()) << decoded.error().text();
        EXPECT_EQ(decoded.value(), request);
    }
    EXPECT_EQ(decodeRequestLine("{}").error().text(), "kind: missing required key");
}

TEST(ShellCommands, WireStrings) {
    EXPECT_EQ(toWire(ShellCommand::exportReport), "export_report");
    EXPECT_EQ(toWire(ShellCommand::openDataFolder), "open_data_folder");
    EXPECT_EQ(toWire(ShellCommand::openSettings), "open_settings");
    EXPECT_EQ(toWire(ShellCommand::quit), "quit");
    EXPECT_EQ(fromWire<ShellCommand>("open_data_folder"), ShellCommand::openDataFolder);
    EXPECT_FALSE(fromWire<ShellCommand>("exportReport"));
    EXPECT_EQ(allCases<ShellCommand>().size(), 4u);
    EXPECT_EQ(BackendRequestError{"boom"}.description(), "boom");
}

TEST(BackendEnvelopeRouting, SnapshotThenHistoryThenMessageThenNothing) {
    auto decodeOk = [](std::string_view line) {
        auto decoded = decodeBackendEnvelope(line);
        EXPECT_TRUE(decoded.ok()) << line << (decoded.ok() ? "" : decoded.error().text());
        return decoded.ok() ? decoded.value() : BackendEnvelope{};
    };
    const std::string history = R"("advancedHistory":{"generatedAtMs":0,"offenders":[]})";
    EXPECT_EQ(route(decodeOk(R"({"kind":"whatever","snapshot":{}})")), EnvelopeRoute::snapshot);
    EXPECT_EQ(route(decodeOk(R"({"kind":"x","snapshot":{},"message":"m",)" + history + "}")),
              EnvelopeRoute::snapshot);
    EXPECT_EQ(route(decodeOk(R"({"kind":"x","message":"m",)" + history + "}")),
              EnvelopeRoute::advancedHistory);
    const auto message = decodeOk(R"({"kind":"error","message":"history store locked"})");
    EXPECT_EQ(route(message), EnvelopeRoute::message);
    EXPECT_EQ(message.message, "history store locked");
    EXPECT_EQ(route(decodeOk(R"({"kind":"ack","snapshot":null,"other":1})")),
              EnvelopeRoute::nothing);
    EXPECT_EQ(route(decodeOk("{\"kind\":\"ack\"}\n")), EnvelopeRoute::nothing);
}

TEST(BackendEnvelopeDecoding, FailuresAreTransportErrors) {
    EXPECT_EQ(decodeBackendEnvelope(R"({"message":"m"})").error().text(),
              "kind: missing required key");
    EXPECT_EQ(decodeBackendEnvelope(R"({"kind":3})").error().text(),
              "kind: expected string, got number");
    EXPECT_EQ(
        decodeBackendEnvelope(R"({"kind":"s","snapshot":{"rows":[{"key":"k"}]}})").error().text(),
        "snapshot.rows[0].title: missing required key");
    EXPECT_EQ(
        decodeBackendEnvelope(R"({"kind":"h","advancedHistory":{"offenders":[]}})").error().text(),
        "advancedHistory.generatedAtMs: missing required key");
    EXPECT_EQ(decodeBackendEnvelope(R"({"kind":"s","snapshot":{"refreshIntervalMs":1e400}})")
                  .error()
                  .path,
              "");
    EXPECT_FALSE(decodeBackendEnvelope("").ok());
    EXPECT_FALSE(decodeBackendEnvelope("{\"kind\":\"a\"}{").ok());
    EXPECT_FALSE(decodeBackendEnvelope("{\"kind\":\"\xc3\x28\"}").ok());
    EXPECT_FALSE(decodeBackendEnvelope(std::string(5000, '[')).ok());
}

TEST(BackendEnvelopeDecoding, EncodedEnvelopesDecodeToThemselves) {
    BackendEnvelope envelope{"snapshot", scenarios::largeSnapshot(5, 10),
                             scenarios::historyWithSelectedDetail(), "m"};
    auto decoded = decodeBackendEnvelope(encodeBackendEnvelope(envelope));
    ASSERT_TRUE(decoded.ok()) << decoded.error().text();
    EXPECT_EQ(decoded.value(), envelope);
    EXPECT_EQ(
        encodeBackendEnvelope(BackendEnvelope{"ack", std::nullopt, std::nullopt, std::nullopt}),
        "{\"kind\":\"ack\"}");
}
