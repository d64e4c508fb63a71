// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/FamilyExport.h"

#include "monitor/serve/MetricsEndpoint.h"
#include "monitor/serve/ProcessMetrics.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using prometheus::MetricFamily;

RankedFamily ranked(const std::string& key, const std::string& title, uint64_t anonMiB,
                    FindingVerdict verdict = FindingVerdict::normal, int score = 0) {
    RankedFamily family;
    family.key = key;
    family.title = title;
    family.anonKiB = anonMiB * 1024;
    family.swapKiB = 1024;
    family.footprintKiB = family.anonKiB + family.swapKiB;
    family.assessment.verdict = verdict;
    family.assessment.score = score;
    family.assessment.hasRate = verdict != FindingVerdict::normal;
    family.assessment.rateKiBPerSecond = 10;
    return family;
}

LiveView viewAt(double seconds, std::vector<RankedFamily> families) {
    LiveView view;
    view.monotonicTime = seconds;
    view.wallTime = 1.8e9 + seconds;
    view.machine.valid = true;
    view.machine.memory.availableKiB = 4 * 1024 * 1024;
    view.ranked = std::move(families);
    return view;
}

const MetricFamily* find(const std::vector<MetricFamily>& all, const std::string& name) {
    for (const auto& family : all) {
        if (family.name == name) {
            return &family;
        }
    }
    return nullptr;
}

// The value of the sample of `name` whose labels include every one of `labels`.
std::optional<double> valueOf(const std::vector<MetricFamily>& all, const std::string& name,
                              const std::map<std::string, std::string>& labels) {
    const MetricFamily* family = find(all, name);
    if (family == nullptr) {
        return std::nullopt;
    }
    for (const auto& sample : family->metric) {
        std::size_t matched = 0;
        for (const auto& label : sample.label) {
            auto it = labels.find(label.name);
            matched += it != labels.end() && it->second == label.value ? 1 : 0;
        }
        if (matched == labels.size()) {
            return family->type == prometheus::MetricType::Counter ? sample.counter.value
                                                                   : sample.gauge.value;
        }
    }
    return std::nullopt;
}

std::size_t familiesExported(const std::vector<MetricFamily>& all) {
    return find(all, "velmora_family_score")->metric.size();
}

TEST(FamilyExport, LabelsNameTheProgramNotTheProcessAndTheUserOnlyWhenAsked) {
    EXPECT_EQ(familyLabelOf("proc:firefox:4242:987654"), "proc:firefox");
    EXPECT_EQ(familyLabelOf("proc:memfd:sealed:42:7"), "proc:memfd:sealed");
    EXPECT_EQ(familyLabelOf("app:org.gnome.Nautilus"), "app:org.gnome.Nautilus");
    EXPECT_EQ(familyLabelOf("workspace:python3:/home/a/proj"), "workspace:python3:/home/a/proj");
    EXPECT_EQ(familyLabelOf("user:1000:proc:bash:12:34"), "proc:bash");

    FamilyExport single({});
    single.update(viewAt(10, {ranked("proc:bash:12:34", "bash", 10)}));
    auto labels = find(*single.metrics(), "velmora_family_score")->metric[0].label;
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].name, "family");
    EXPECT_EQ(labels[1].name, "title");

    FamilyExport everyone(
        {200, 600, true, "1.2.3",
         [](uid_t uid) { return uid == 1000 ? std::string("ada") : std::to_string(uid); },
         nullptr});
    everyone.update(viewAt(10, {ranked("user:1000:proc:bash:12:34", "bash", 10),
                                ranked("user:1001:proc:bash:56:78", "bash", 20)}));
    auto all = *everyone.metrics();
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"user", "ada"}, {"family", "proc:bash"}, {"memtype", "anon"}}),
              10.0 * 1024 * 1024);
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"user", "1001"}, {"family", "proc:bash"}, {"memtype", "anon"}}),
              20.0 * 1024 * 1024);
    EXPECT_EQ(valueOf(all, "velmora_build_info", {{"version", "1.2.3"}}), 1.0);
}

