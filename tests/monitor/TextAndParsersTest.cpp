// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8.h"
#include "monitor/common/DisplayText.h"
#include "monitor/common/Formatting.h"
#include "monitor/families/FamilyResolver.h"
#include "monitor/proc/MachineState.h"
#include "monitor/proc/ProcParsers.h"
#include "monitor/session/Tuning.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(DisplayText, HostileBytesBecomeValidShortText) {
    EXPECT_EQ(displayText("plain"), "plain");
    EXPECT_EQ(displayText("a\xff"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(displayText("tab\tnew\nline\x1b"), "tab new line ");
    EXPECT_EQ(displayText("\xC2\x85"), " ");                                        // C1 control
    EXPECT_EQ(displayText("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // surrogate
    EXPECT_EQ(displayText("\xE2\x82"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // truncated sequence
    std::string longText(5000, 'x');
    longText[4094] = '\xC3';
    longText[4095] = '\xA9';
    std::string cut = displayText(longText, 4096);
    EXPECT_LE(cut.size(), 4096u);
    EXPECT_TRUE(utf8::isValid(cut));
    EXPECT_EQ(cut.substr(cut.size() - 3), "\xE2\x80\xA6");
}

TEST(ProcParsers, StatWithParenthesesAndSpacesInTheName) {
    std::string stat = "1234 (evil) name (x) S 1 1234 1234 0 -1 4194560 100 0 0 0 "
                       "250 50 0 0 20 0 1 0 987654 1000000 500 18446744073709551615";
    auto fields = parseStat(stat);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->comm, "evil) name (x");
    EXPECT_EQ(fields->state, 'S');
    EXPECT_EQ(fields->ppid, 1);
    EXPECT_EQ(fields->cpuTicks, 300u);
    EXPECT_EQ(fields->startTime, 987654u);
    EXPECT_FALSE(parseStat("1234 (truncated"));
    EXPECT_FALSE(parseStat("1 (x) S 1 2"));
}

TEST(ProcParsers, StatmStatusSmapsMeminfoAndPressure) {
    auto statm = parseStatm("1000 600 200 10 0 500 0\n");
    ASSERT_TRUE(statm);
    EXPECT_EQ(statm->residentPages - statm->sharedPages, 400u);
    EXPECT_FALSE(parseStatm("garbage"));
    EXPECT_EQ(parseKiBField("Name:\tx\nVmSwap:\t   512 kB\n", "VmSwap:"), 512u);
    EXPECT_EQ(parseStatusUid("Uid:\t1000\t1000\t1000\t1000\n"), 1000u);
    auto rollup = parseSmapsRollup("Rss: 900 kB\nAnonymous: 700 kB\nSwap: 12 kB\n");
    ASSERT_TRUE(rollup);
    EXPECT_EQ(rollup->anonymousKiB, 700u);
    EXPECT_EQ(rollup->swapKiB, 12u);
    auto memory = parseMemInfo("MemTotal: 33554432 kB\nMemFree: 1 kB\nMemAvailable: 8388608 kB\n");
    ASSERT_TRUE(memory);
    MachineState state;
    state.valid = true;
    state.memory = *memory;
    EXPECT_EQ(headroomLabel(state), "8.0 GB available of 32.0 GB");
    auto psi = parsePressure("some avg10=25.50 avg60=3.00 avg300=1.00 total=5\n"
                             "full avg10=1.00 avg60=0.50 avg300=0.10 total=2\n");
    ASSERT_TRUE(psi);
    EXPECT_DOUBLE_EQ(psi->someAvg10, 25.5);
    EXPECT_EQ(classifyPressure(*memory, psi), PressureLevel::high);
    EXPECT_EQ(classifyPressure(*memory, std::nullopt), PressureLevel::normal);
    MemInfo tight{1000, 40, 0, 0};
    EXPECT_EQ(classifyPressure(tight, std::nullopt), PressureLevel::critical);
    EXPECT_EQ(pressureLabel(PressureLevel::elevated), "Elevated pressure");
}

TEST(FamilyResolver, CgroupUnitsGiveTheAppId) {
    EXPECT_EQ(appIdFromCgroup("0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                              "app-gnome-org.gnome.Terminal-4242.scope\n"),
              "org.gnome.Terminal");
    EXPECT_EQ(appIdFromCgroup("0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                              "app-org.mozilla.firefox@1a2b.service\n"),
              "org.mozilla.firefox");
    EXPECT_EQ(appIdFromCgroup("0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                              "app-flatpak-com.spotify.Client-99.scope\n"),
              "com.spotify.Client");
    EXPECT_EQ(appIdFromCgroup("0::/user.slice/user-1000.slice/user@1000.service/session.slice/"
                              "pipewire.service\n"),
              "pipewire");
    EXPECT_EQ(appIdFromCgroup("0::/user.slice/user-1000.slice/session-2.scope\n"), std::nullopt);
    EXPECT_EQ(appIdFromCgroup("0::/user.slice/user-1000.slice/user@1000.service\n"), std::nullopt);
    EXPECT_EQ(appIdFromCgroup("0::/\n"), std::nullopt);
    EXPECT_TRUE(isInterpreter("python3.11"));
    EXPECT_TRUE(isInterpreter("node"));
    EXPECT_FALSE(isInterpreter("nodejs-helper"));
    EXPECT_EQ(executableBaseName("/usr/bin/foo (deleted)"), "foo");
}

TEST(Formatting, SizesRatesAndDurations) {
    EXPECT_EQ(formatKiB(uint64_t{512}), "512.0 KB");
    EXPECT_EQ(formatKiB(uint64_t{8} * 1024 * 1024), "8.0 GB");
    EXPECT_EQ(formatRate(8.2 * 1024 / 60), "+8.2 MB/min");
    EXPECT_EQ(formatRate(-1024.0 / 60), "-1.0 MB/min");
    EXPECT_EQ(formatDuration(12 * 60 + 5), "about 12 min");
    EXPECT_EQ(formatDuration(3 * 3600 + 20 * 60), "about 3 h 20 min");
}

TEST(Tuning, OnlyValidValuesAreTaken) {
    Tuning t = Tuning::fromJson(Json{{"bucketSeconds", 1.0},
                                     {"rateWindowBuckets", 8},
                                     {"minRateBuckets", 50},
                                     {"sampleIntervalSeconds", -3},
                                     {"maxRows", "twelve"},
                                     {"leakSteadyShare", 0.7},
                                     {"leakTrendStrength", 1.5},
                                     {"warmupBuckets", 0},
                                     {"warmupMinBuckets", 50}});
    EXPECT_DOUBLE_EQ(t.scoring.bucketSeconds, 1.0);
    EXPECT_EQ(t.scoring.rateWindowBuckets, 8);
    EXPECT_EQ(t.scoring.minRateBuckets, 8); // never more than the window
    EXPECT_DOUBLE_EQ(t.sampling.sampleIntervalSeconds, 1.0);
    EXPECT_EQ(t.compose.maxRows, 12);
    EXPECT_DOUBLE_EQ(t.scoring.leakSteadyShare, 0.7);
    EXPECT_DOUBLE_EQ(t.scoring.leakTrendStrength, 0.8) << "a share above 1 is refused";
    EXPECT_EQ(t.scoring.warmupBuckets, 0) << "no warm-up at all is allowed";
    EXPECT_EQ(t.scoring.warmupMinBuckets, 8) << "never more than the window";
}

} // namespace
} // namespace velmora
