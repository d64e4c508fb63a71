// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTestSupport.h"
#include "base/FileTimes.h"
#include "model/Json.h"
#include "monitor/history/EvidenceWriter.h"
#include "monitor/history/ReportExporter.h"
#include "tests/support/FileText.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using test::ManualClock;
using test::openStore;
using testing::readFile;
using testing::TemporaryDirectory;
using testing::writeFile;

const char* kSmaps = "55d0c0a00000-55d0c0b00000 rw-p 00000000 00:00 0          [heap]\n"
                     "Rss:                1024 kB\n"
                     "Anonymous:           900 kB\n"
                     "VmFlags: rd wr mr mw me ac sd\n"
                     "7f00a0000000-7f00b0000000 rw-p 00000000 00:00 0 \n"
                     "Rss:               65536 kB\n"
                     "Anonymous:         65000 kB\n"
                     "7f00c0000000-7f00c0100000 r-xp 00000000 08:01 1234 /usr/lib/libz.so\n"
                     "Rss:                 400 kB\n"
                     "Anonymous:             0 kB\n"
                     "7f00d0000000-7f00d0100000 rw-p 00000000 00:00 0 [anon:bad\xFF]\n"
                     "Anonymous:            12 kB\n";

TEST(ProcessEvidence, KeepsTheLargestAnonymousMappingsLargestFirst) {
    auto mappings = largestAnonymousMappings(kSmaps, 2);
    ASSERT_EQ(mappings.size(), 2u);
    EXPECT_EQ(mappings[0], (AnonymousMapping{"7f00a0000000-7f00b0000000", "rw-p", "", 65000u * 1024,
                                             65536u * 1024}));
    EXPECT_EQ(mappings[1].name, "[heap]");
    EXPECT_EQ(largestAnonymousMappings(kSmaps, 8).back().name, "[anon:bad\xEF\xBF\xBD]");
}

TEST(ProcessEvidence, ReadsAProcessFromItsProcFilesAsValidText) {
    TemporaryDirectory proc;
    writeFile(proc.path() / "42" / "cmdline", std::string("/usr/bin/leaky\0--name\0b\xFFx\0", 26));
    writeFile(proc.path() / "42" / "status", "Name:\tleaky\nVmSwap:\t0 kB\n");
    writeFile(proc.path() / "42" / "smaps_rollup", "Anonymous:  66000 kB\n");
    writeFile(proc.path() / "42" / "smaps", kSmaps);
    auto evidence = readProcessEvidence(42, proc.path());
    ASSERT_TRUE(evidence);
    EXPECT_EQ(evidence->pid, 42);
    EXPECT_EQ(evidence->commandLine, "/usr/bin/leaky --name b\xEF\xBF\xBDx");
    EXPECT_EQ(evidence->status, "Name:\tleaky\nVmSwap:\t0 kB\n");
    EXPECT_EQ(evidence->smapsRollup, "Anonymous:  66000 kB\n");
    EXPECT_EQ(evidence->largestAnonymousMappings.size(), 3u);
    EXPECT_FALSE(readProcessEvidence(43, proc.path()));

    auto self = readProcessEvidence(::getpid());
    ASSERT_TRUE(self);
    EXPECT_NE(self->status.find("VmRSS"), std::string::npos);
    EXPECT_NE(self->commandLine.find("history_evidence_tests"), std::string::npos);
    EXPECT_FALSE(self->largestAnonymousMappings.empty());
}

class EvidenceAndReports : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    ManualClock clock;
    DataFolder folder{dir.path()};
    std::unique_ptr<HistoryStore> store = openStore(dir.path(), clock);
};

TEST_F(EvidenceAndReports, EvidenceIsAJsonArtifactRegisteredForItsFamily) {
    ProcessEvidence process{7, "leaky --bad \xEF\xBF\xBD", "Anonymous: 1 kB\n", "Name:\tleaky\n",
                            largestAnonymousMappings(kSmaps, 8)};
    EvidenceRequest request{"app/leaky one", "Leaky", "Captured on request.", {process}};
    auto artifact = EvidenceWriter(*store, folder).write(request);
    ASSERT_TRUE(artifact.ok()) << artifact.error().message;
    const auto& record = artifact.value();
    EXPECT_GT(record.id, 0);
    EXPECT_EQ(std::filesystem::path(record.path).parent_path(), folder.artifacts());
    EXPECT_EQ(std::filesystem::path(record.path).filename(),
              "evidence-app-leaky-one-20260528T202600Z.json");
    EXPECT_EQ(record.sizeBytes, std::filesystem::file_size(record.path));
    EXPECT_EQ(record.metaLines(),
              (std::vector<std::string>{"Path " + record.path, "Size " + record.sizeLabel(),
                                        "Type Evidence JSON"}));
    EXPECT_EQ(modificationTimeMs(record.path), clock.nowMs);

    auto json = Json::parse(readFile(record.path));
    EXPECT_EQ(json["familyKey"], "app/leaky one");
    EXPECT_EQ(json["capturedAt"], "2026-05-28T20:26:00Z");
    EXPECT_EQ(json["processes"][0]["pid"], 7);
    EXPECT_EQ(json["processes"][0]["largestAnonymousMappings"].size(), 3u);
    EXPECT_EQ(store->latestArtifact("app/leaky one").value(), record);

    auto second = EvidenceWriter(*store, folder).write(request); // same second: a fresh name
    ASSERT_TRUE(second.ok());
    EXPECT_NE(second.value().path, record.path);
}

TEST_F(EvidenceAndReports, AReportHoldsTheLiveRowsAndTheHistory) {
    test::recordIncident(*store, "app.a", clock.nowMs - kHourMs, 3, 70);
    Json rows = Json::array({Json{{"key", "app.a"}, {"title", "A"}}});
    auto path = ReportExporter(*store, folder).exportReport(rows, {"app.a"});
    ASSERT_TRUE(path.ok()) << path.error().message;
    EXPECT_EQ(path.value().parent_path(), folder.reports());
    auto json = Json::parse(readFile(path.value()));
    EXPECT_EQ(json["live"], rows);
    EXPECT_EQ(json["history"]["offenders"][0]["key"], "app.a");
    EXPECT_EQ(json["history"]["offenders"][0]["liveNow"], true);

    auto blocked = dir.path() / "blocked";
    std::ofstream(blocked) << "x";
    auto broken = openStore(blocked, clock);
    auto partial = ReportExporter(*broken, folder).exportReport(rows, {});
    ASSERT_TRUE(partial.ok());
    EXPECT_TRUE(Json::parse(readFile(partial.value())).contains("historyError"));
}

} // namespace
} // namespace velmora
