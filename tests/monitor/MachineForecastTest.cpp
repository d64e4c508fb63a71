// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/MachineForecast.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/ReliefPlanner.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/live/MemoryTrend.h"
#include "monitor/live/Sampler.h"
#include "monitor/proc/OomKillerConfig.h"
#include "monitor/proc/OomScores.h"
#include "tests/monitor/FakeProcTree.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr uint64_t kMiB = 1024; // in KiB
constexpr uint64_t kGiB = 1024 * kMiB;

// A deterministic noise source in [-1, 1].
class Noise {
public:
    double next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
    }

private:
    uint64_t state_ = 42;
};

// Feeds `seconds` one-second samples of reserve(t) and returns the trend.
template <class F> MemoryTrend trendOf(int seconds, F reserve) {
    MemoryTrend trend;
    for (int t = 0; t < seconds; ++t) {
        trend.add(1000.0 + t, static_cast<uint64_t>(std::max(0.0, reserve(t))));
    }
    return trend;
}

TEST(MemoryTrend, AFallingReserveRunsOutWhenTheLineReachesZero) {
    // 4 GiB falling by 4 MiB/s: after ten minutes 1696 MiB are left, 424 s at that rate.
    auto trend = trendOf(600, [](int t) { return 4.0 * kGiB - 4.0 * kMiB * t; });
    EXPECT_TRUE(trend.fallingSteadily());
    EXPECT_NEAR(trend.fit().slopeKiBPerSecond, -4.0 * kMiB, 1.0);
    ASSERT_TRUE(trend.exhaustionSeconds());
    EXPECT_NEAR(*trend.exhaustionSeconds(), (4096.0 - 4.0 * 599) / 4.0, 2.0);
}

TEST(MemoryTrend, NoiseNeitherHidesAFallNorInventsOne) {
    Noise noise;
    auto falling = trendOf(
        600, [&](int t) { return 6.0 * kGiB - 4.0 * kMiB * t + 96.0 * kMiB * noise.next(); });
    ASSERT_TRUE(falling.exhaustionSeconds());
    EXPECT_NEAR(falling.fit().slopeKiBPerSecond, -4.0 * kMiB, 0.4 * kMiB);
    EXPECT_NEAR(*falling.exhaustionSeconds(), (6144.0 - 4.0 * 599) / 4.0, 150.0);

    auto flat = trendOf(600, [&](int) { return 6.0 * kGiB + 256.0 * kMiB * noise.next(); });
    EXPECT_FALSE(flat.fallingSteadily());
    EXPECT_FALSE(flat.exhaustionSeconds());

    auto rising = trendOf(600, [](int t) { return 2.0 * kGiB + 1.0 * kMiB * t; });
    EXPECT_GT(rising.fit().slopeKiBPerSecond, 0);
    EXPECT_FALSE(rising.exhaustionSeconds());

    // A sawtooth (a cache filled and dropped every two minutes) does not fall steadily.
    auto sawtooth = trendOf(600, [](int t) { return 3.0 * kGiB - 8.0 * kMiB * (t % 120); });
    EXPECT_FALSE(sawtooth.exhaustionSeconds());
}

TEST(MemoryTrend, SaysNothingBeforeTwoMinutesAndForgetsWhatIsOlderThanTen) {
    auto young = trendOf(100, [](int t) { return 4.0 * kGiB - 8.0 * kMiB * t; });
    EXPECT_FALSE(young.exhaustionSeconds());

    // Twenty minutes: a fall, then flat for the last ten; only the flat part counts.
    MemoryTrend trend;
    for (int t = 0; t < 1200; ++t) {
        double kib = t < 600 ? 8.0 * kGiB - 4.0 * kMiB * t : 8.0 * kGiB - 2400.0 * kMiB;
        trend.add(t, static_cast<uint64_t>(kib));
    }
    EXPECT_FALSE(trend.exhaustionSeconds());
    EXPECT_LE(trend.fit().points, 61u);
    std::size_t bytes = trend.memoryBytes();
    for (int t = 1200; t < 5000; ++t) {
        trend.add(t, 4 * kGiB);
    }
    EXPECT_EQ(trend.memoryBytes(), bytes); // the ring does not grow
}

TEST(OomKillerConfig, OomdReadsTheOomSectionAndKeepsDefaultsForWhatItCannotRead) {
    OomdThresholds t;
    applyOomdConfig("[OOM]\n#SwapUsedLimit=10%\nSwapUsedLimit=80%\n"
                    "DefaultMemoryPressureLimit=bogus\nDefaultMemoryPressureDurationSec=1min 30s\n"
                    "[Other]\nSwapUsedLimit=5%\n",
                    t);
    EXPECT_EQ(t.swapUsedPercent, 80);
    EXPECT_EQ(t.pressurePercent, 60);
    EXPECT_EQ(t.pressureSeconds, 90);
    EXPECT_EQ(parseOomdPercent("50.5%"), 50.5);
    EXPECT_EQ(parseOomdPercent("600\u2030"), 60);
    EXPECT_FALSE(parseOomdPercent("150%"));
    EXPECT_FALSE(parseOomdPercent("60"));
    EXPECT_EQ(parseTimeSpan("20"), 20);
    EXPECT_EQ(parseTimeSpan("500ms"), 0.5);
    EXPECT_EQ(parseTimeSpan("2h"), 7200);
    EXPECT_FALSE(parseTimeSpan("soon"));
    EXPECT_FALSE(parseTimeSpan("-5s"));
}