TEST(FamilyExport, SharedMemoryIsExportedUnderItsOwnMemtypeAndInTheFootprint) {
    RankedFamily holder = ranked("proc:player:10:1", "player", 40);
    holder.sharedKiB = 300 * 1024;
    holder.footprintKiB += holder.sharedKiB;
    FamilyExport exporter({});
    exporter.update(viewAt(10, {holder, ranked("proc:player:20:2", "player", 10)}));
    auto all = *exporter.metrics();
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"family", "proc:player"}, {"memtype", "shmem"}}),
              300.0 * 1024 * 1024);
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"family", "proc:player"}, {"memtype", "footprint"}}),
              (350.0 * 1024 + 2 * 1024) * 1024);
}

TEST(FamilyExport, TwoTreesOfOneProgramAreOneSeriesWithTheWorstVerdictAndOneStateSet) {
    FamilyExport exporter({});
    exporter.update(
        viewAt(10, {ranked("proc:worker:10:1", "worker", 100, FindingVerdict::probable, 70),
                    ranked("proc:worker:20:2", "worker", 50)}));
    auto all = *exporter.metrics();
    EXPECT_EQ(familiesExported(all), 1u);
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"family", "proc:worker"}, {"memtype", "footprint"}}),
              (150.0 * 1024 + 2 * 1024) * 1024);
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"family", "proc:worker"}, {"memtype", "swap"}}),
              2.0 * 1024 * 1024);
    EXPECT_EQ(valueOf(all, "velmora_family_score", {{"family", "proc:worker"}}), 70.0);
    EXPECT_EQ(valueOf(all, "velmora_family_growth_bytes_per_second", {{"family", "proc:worker"}}),
              10.0 * 1024);
    const MetricFamily* verdicts = find(all, "velmora_family_verdict");
    ASSERT_EQ(verdicts->metric.size(), 5u);
    double ones = 0;
    for (const auto& sample : verdicts->metric) {
        ones += sample.gauge.value;
    }
    EXPECT_EQ(ones, 1.0);
    EXPECT_EQ(valueOf(all, "velmora_family_verdict",
                      {{"family", "proc:worker"}, {"verdict", "probable"}}),
              1.0);
}

TEST(FamilyExport, AFamilyThatCalmsDownLeavesWithItsVerdictAndOnlyAGoneOneStaysMarkedGone) {
    FamilyExport exporter({200, 600, false, "", nullptr, nullptr});
    exporter.update(viewAt(0, {ranked("proc:a:1:1", "a", 30),
                               ranked("proc:leak:2:2", "leak", 20, FindingVerdict::probable, 80),
                               ranked("proc:b:3:3", "b", 20, FindingVerdict::suspect, 55)}));
    auto all = *exporter.metrics();
    EXPECT_EQ(valueOf(all, "velmora_family_gone", {{"family", "proc:leak"}}), 0.0);
    // The leak calmed down and fell out of the ranking while it runs on: its "probable" must not
    // be exported a moment longer. b's processes all ended.
    LiveView next = viewAt(10, {ranked("proc:a:1:1", "a", 31)});
    next.endedFamilies = {"proc:b:3:3"};
    exporter.update(next);
    all = *exporter.metrics();
    EXPECT_FALSE(
        valueOf(all, "velmora_family_verdict", {{"family", "proc:leak"}, {"verdict", "probable"}}));
    EXPECT_FALSE(valueOf(all, "velmora_family_memory_bytes", {{"family", "proc:leak"}}));
    EXPECT_EQ(valueOf(all, "velmora_family_gone", {{"family", "proc:b"}}), 1.0);
    EXPECT_EQ(valueOf(all, "velmora_family_memory_bytes",
                      {{"family", "proc:b"}, {"memtype", "footprint"}}),
              0.0);
    EXPECT_EQ(valueOf(all, "velmora_family_verdict", {{"family", "proc:b"}, {"verdict", "normal"}}),
              1.0);
    EXPECT_EQ(
        valueOf(all, "velmora_family_verdict", {{"family", "proc:b"}, {"verdict", "suspect"}}),
        0.0);
    EXPECT_EQ(familiesExported(all), 2u);
    exporter.update(viewAt(10 + 599, {ranked("proc:a:1:1", "a", 30)}));
    EXPECT_EQ(familiesExported(*exporter.metrics()), 2u);
    exporter.update(viewAt(10 + 601, {ranked("proc:a:1:1", "a", 30)}));
    EXPECT_EQ(familiesExported(*exporter.metrics()), 1u);

    // Over the bound, the gone family that ended longest ago goes first.
    FamilyExport small({2, 600, false, "", nullptr, nullptr});
    small.update(viewAt(0, {ranked("proc:a:1:1", "a", 30), ranked("proc:b:2:2", "b", 20)}));
    LiveView bEnds = viewAt(10, {ranked("proc:a:1:1", "a", 30), ranked("proc:c:3:3", "c", 10)});
    bEnds.endedFamilies = {"proc:b:2:2"};
    small.update(bEnds);
    all = *small.metrics();
    EXPECT_EQ(familiesExported(all), 2u);
    EXPECT_FALSE(valueOf(all, "velmora_family_gone", {{"family", "proc:b"}}));
}

