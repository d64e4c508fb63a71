// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RuntimeOptions.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

RuntimeOptions parse(std::vector<std::string> arguments, Environment environment = {}) {
    arguments.insert(arguments.begin(), "velmora-ui");
    return RuntimeOptions::parse(arguments, environment);
}

} // namespace

TEST(RuntimeOptions, DefaultsWithNothingGiven) {
    const auto options = parse({});
    EXPECT_EQ(options, RuntimeOptions{});
    EXPECT_TRUE(options.backendEnvironment().empty());
}

TEST(RuntimeOptions, BooleanFromFlagAnywhereOrVariableExactlyOne) {
    const auto fromFlags = parse({"x", "--interactive-menu-smoke", "--smoke-test"});
    EXPECT_TRUE(fromFlags.isSmokeTest);
    EXPECT_TRUE(fromFlags.interactiveMenuSmoke);
    EXPECT_FALSE(fromFlags.advancedHistorySmoke);

    EXPECT_TRUE(parse({}, {{"VELMORA_UI_SMOKE_TEST", "1"}}).isSmokeTest);
    for (const char* other : {"true", "yes", "0", "", " 1", "01"}) {
        EXPECT_FALSE(parse({}, {{"VELMORA_UI_SMOKE_TEST", other}}).isSmokeTest) << other;
    }
    const auto all = parse({}, {{"VELMORA_UI_DEMO_ARTIFACT_BOUNDARY", "1"},
                                {"VELMORA_UI_DEMO_DETAIL_ROUTING", "1"},
                                {"VELMORA_UI_INTERACTIVE_MENU_SMOKE", "1"},
                                {"VELMORA_UI_ADVANCED_HISTORY_SMOKE", "1"},
                                {"VELMORA_UI_EXPORT_FEEDBACK_SMOKE", "1"},
                                {"VELMORA_UI_RECOVERY_FEEDBACK_SMOKE", "1"},
                                {"VELMORA_UI_RESTART_FEEDBACK_SMOKE", "1"}});
    EXPECT_TRUE(all.demoArtifactBoundary && all.demoDetailRouting && all.interactiveMenuSmoke &&
                all.advancedHistorySmoke && all.exportFeedbackSmoke && all.recoveryFeedbackSmoke &&
                all.restartFeedbackSmoke);
    EXPECT_FALSE(all.isSmokeTest);
}

TEST(RuntimeOptions, JoinedFormIsNotRecognised) {
    const auto options = parse({"--smoke-test=1", "--smoke-home=/tmp/h"});
    EXPECT_FALSE(options.isSmokeTest);
    EXPECT_FALSE(options.smokeHome);
}

TEST(RuntimeOptions, ValueFollowsTheFirstOccurrence) {
    const auto options = parse({"--smoke-home", "/tmp/a", "--smoke-home", "/tmp/b",
                                "--restart-feedback-target-key", "--smoke-test"},
                               {{"VELMORA_UI_SMOKE_HOME", "/env"}});
    EXPECT_EQ(options.smokeHome, "/tmp/a");
    // The next argument is taken whatever it looks like, and the flag it names still counts.
    EXPECT_EQ(options.restartFeedbackTargetKey, "--smoke-test");
    EXPECT_TRUE(options.isSmokeTest);
}

TEST(RuntimeOptions, ValueFallsBackToTheVariableWhenLastOrAbsent) {
    const auto last = parse({"--smoke-test", "--smoke-home"}, {{"VELMORA_UI_SMOKE_HOME", "/e"}});
    EXPECT_EQ(last.smokeHome, "/e");
    EXPECT_FALSE(parse({"--smoke-home"}).smokeHome);

    const auto fromEnvironment = parse({}, {{"VELMORA_UI_RESTART_FEEDBACK_TARGET_KEY", ""},
                                            {"VELMORA_UI_SMOKE_HOME", ""},
                                            {"VELMORA_UI_SMOKE_LOG", "/tmp/log.txt"}});
    EXPECT_EQ(fromEnvironment.restartFeedbackTargetKey, "");
    EXPECT_EQ(fromEnvironment.smokeHome, "");
    EXPECT_EQ(fromEnvironment.smokeLogPath, std::filesystem::path("/tmp/log.txt"));
}

TEST(RuntimeOptions, EmptyArgumentValueIsKeptForStrings) {
    const auto options =
        parse({"--smoke-home", "", "--smoke-log", "out.log"}, {{"VELMORA_UI_SMOKE_HOME", "/e"}});
    EXPECT_EQ(options.smokeHome, "");
    EXPECT_EQ(options.smokeLogPath, std::filesystem::path("out.log"));
}

TEST(RuntimeOptions, ProcessIdentifierParsing) {
    EXPECT_EQ(parseProcessID("42"), 42);
    EXPECT_EQ(parseProcessID("+42"), 42);
    EXPECT_EQ(parseProcessID("-42"), -42);
    EXPECT_EQ(parseProcessID("2147483647"), 2147483647);
    EXPECT_EQ(parseProcessID("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseProcessID("007"), 7);
    for (const char* bad : {"", "+", "-", "12x", " 12", "12 ", "2147483648", "-2147483649", "+-1",
                            "0x10", "1e3", "99999999999999999999"}) {
        EXPECT_FALSE(parseProcessID(bad)) << bad;
    }
}

TEST(RuntimeOptions, ProcessIdentifierFallsBackToTheVariable) {
    const Environment seventySeven{{"VELMORA_UI_RECOVERY_SMOKE_PID", "77"}};
    EXPECT_EQ(parse({"--recovery-smoke-pid", "12x"}, seventySeven).recoverySmokePID, 77);
    EXPECT_EQ(parse({"--recovery-smoke-pid", ""}, seventySeven).recoverySmokePID, 77);
    EXPECT_EQ(parse({"--recovery-smoke-pid"}, seventySeven).recoverySmokePID, 77);
    EXPECT_EQ(parse({"--recovery-smoke-pid", "+15"}, seventySeven).recoverySmokePID, 15);
    EXPECT_FALSE(parse({"--recovery-smoke-pid", "12x"}).recoverySmokePID);
    EXPECT_FALSE(parse({"--recovery-smoke-pid", "x"}, {{"VELMORA_UI_RECOVERY_SMOKE_PID", "y"}})
                     .recoverySmokePID);
}

TEST(RuntimeOptions, BackendEnvironmentCarriesOnlyTheSmokeHome) {
    const auto options = parse({"--smoke-home", "/tmp/smoke"}, {{"HOME", "/home/me"}});
    EXPECT_EQ(options.backendEnvironment(), (Environment{{"HOME", "/tmp/smoke"}}));
}

TEST(RuntimeOptions, ProcessEnvironmentIsReadFromTheProcess) {
    ::setenv("VELMORA_TEST_PROBE", "a=b", 1);
    EXPECT_EQ(processEnvironment().at("VELMORA_TEST_PROBE"), "a=b");
}