TEST(OomKillerConfig, TimeSpansParseAsSystemdWritesThemBlanksIncluded) {
    EXPECT_EQ(parseTimeSpan("20 s"), 20);
    EXPECT_EQ(parseTimeSpan("1 min 30 s"), 90);
    EXPECT_EQ(parseTimeSpan(" 2h 5min "), 7500);
    EXPECT_EQ(parseTimeSpan("1.5 min"), 90);
    EXPECT_FALSE(parseTimeSpan("20 s s"));
    EXPECT_FALSE(parseTimeSpan("20 parsecs"));
    EXPECT_FALSE(parseTimeSpan("99999999999999999999999 days")) << "longer than ten years";
    EXPECT_FALSE(parseTimeSpan(std::string(400, '9') + "s")) << "no overflow";
    OomdThresholds t;
    applyOomdConfig("[OOM]\nDefaultMemoryPressureDurationSec = 20 s\n", t);
    EXPECT_EQ(t.pressureSeconds, 20);
}

TEST(OomKillerConfig, EarlyoomNumbersOutOfRangeAreIgnoredNotConverted) {
    EarlyoomThresholds t;
    applyEarlyoomArgs({"-M", "1e30", "-S", "18446744073709551616", "-m", "nan", "-s", "inf"}, t);
    EXPECT_EQ(t, EarlyoomThresholds{}) << "sizes beyond any machine, and no numbers at all";
    applyEarlyoomArgs({"-M", std::string(400, '9'), "-m", "100.5", "-s", "-3", "-S", "+7"}, t);
    EXPECT_EQ(t, EarlyoomThresholds{});
    applyEarlyoomArgs({"-M", "819200,409600", "-S1048576", "-m", "100", "-s", "0"}, t);
    EXPECT_EQ(t.memKiB, 819200u);
    EXPECT_EQ(t.swapKiB, 1048576u);
    EXPECT_EQ(t.memPercent, 100);
    EXPECT_EQ(t.swapPercent, 0);
}

TEST(OomKillerConfig, OnlyTheInstalledProgramIsTheDaemon) {
    EXPECT_EQ(oomDaemonNamed("earlyoom"), OomDaemon::earlyoom);
    EXPECT_EQ(oomDaemonNamed("systemd-oomd"), OomDaemon::systemdOomd);
    EXPECT_FALSE(oomDaemonNamed("earlyoom.sh"));
    for (const char* path : {"/usr/bin/earlyoom", "/usr/sbin/earlyoom", "/bin/earlyoom",
                             "/sbin/earlyoom", "/usr/bin/earlyoom (deleted)"}) {
        EXPECT_TRUE(isOomDaemonProgram(path, OomDaemon::earlyoom)) << path;
    }
    for (const char* path : {"/usr/lib/systemd/systemd-oomd", "/lib/systemd/systemd-oomd"}) {
        EXPECT_TRUE(isOomDaemonProgram(path, OomDaemon::systemdOomd)) << path;
    }
    for (const char* path : {"/home/me/bin/earlyoom", "earlyoom", "/usr/bin/../../tmp/earlyoom",
                             "/usr/local/bin/earlyoom", "/usr/bin/systemd-oomd", "/usr/bin/"}) {
        EXPECT_FALSE(isOomDaemonProgram(path, OomDaemon::earlyoom)) << path;
    }
    EXPECT_FALSE(isOomDaemonProgram("/tmp/systemd-oomd", OomDaemon::systemdOomd));
}

TEST(OomKillerConfig, EarlyoomReadsItsArgumentsFromTheCommandLineOrItsDefaultsFile) {
    EarlyoomThresholds t;
    applyEarlyoomArgs({"-r", "3600", "-m", "5,2", "-s15", "--avoid", "^(X|plasma)$"}, t);
    EXPECT_EQ(t.memPercent, 5);
    EXPECT_EQ(t.swapPercent, 15);
    EXPECT_FALSE(t.memKiB);

    auto args = earlyoomArgsOf("# Default settings for earlyoom.\n"
                               "EARLYOOM_ARGS=\"-r 3600\"\n"
                               "EARLYOOM_ARGS=\"-m 4 -M 819200 -n\" # the later one counts\n");
    ASSERT_TRUE(args);
    EXPECT_EQ(*args, (std::vector<std::string>{"-m", "4", "-M", "819200", "-n"}));
    EXPECT_FALSE(earlyoomArgsOf("#EARLYOOM_ARGS=\"-m 1\"\n"));

    OomKiller earlyoom;
    earlyoom.daemon = OomDaemon::earlyoom;
    EXPECT_EQ(describeOomKiller(earlyoom, true, 16 * kGiB),
              "earlyoom ends the largest process below 10% available memory and 10% free swap");
    EXPECT_EQ(describeOomKiller(earlyoom, false, 16 * kGiB),
              "earlyoom ends the largest process below 10% available memory");
    applyEarlyoomArgs(*args, earlyoom.earlyoom);
    // -M 800 MiB is below 4% of 32 GiB, so it is the one that applies.
    EXPECT_EQ(describeOomKiller(earlyoom, false, 32 * kGiB),
              "earlyoom ends the largest process below 800.0 MB available memory");
    EXPECT_EQ(describeOomKiller(earlyoom, false, 8 * kGiB),
              "earlyoom ends the largest process below 4% available memory");

    OomKiller oomd;
    oomd.daemon = OomDaemon::systemdOomd;
    EXPECT_EQ(describeOomKiller(oomd, true, 16 * kGiB),
              "systemd-oomd acts above 60% memory pressure for 30 s or 90% swap used");
    EXPECT_EQ(describeOomKiller(oomd, false, 16 * kGiB),
              "systemd-oomd acts above 60% memory pressure for 30 s");
}