TEST(FamilyExport, EachKillCountsOnceAndItsFamilyStaysToShowIt) {
    FamilyExport exporter({});
    exporter.update(viewAt(0, {ranked("proc:db:1:1", "db", 500)}));
    EXPECT_EQ(valueOf(*exporter.metrics(), "velmora_oom_kills_total", {{"family", "proc:db"}}),
              0.0);
    OutOfMemoryKill kill;
    kill.id = "oom-7-99";
    kill.key = "proc:db:1:1";
    kill.title = "db";
    LiveView view = viewAt(10, {});
    view.outOfMemoryKills = {kill};
    view.endedFamilies = {"proc:db:1:1"};
    exporter.update(view);
    view.monotonicTime = 20;
    exporter.update(view); // the same kill, still listed
    OutOfMemoryKill other = kill;
    other.id = "oom-9-99";
    other.key = "proc:cache:9:9"; // a family never exported before its kill
    other.title = "cache";
    view.monotonicTime = 30;
    view.outOfMemoryKills.push_back(other);
    exporter.update(view);
    auto all = *exporter.metrics();
    EXPECT_EQ(valueOf(all, "velmora_oom_kills_total", {{"family", "proc:db"}}), 1.0);
    EXPECT_EQ(
        valueOf(all, "velmora_oom_kills_total", {{"family", "proc:cache"}, {"title", "cache"}}),
        1.0);
    EXPECT_EQ(find(all, "velmora_oom_kills_total")->type, prometheus::MetricType::Counter);
    // The cache runs on out of the ranking: its kill is shown, no verdict it does not have.
    EXPECT_FALSE(valueOf(all, "velmora_family_verdict", {{"family", "proc:cache"}}));
    EXPECT_EQ(valueOf(all, "velmora_family_gone", {{"family", "proc:db"}}), 1.0);
    view.monotonicTime = 30 + 601;
    view.outOfMemoryKills.clear();
    exporter.update(view);
    EXPECT_FALSE(
        valueOf(*exporter.metrics(), "velmora_oom_kills_total", {{"family", "proc:cache"}}));
}

TEST(FamilyExport, MachineGaugesAppearOnlyWhenKnown) {
    FamilyExport exporter({});
    LiveView view = viewAt(0, {});
    exporter.update(view);
    auto all = *exporter.metrics();
    EXPECT_EQ(find(all, "velmora_memory_exhaustion_seconds"), nullptr);
    EXPECT_EQ(find(all, "velmora_memory_pressure_ratio"), nullptr);
    EXPECT_EQ(valueOf(all, "velmora_memory_available_bytes", {}), 4.0 * 1024 * 1024 * 1024);

    view.forecast.exhaustionSeconds = 2400;
    view.machine.pressure = Pressure{1.5, 12.5, 0, 0};
    exporter.update(view);
    all = *exporter.metrics();
    EXPECT_EQ(valueOf(all, "velmora_memory_exhaustion_seconds", {}), 2400.0);
    EXPECT_EQ(valueOf(all, "velmora_memory_pressure_ratio", {}), 0.125);
}