// A fake /proc and /etc with processes that carry an oom_score and a comm.
class FakeMachine {
public:
    FakeMachine() {
        std::filesystem::create_directories(proc);
        std::filesystem::create_directories(etc);
        setMemory(16 * kGiB, 8 * kGiB, 0, 0);
    }

    void write(const std::string& path, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
    }
    void setMemory(uint64_t total, uint64_t available, uint64_t swapTotal,
                   uint64_t swapFree) const {
        write(proc + "/meminfo", "MemTotal: " + std::to_string(total) +
                                     " kB\nMemAvailable: " + std::to_string(available) +
                                     " kB\nSwapTotal: " + std::to_string(swapTotal) +
                                     " kB\nSwapFree: " + std::to_string(swapFree) + " kB\n");
    }
    void addProcess(int pid, int ppid, const std::string& exe, uint64_t residentPages,
                    std::optional<int> oomScore, const std::string& cmdline = {}) const {
        std::string dir = proc + "/" + std::to_string(pid) + "/";
        write(dir + "stat", std::to_string(pid) + " (" + exe + ") S " + std::to_string(ppid) +
                                " 1 1 0 -1 0 0 0 0 0 10 5 0 0 20 0 1 0 " +
                                std::to_string(1000 + pid) + " 1 1 0\n");
        write(dir + "statm", "100000 " + std::to_string(residentPages + 100) + " 100 1 0 1 0\n");
        write(dir + "cmdline", cmdline.empty() ? "/usr/bin/" + exe : cmdline);
        write(dir + "cgroup", "0::/\n");
        write(dir + "status", "Name:\t" + exe + "\nVmSwap:\t0 kB\n");
        write(dir + "comm", exe + "\n");
        if (oomScore) {
            write(dir + "oom_score", std::to_string(*oomScore) + "\n");
        }
        std::filesystem::create_symlink("/usr/bin/" + exe, dir + "exe");
    }
    void setOomScore(int pid, int score) const {
        write(proc + "/" + std::to_string(pid) + "/oom_score", std::to_string(score) + "\n");
    }
    // Where /proc/PID/exe points; none: the link cannot be read (another user's process).
    void setExe(int pid, std::optional<std::string> target) const {
        std::string link = proc + "/" + std::to_string(pid) + "/exe";
        std::filesystem::remove(link);
        if (target) {
            std::filesystem::create_symlink(*target, link);
        }
    }

    testing::TemporaryDirectory directory;
    std::string base = directory.path().string();
    std::string proc = (directory / "proc").string();
    std::string etc = (directory / "etc").string();
};

// The configuration root is the fake machine's base: its etc/, run/ and usr/ are there.
SamplerOptions optionsFor(const FakeMachine& machine) {
    SamplerOptions options = test::samplerOptionsFor(machine.proc);
    options.configRoot = machine.base;
    return options;
}

const uint64_t kPageKiB = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE) / 1024);

TEST(MachineForecaster, SweepsOomScoresEveryTenSecondsAndNamesTheHighestOnesFamily) {
    FakeMachine machine;
    machine.addProcess(100, 1, "browser", 1000, 300);
    machine.addProcess(101, 100, "browser", 9000, 700); // the browser's heaviest child
    machine.addProcess(200, 1, "editor", 4000, 500);
    machine.addProcess(300, 1, "daemon", 100, std::nullopt); // unreadable: left out
    Sampler sampler(optionsFor(machine));

    std::vector<std::size_t> reads;
    std::shared_ptr<const LiveView> view;
    for (int second = 1; second <= 25; ++second) {
        view = sampler.pass(second, 0);
        reads.push_back(view->stats.oomScore);
    }
    // The pass at 1 s reads all three readable files; the sweeps at 11 and 21 s keep the
    // scores of the processes whose memory stood still; the other passes read none.
    for (std::size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(reads[i], i == 0 ? 3u : 0u) << "pass at " << i + 1 << " s";
    }
    EXPECT_EQ(view->forecast.oomScoresRead, 3u);
    ASSERT_TRUE(view->forecast.firstVictim);
    const OomVictimView& victim = *view->forecast.firstVictim;
    EXPECT_EQ(victim.pid, 101);
    EXPECT_EQ(victim.oomScore, 700);
    EXPECT_TRUE(victim.ours);
    EXPECT_EQ(victim.familyTitle, "browser");
    EXPECT_EQ(victim.footprintKiB, 9000 * kPageKiB);

    // A score that moves while the memory stands still (another process set its
    // oom_score_adj) is read again within the minute.
    machine.setOomScore(200, 900);
    view = sampler.pass(26, 0);
    EXPECT_EQ(view->forecast.firstVictim->pid, 101);
    double second = 26;
    while (second < 61 && view->forecast.firstVictim->pid != 200) {
        view = sampler.pass(second += 1, 0);
    }
    EXPECT_EQ(view->forecast.firstVictim->pid, 200);
    EXPECT_LE(second, 61);

    // One whose memory moved is read again at the next sweep.
    machine.write(machine.proc + "/100/statm", "100000 20100 100 1 0 1 0\n");
    machine.setOomScore(100, 1200);
    view = sampler.pass(second += 1, 0);
    for (int i = 0; i < 10 && view->forecast.firstVictim->pid != 100; ++i) {
        view = sampler.pass(second += 1, 0);
    }
    EXPECT_EQ(view->forecast.firstVictim->pid, 100);
    EXPECT_EQ(view->stats.oomScore, 1u);
}