TEST(FamilyExport, IsComposedWhenAskedForAndShowsTheLatestPassWhateverWasSkipped) {
    FamilyExport exporter({});
    EXPECT_TRUE(exporter.metrics()->empty()); // before the first pass: nothing, not a crash

    exporter.update(viewAt(10, {ranked("proc:app:1:2", "App", 100)}));
    auto first = exporter.metrics();
    EXPECT_EQ(exporter.metrics(), first); // asked again with no pass between: the same export

    // Passes nobody asked about, the last of them changing the figures and the machine's.
    exporter.update(viewAt(20, {ranked("proc:app:1:2", "App", 200)}));
    LiveView latest = viewAt(30, {ranked("proc:app:1:2", "App", 300, FindingVerdict::suspect, 70)});
    latest.machine.memory.availableKiB = 1024 * 1024;
    latest.watchedProcesses = 42;
    exporter.update(latest);

    auto now = exporter.metrics();
    ASSERT_NE(now, first);
    const std::map<std::string, std::string> anon = {{"family", "proc:app"}, {"memtype", "anon"}};
    EXPECT_EQ(valueOf(*now, "velmora_family_memory_bytes", anon), 300.0 * 1024 * 1024);
    EXPECT_EQ(valueOf(*now, "velmora_family_score", {{"family", "proc:app"}}), 70.0);
    EXPECT_EQ(
        valueOf(*now, "velmora_family_verdict", {{"family", "proc:app"}, {"verdict", "suspect"}}),
        1.0);
    EXPECT_EQ(valueOf(*now, "velmora_memory_available_bytes", {}), 1024.0 * 1024 * 1024);
    EXPECT_EQ(valueOf(*now, "velmora_watched_processes", {}), 42.0);
    EXPECT_EQ(valueOf(*now, "velmora_last_pass_timestamp_seconds", {}), 1.8e9 + 30);
    // A scrape still holding the earlier export reads it unchanged.
    EXPECT_EQ(valueOf(*first, "velmora_family_memory_bytes", anon), 100.0 * 1024 * 1024);
}

TEST(FamilyExport, HostileTitlesAreEscapedInTheTextAndTheProcessMetricsAreThere) {
    FamilyExport exporter({});
    exporter.update(viewAt(0, {ranked("proc:evil:1:1", "quote \" back \\ new\nline", 10)}));
    std::string text = textExposition(*exporter.metrics());
    EXPECT_NE(text.find(R"(title="quote \" back \\ new\nline")"), std::string::npos) << text;

    auto process = processMetrics();
    for (const char* name : {"process_cpu_seconds_total", "process_resident_memory_bytes",
                             "process_virtual_memory_bytes", "process_start_time_seconds",
                             "process_open_fds", "process_max_fds"}) {
        EXPECT_NE(find(process, name), nullptr) << name;
    }
    EXPECT_GT(find(process, "process_resident_memory_bytes")->metric[0].gauge.value, 0);
    EXPECT_GT(find(process, "process_start_time_seconds")->metric[0].gauge.value, 1.6e9);
}

TEST(FamilyExport, OpenDescriptorsAreCountedExactly) {
    auto openNow = [] {
        auto process = processMetrics();
        return find(process, "process_open_fds")->metric[0].gauge.value;
    };
    const double before = openNow();
    std::vector<int> opened;
    for (int i = 0; i < 64; ++i) {
        opened.push_back(::dup(STDERR_FILENO));
    }
    EXPECT_EQ(openNow(), before + 64);
    for (int fd : opened) {
        ::close(fd);
    }
    EXPECT_EQ(openNow(), before);
}

} // namespace
} // namespace velmora