TEST(MachineForecaster, KernelThreadsAreNeitherScoredNorNamed) {
    FakeMachine machine;
    machine.addProcess(100, 1, "editor", 1000, 300);
    // A kernel thread among the user's PIDs (a monitor run as root): no exe, no command line.
    machine.addProcess(40, 2, "kworker/0:1", 0, 0, "");
    machine.write(machine.proc + "/40/cmdline", "");
    machine.setExe(40, std::nullopt);
    Sampler sampler(optionsFor(machine));
    auto view = sampler.pass(1, 0);
    EXPECT_EQ(view->stats.oomScore, 1u);
    EXPECT_EQ(view->stats.comm, 1u);
    EXPECT_EQ(view->forecast.firstVictim->pid, 100);
}

TEST(MachineForecaster, TheTrendAloneReadsNoProcessScoreOrName) {
    FakeMachine machine;
    machine.addProcess(100, 1, "browser", 1000, 700);
    machine.addProcess(50, 1, "earlyoom", 10, 0, std::string("/usr/bin/earlyoom\0-m\0005", 22));
    SamplerOptions options = optionsFor(machine);
    options.forecastVictims = false;
    Sampler sampler(options);
    std::shared_ptr<const LiveView> view;
    std::size_t scores = 0;
    std::size_t names = 0;
    // Available memory falls 4 MiB/s from 8 GiB for ten minutes.
    for (int second = 1; second <= 600; ++second) {
        machine.setMemory(16 * kGiB, 8 * kGiB - 4 * kMiB * static_cast<uint64_t>(second), 0, 0);
        view = sampler.pass(second, 0);
        scores += view->stats.oomScore;
        names += view->stats.comm;
    }
    EXPECT_EQ(scores, 0u);
    EXPECT_EQ(names, 0u);
    EXPECT_FALSE(view->forecast.firstVictim);
    EXPECT_FALSE(view->forecast.killer);
    ASSERT_TRUE(view->forecast.exhaustionSeconds) << "the trend is kept all the same";
    EXPECT_NEAR(*view->forecast.exhaustionSeconds, (8192.0 - 2400) / 4, 30);
}

TEST(MachineForecaster, TiesGoToTheLargerFootprintAndOtherUsersHaveNoFamily) {
    FakeMachine machine;
    machine.addProcess(100, 1, "small", 1000, 600);
    machine.addProcess(200, 1, "large", 8000, 600);
    machine.addProcess(300, 1, "shielded", 90000, 0); // oom_score_adj -1000
    Sampler sampler(optionsFor(machine));
    auto view = sampler.pass(1, 0);
    ASSERT_TRUE(view->forecast.firstVictim);
    EXPECT_EQ(view->forecast.firstVictim->pid, 200);

    // The same tree seen by another user: the top process is not ours.
    machine.setOomScore(300, 800);
    ProcRoot root(machine.proc);
    ProcessTable table(root, ::getuid() + 1);
    MachineForecaster forecaster(machine.base);
    PassStatistics stats;
    table.refresh(
        1, 2, 10, [](const ProcessRecord&) { return false; }, stats);
    MachineState state = readMachineState(root, stats);
    forecaster.update(1, state, root, table, stats);
    ASSERT_TRUE(forecaster.view().firstVictim);
    EXPECT_FALSE(forecaster.view().firstVictim->ours);
    EXPECT_EQ(forecaster.view().firstVictim->name, "shielded");
    EXPECT_TRUE(forecaster.view().firstVictim->familyKey.empty());
}

TEST(MachineForecaster, FindsEarlyoomAndItsThresholds) {
    FakeMachine machine;
    machine.addProcess(100, 1, "app", 1000, 500);
    machine.addProcess(50, 1, "earlyoom", 10, 0,
                       std::string("/usr/bin/earlyoom\0-m\0005\0-s\00020", 28));
    machine.write(machine.etc + "/default/earlyoom", "EARLYOOM_ARGS=\"-m 2 -s 2\"\n");
    Sampler sampler(optionsFor(machine));
    auto view = sampler.pass(1, 0);
    ASSERT_TRUE(view->forecast.killer);
    EXPECT_EQ(view->forecast.killer->daemon, OomDaemon::earlyoom);
    // The running command line wins over the defaults file.
    EXPECT_EQ(view->forecast.killer->earlyoom.memPercent, 5);
    EXPECT_EQ(view->forecast.killer->earlyoom.swapPercent, 20);
    EXPECT_GE(view->stats.comm, 2u);
    EXPECT_EQ(view->stats.comm, view->forecast.commsRead);

    // Without a command line to read, the defaults file; the daemon is looked up every minute.
    FakeMachine quiet;
    quiet.addProcess(50, 1, "earlyoom", 10, 0, std::string("\0", 1));
    quiet.write(quiet.proc + "/50/cmdline", "");
    quiet.write(quiet.etc + "/default/earlyoom", "EARLYOOM_ARGS=\"-m 3 -s 4\"\n");
    Sampler other(optionsFor(quiet));
    view = other.pass(1, 0);
    ASSERT_TRUE(view->forecast.killer);
    EXPECT_EQ(view->forecast.killer->earlyoom.memPercent, 3);
    EXPECT_EQ(view->forecast.killer->configFiles,
              std::vector<std::string>{quiet.etc + "/default/earlyoom"});
    view = other.pass(11, 0);
    EXPECT_EQ(view->stats.comm, 0u);
    view = other.pass(61, 0);
    EXPECT_GT(view->stats.comm, 0u);

    // It stops: gone at the next sweep.
    std::filesystem::remove_all(quiet.proc + "/50");
    view = other.pass(71, 0);
    EXPECT_FALSE(view->forecast.killer);
}

TEST(MachineForecaster, FindsSystemdOomdWithAndWithoutItsConfiguration) {
    FakeMachine bare;
    bare.addProcess(60, 1, "systemd-oomd", 10, 0);
    Sampler plain(optionsFor(bare));
    auto view = plain.pass(1, 0);
    ASSERT_TRUE(view->forecast.killer);
    EXPECT_EQ(view->forecast.killer->daemon, OomDaemon::systemdOomd);
    EXPECT_EQ(view->forecast.killer->oomd, OomdThresholds{});
    EXPECT_TRUE(view->forecast.killer->configFiles.empty());

    FakeMachine configured;
    configured.addProcess(60, 1, "systemd-oomd", 10, 0);
    configured.write(configured.etc + "/systemd/oomd.conf",
                     "[OOM]\nSwapUsedLimit=80%\nDefaultMemoryPressureLimit=50%\n");
    configured.write(configured.etc + "/systemd/oomd.conf.d/20-late.conf",
                     "[OOM]\nDefaultMemoryPressureLimit=70%\n");
    configured.write(configured.etc + "/systemd/oomd.conf.d/10-early.conf",
                     "[OOM]\nDefaultMemoryPressureLimit=40%\nDefaultMemoryPressureDurationSec="
                     "20s\n");
    configured.write(configured.etc + "/systemd/oomd.conf.d/README", "[OOM]\nSwapUsedLimit=1%\n");
    Sampler sampler(optionsFor(configured));
    view = sampler.pass(1, 0);
    ASSERT_TRUE(view->forecast.killer);
    EXPECT_EQ(view->forecast.killer->oomd, (OomdThresholds{80, 70, 20}));
    EXPECT_EQ(view->forecast.killer->configFiles.size(), 3u);
}

TEST(MachineForecaster, ANameAloneIsNoDaemonItsProgramIs) {
    FakeMachine machine;
    machine.addProcess(40, 1, "earlyoom", 10, 0, std::string("earlyoom\0-m\0009", 13));
    machine.setExe(40, "/home/me/bin/earlyoom"); // a user's own script of that name
    Sampler sampler(optionsFor(machine));
    auto view = sampler.pass(1, 0);
    EXPECT_FALSE(view->forecast.killer);

    // Root's earlyoom: its exe link is closed to us, its command line names the program.
    machine.addProcess(50, 1, "earlyoom", 10, 0, std::string("/usr/bin/earlyoom\0-m\0004", 22));
    machine.setExe(50, std::nullopt);
    view = sampler.pass(61, 0);
    ASSERT_TRUE(view->forecast.killer);
    EXPECT_EQ(view->forecast.killer->pid, 50);
    EXPECT_EQ(view->forecast.killer->earlyoom.memPercent, 4);

    // Without the exe link, only an absolute program path counts.
    FakeMachine relative;
    relative.addProcess(50, 1, "earlyoom", 10, 0, std::string("earlyoom\0-m\0004", 13));
    relative.setExe(50, std::nullopt);
    relative.addProcess(60, 1, "systemd-oomd", 10, 0);
    relative.setExe(60, "/tmp/systemd-oomd");
    Sampler other(optionsFor(relative));
    EXPECT_FALSE(other.pass(1, 0)->forecast.killer);

    // What told them apart is stated.
    view = sampler.pass(62, 0);
    std::vector<std::string> read = forecastFilesRead(*view);
    EXPECT_NE(
        std::find(read.begin(), read.end(),
                  machine.proc +
                      "/50/cmdline, to tell whether it runs an out-of-memory daemon's program"),
        read.end());
}

TEST(MachineForecaster, SystemdOomdSettingsAreReadAsSystemdReadsThem) {
    FakeMachine machine;
    machine.addProcess(60, 1, "systemd-oomd", 10, 0);
    machine.setExe(60, "/usr/lib/systemd/systemd-oomd");
    const std::string& root = machine.base;
    // The main file: the first of /etc, /run, /usr/local/lib, /usr/lib that has one.
    machine.write(root + "/usr/lib/systemd/oomd.conf", "[OOM]\nSwapUsedLimit=70%\n");
    machine.write(root + "/usr/local/lib/systemd/oomd.conf", "[OOM]\nSwapUsedLimit=75%\n");
    // Drop-ins from every folder, sorted by name; a name in a more important folder masks it
    // elsewhere, also as a link to /dev/null.
    machine.write(root + "/usr/lib/systemd/oomd.conf.d/10-vendor.conf",
                  "[OOM]\nDefaultMemoryPressureLimit=10%\n");
    machine.write(root + "/etc/systemd/oomd.conf.d/10-vendor.conf",
                  "[OOM]\nDefaultMemoryPressureLimit=45%\n");
    machine.write(root + "/usr/lib/systemd/oomd.conf.d/05-first.conf",
                  "[OOM]\nDefaultMemoryPressureLimit=20%\nDefaultMemoryPressureDurationSec=5s\n");
    machine.write(root + "/run/systemd/oomd.conf.d/20-runtime.conf",
                  "[OOM]\nDefaultMemoryPressureDurationSec=1 min 15 s\n");
    machine.write(root + "/usr/lib/systemd/oomd.conf.d/30-masked.conf",
                  "[OOM]\nSwapUsedLimit=1%\n");
    std::filesystem::create_directories(root + "/etc/systemd/oomd.conf.d");
    std::filesystem::create_symlink("/dev/null", root + "/etc/systemd/oomd.conf.d/30-masked.conf");
    Sampler sampler(optionsFor(machine));
    auto view = sampler.pass(1, 0);
    ASSERT_TRUE(view->forecast.killer);
    EXPECT_EQ(view->forecast.killer->oomd, (OomdThresholds{75, 45, 75}));
    EXPECT_EQ(view->forecast.killer->configFiles,
              (std::vector<std::string>{root + "/usr/local/lib/systemd/oomd.conf",
                                        root + "/usr/lib/systemd/oomd.conf.d/05-first.conf",
                                        root + "/etc/systemd/oomd.conf.d/10-vendor.conf",
                                        root + "/run/systemd/oomd.conf.d/20-runtime.conf"}));

    // /etc's main file comes first; masked by /dev/null, there is no main file at all.
    machine.write(root + "/etc/systemd/oomd.conf", "[OOM]\nSwapUsedLimit=85%\n");
    view = sampler.pass(61, 0);
    EXPECT_EQ(view->forecast.killer->oomd.swapUsedPercent, 85);
    std::filesystem::remove(root + "/etc/systemd/oomd.conf");
    std::filesystem::create_symlink("/dev/null", root + "/etc/systemd/oomd.conf");
    view = sampler.pass(121, 0);
    EXPECT_EQ(view->forecast.killer->oomd.swapUsedPercent, 90);
}

// Runs the sampler over `seconds` one-second passes while memory changes, then composes.
struct Scenario {
    explicit Scenario(FakeMachine& fake) : sampler(optionsFor(fake)) {}
    std::shared_ptr<const LiveView> run(int seconds, const std::function<void(int)>& memoryAt) {
        for (int t = 1; t <= seconds; ++t) {
            memoryAt(t);
            view = sampler.pass(t, 1.7e9 + t);
        }
        return view;
    }
    PopoverSnapshot compose(std::optional<std::string> selected = std::nullopt) {
        interaction.selectedKey = std::move(selected);
        ComposeContext context{view.get(), config, interaction, paths};
        return composeSnapshot(context);
    }
    Sampler sampler;
    std::shared_ptr<const LiveView> view;
    ConfigStore config{"/nonexistent/velmora/config.json"};
    InteractionState interaction;
    MonitorPaths paths;
};

TEST(MemoryForecast, SwapDrainingWithoutPsiIsForecastAndComposedEverywhere) {
    FakeMachine fake;
    fake.addProcess(100, 1, "firefox", 786432, 812); // 3 GiB with 4 KiB pages
    fake.addProcess(200, 1, "editor", 1000, 100);
    fake.addProcess(60, 1, "systemd-oomd", 10, 0);
    // Available memory holds at 4 GiB of 32 while 4 GiB of swap drain at 2 MiB/s.
    Scenario scenario(fake);
    auto view = scenario.run(600, [&](int t) {
        fake.setMemory(32 * kGiB, 4 * kGiB, 4 * kGiB, 4 * kGiB - 2 * kMiB * t);
    });
    EXPECT_FALSE(view->machine.pressure); // no /proc/pressure/memory
    ASSERT_TRUE(view->forecast.exhaustionSeconds);
    // 8 GiB - 1200 MiB left, falling 2 MiB/s: about 3496 s, under the hour.
    EXPECT_NEAR(*view->forecast.exhaustionSeconds, (8192.0 - 1200) / 2, 30);

    PopoverSnapshot snapshot = scenario.compose();
    const std::string minutes =
        std::to_string(static_cast<int>(std::lround(*view->forecast.exhaustionSeconds / 60)));
    EXPECT_EQ(snapshot.systemState.headroomLabel, "4.0 GB available of 32.0 GB");
    EXPECT_EQ(snapshot.systemState.scopeLabel, "Runs out in ~" + minutes + " min");
    ASSERT_TRUE(snapshot.memoryForecast);
    const MemoryForecastSnapshot& forecast = *snapshot.memoryForecast;
    ASSERT_TRUE(forecast.exhaustionSeconds);
    EXPECT_LT(*forecast.exhaustionSeconds, 3600u);
    EXPECT_EQ(forecast.exhaustionText, "Memory runs out in about " +
                                           std::to_string(*forecast.exhaustionSeconds / 60) +
                                           " min at this rate");
    ASSERT_TRUE(scenario.sampler.table().find(100));
    std::string key = scenario.sampler.table().find(100)->familyKey;
    EXPECT_EQ(forecast.firstVictimKey, key);
    EXPECT_EQ(forecast.firstVictimText,
              "First to be ended if memory runs out: firefox, " + formatKiB(786432 * kPageKiB));
    EXPECT_EQ(forecast.killerText,
              "systemd-oomd acts above 60% memory pressure for 30 s or 90% swap used");

    // The relief plan appears although 12.5% is left and nothing is under pressure.
    ASSERT_TRUE(snapshot.relief);
    EXPECT_EQ(snapshot.relief->headline, "Memory runs out in ~" + minutes + " min");
    EXPECT_NE(snapshot.relief->summary.find(*forecast.exhaustionText), std::string::npos);
    EXPECT_NE(snapshot.relief->summary.find(*forecast.firstVictimText), std::string::npos);
    EXPECT_NE(snapshot.relief->summary.find(*forecast.killerText), std::string::npos);
    ASSERT_FALSE(snapshot.relief->candidates.empty());
    EXPECT_EQ(snapshot.relief->candidates[0].key, key);
    EXPECT_NE(snapshot.relief->candidates[0].detail.find("first to be ended"), std::string::npos);

    // What was read is stated.
    const auto& read = snapshot.trustAccess.filesReadLastPass;
    EXPECT_NE(std::find(read.begin(), read.end(),
                        fake.proc + "/PID/oom_score for 3 processes every 10 s, or once a "
                                    "minute for your own processes whose memory stands still"),
              read.end());

    // The family's detail says the kernel ends it first.
    PopoverSnapshot detailed = scenario.compose(key);
    ASSERT_TRUE(detailed.selectedDetail);
    const auto& reasons = detailed.selectedDetail->whyBlock.reasons;
    ASSERT_FALSE(reasons.empty());
    EXPECT_EQ(reasons.back(), *forecast.exhaustionText +
                                  "; then the kernel ends one of this app's processes first.");
    const auto& evidence = detailed.selectedDetail->diagnosticsBlock.evidenceLines;
    EXPECT_EQ(evidence.back(), "PID 100 (firefox) has the highest oom_score on this machine "
                               "(812): the kernel ends it first if memory runs out.");
}

TEST(MemoryForecast, NoSwapAndAFlatOrSlowReserveStateNoForecast) {
    FakeMachine fake;
    fake.addProcess(100, 1, "app", 1000, 300);
    fake.addProcess(50, 1, "earlyoom", 10, 0);
    Scenario flat(fake);
    Noise noise;
    auto view = flat.run(300, [&](int) {
        fake.setMemory(16 * kGiB, static_cast<uint64_t>(8.0 * kGiB + 64.0 * kMiB * noise.next()), 0,
                       0);
    });
    EXPECT_FALSE(view->forecast.exhaustionSeconds);
    PopoverSnapshot snapshot = flat.compose();
    EXPECT_EQ(snapshot.systemState.headroomLabel, "8.0 GB available of 16.0 GB");
    EXPECT_EQ(snapshot.systemState.scopeLabel, "2 same-user processes in 2 families");
    EXPECT_FALSE(snapshot.relief);
    ASSERT_TRUE(snapshot.memoryForecast);
    EXPECT_FALSE(snapshot.memoryForecast->exhaustionSeconds);
    EXPECT_FALSE(snapshot.memoryForecast->exhaustionText);
    // No swap: earlyoom acts on memory alone.
    EXPECT_EQ(snapshot.memoryForecast->killerText,
              "earlyoom ends the largest process below 10% available memory");

    // Falling steadily, without swap, but more than an hour away: not stated.
    FakeMachine slow;
    slow.addProcess(100, 1, "app", 1000, 300);
    Scenario slowly(slow);
    view = slowly.run(600, [&](int t) {
        slow.setMemory(16 * kGiB, 8 * kGiB - kMiB * static_cast<uint64_t>(t), 0, 0);
    });
    ASSERT_TRUE(view->forecast.exhaustionSeconds);
    EXPECT_GT(*view->forecast.exhaustionSeconds, 3600);
    snapshot = slowly.compose();
    EXPECT_EQ(snapshot.systemState.scopeLabel.find("Runs out"), std::string::npos);
    ASSERT_TRUE(snapshot.memoryForecast); // the first victim is still known
    EXPECT_FALSE(snapshot.memoryForecast->exhaustionSeconds);
    EXPECT_FALSE(snapshot.memoryForecast->killerText);
}

TEST(MemoryForecast, ACloseForecastTurnsThePlanIntoACallToActAndNothingKnownSendsNoRecord) {
    LiveView view;
    view.machine.valid = true;
    view.machine.memory = {16 * kGiB, 6 * kGiB, 0, 0};
    FamilyView editor;
    editor.key = "editor";
    editor.title = "Editor";
    editor.footprintKiB = 2 * kGiB;
    view.families.push_back(editor);
    ConfigStore config{"/nonexistent/velmora/config.json"};
    InteractionState interaction;
    MonitorPaths paths;
    ComposeContext context{&view, config, interaction, paths};
    EXPECT_FALSE(memoryForecastOf(view));
    EXPECT_FALSE(planRelief(context)); // plenty of headroom, no forecast

    view.forecast.exhaustionSeconds = 4000; // more than an hour: not stated
    EXPECT_FALSE(memoryForecastOf(view));
    EXPECT_FALSE(planRelief(context));

    view.forecast.exhaustionSeconds = 1800;
    auto plan = planRelief(context);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->urgency, ReliefUrgencyTone::advisory);
    EXPECT_EQ(plan->headline, "Memory runs out in ~30 min");

    view.forecast.exhaustionSeconds = 600;
    plan = planRelief(context);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->urgency, ReliefUrgencyTone::actNow);
    EXPECT_EQ(plan->summary, "Memory runs out in about 10 min at this rate. Quitting the "
                             "recommended apps gracefully gives their memory back.");
    // The machine's own count of kills is told as a number: it names no application.
    view.machineOomKills = 3;
    EXPECT_EQ(planRelief(context)->summary,
              "Memory runs out in about 10 min at this rate. Quitting the recommended apps "
              "gracefully gives their memory back. 3 out-of-memory kills on this machine since "
              "boot.");
    view.machineOomKills = 0;
    EXPECT_EQ(planRelief(context)->summary, plan->summary);

    view.forecast.exhaustionSeconds = 20;
    EXPECT_EQ(planRelief(context)->headline, "Memory runs out in under a minute");
    SystemStateSnapshot header;
    ASSERT_TRUE(setForecastScope(header, view));
    EXPECT_EQ(header.scopeLabel, "Runs out in < 1 min");
    auto forecast = memoryForecastOf(view);
    ASSERT_TRUE(forecast);
    EXPECT_EQ(forecast->exhaustionSeconds, 20u);
    EXPECT_EQ(forecast->exhaustionText, "Memory runs out in under a minute at this rate");
    EXPECT_FALSE(forecast->firstVictimKey);
}

TEST(MemoryForecast, RowsCarryTheirFootprintAndHowLongTheyHaveBeenGrowing) {
    FakeMachine fake;
    fake.addProcess(200, 1, "leaky", 4096, 400);
    fake.addProcess(300, 1, "steady", 65536, 300);
    Scenario scenario(fake);
    scenario.run(20, [&](int t) {
        fake.write(fake.proc + "/200/statm",
                   "100000 " + std::to_string(4096 + 100 + t * 1024) + " 100 1 0 1 0\n");
    });
    PopoverSnapshot snapshot = scenario.compose();
    ASSERT_FALSE(snapshot.rows.empty());
    const FindingSnapshot& row = snapshot.rows.front();
    EXPECT_EQ(row.title, "leaky");
    EXPECT_EQ(row.footprintLabel, formatKiB((4096 + 20 * 1024) * kPageKiB));
    EXPECT_EQ(row.growthSpanLabel, "7 s"); // the eight-bucket window, growing all along
}

TEST(MemoryForecast, UnknownMemoryIsNoForecastAndNoRunaway) {
    FakeMachine fake;
    fake.addProcess(200, 1, "leaky", 4096, 400);
    Scenario scenario(fake);
    // The leak grows 4 MiB/s while available memory falls as fast from 2 GiB: a runaway.
    auto pass = [&](int t, bool known) {
        fake.write(fake.proc + "/200/statm",
                   "100000 " + std::to_string(4096 + 100 + t * 1024) + " 100 1 0 1 0\n");
        if (known) {
            fake.setMemory(16 * kGiB, 2 * kGiB - 4 * kMiB * static_cast<uint64_t>(t), 0, 0);
        }
        scenario.view = scenario.sampler.pass(t, 1.7e9 + t);
        return scenario.view;
    };
    std::shared_ptr<const LiveView> view;
    for (int t = 1; t <= 150; ++t) {
        view = pass(t, true);
    }
    ASSERT_TRUE(view->forecast.exhaustionSeconds);
    ASSERT_FALSE(view->families.empty());
    ASSERT_EQ(view->families.front().assessment.verdict, FindingVerdict::criticalRunaway);

    // /proc/meminfo loses MemAvailable (an old kernel, a broken container), then cannot be read.
    int t = 150;
    for (bool readable : {true, false}) {
        if (readable) {
            fake.write(fake.proc + "/meminfo", "MemTotal: 16777216 kB\nMemFree: 100 kB\n");
        } else {
            std::filesystem::remove(fake.proc + "/meminfo");
        }
        for (int end = t + 5; t < end;) {
            view = pass(++t, false);
        }
        EXPECT_FALSE(view->machine.valid);
        EXPECT_FALSE(view->forecast.exhaustionSeconds);
        for (const FamilyView& family : view->families) {
            EXPECT_NE(family.assessment.verdict, FindingVerdict::criticalRunaway) << family.title;
            EXPECT_FALSE(family.assessment.exhaustionSeconds) << family.title;
        }
        PopoverSnapshot snapshot = scenario.compose();
        EXPECT_EQ(snapshot.systemState.scopeLabel, "Memory forecast unavailable");
        EXPECT_EQ(snapshot.systemState.headroomLabel, "Headroom unavailable");
        EXPECT_NE(snapshot.globalTone, SnapshotTone::critical);
        EXPECT_TRUE(!snapshot.memoryForecast || !snapshot.memoryForecast->exhaustionSeconds);
    }
}

} // namespace
} // namespace velmora
