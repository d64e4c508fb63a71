// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of "Find where it leaks" for the program it looks at, measured on where_leaker
// --work (flat out: every unit allocates and frees sixteen buffers, every 256th leaks 4 KiB;
// it prints how many units it has done four times a second), once allocating as fast as it can
// and once with arithmetic between the allocations (--compute), as most programs have.
//
// Each round: the work rate untracked, then `velmora where PID --progress` with the real
// heaptrack and gdb, timing the press to attached, the tracking, and the end of tracking to the
// sites; the work rate while tracked (its first and last half second left out), and again
// after heaptrack has been detached. Prints one line per round and the medians.
//
//   where_slowdown [--seconds 10] [--rounds 3] [--window 5] [--compute 0,3000]

#include "base/Clocks.h"
#include "model/JsonText.h"
#include "monitor/where/ToolProcess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>

using namespace velmora;

namespace {

// The leaker's counter, read as it comes: (time, units) samples.
class WorkMeter {
public:
    explicit WorkMeter(ToolProcess& leaker) : leaker_(leaker) {}

    void read() {
        leaker_.readAvailable(buffer_);
        for (std::size_t nl; (nl = buffer_.find('\n')) != std::string::npos;) {
            samples_.push_back(
                {steadySeconds(), std::strtod(buffer_.substr(0, nl).c_str(), nullptr)});
            buffer_.erase(0, nl + 1);
        }
    }
    // Reads until `until`, waiting on the leaker's output (or `other`, when readable, returns).
    void readUntil(double until, int other = -1) {
        while (steadySeconds() < until) {
            pollfd fds[2] = {{leaker_.outputFd(), POLLIN, 0}, {other, POLLIN, 0}};
            ::poll(fds, 2, static_cast<int>((until - steadySeconds()) * 1000) + 1);
            read();
            if (other >= 0 && (fds[1].revents & (POLLIN | POLLHUP)) != 0) {
                return;
            }
        }
    }
    // Units per second between two moments, from the samples nearest inside them.
    double rate(double from, double to) const {
        const Sample* first = nullptr;
        const Sample* last = nullptr;
        for (const Sample& sample : samples_) {
            if (sample.time >= from && first == nullptr) {
                first = &sample;
            }
            if (sample.time <= to) {
                last = &sample;
            }
        }
        if (first == nullptr || last == nullptr || last->time <= first->time) {
            return 0;
        }
        return (last->units - first->units) / (last->time - first->time);
    }

private:
    struct Sample {
        double time;
        double units;
    };
    ToolProcess& leaker_;
    std::string buffer_;
    std::vector<Sample> samples_;
};

struct Round {
    double untracked = 0;
    double tracked = 0;
    double after = 0;
    double attachSeconds = 0;
    double finishSeconds = 0;
    double pressToSites = 0;
    std::size_t sites = 0;
    bool ok = false;
};

Round measure(double seconds, double window, const std::string& artifacts,
              const std::string& compute) {
    Round round;
    std::string error;
    auto leaker = ToolProcess::start(
        VELMORA_WHERE_LEAKER,
        {"where_leaker", "--work", "--compute", compute, "--exit-after", "600"}, {}, error);
    if (!leaker) {
        std::fprintf(stderr, "where_slowdown: %s\n", error.c_str());
        return round;
    }
    WorkMeter meter(*leaker);
    double start = steadySeconds();
    meter.readUntil(start + 1 + window); // a second of warm-up, then the untracked window
    round.untracked = meter.rate(start + 1, start + 1 + window);

    double press = steadySeconds();
    auto velmora =
        ToolProcess::start(VELMORA_MONITOR_BIN,
                           {"velmora", "where", std::to_string(leaker->pid()), "--seconds",
                            std::to_string(seconds), "--progress", "--artifacts-dir", artifacts},
                           {}, error);
    if (!velmora) {
        std::fprintf(stderr, "where_slowdown: %s\n", error.c_str());
        return round;
    }
    std::string output;
    double attached = 0;
    double stopping = 0;
    for (;;) {
        meter.readUntil(steadySeconds() + 0.25, velmora->outputFd());
        bool open = velmora->readAvailable(output);
        if (attached == 0 && output.find("\"phase\":\"tracking\"") != std::string::npos) {
            attached = steadySeconds();
        }
        if (stopping == 0 && output.find("\"phase\":\"stopping\"") != std::string::npos) {
            stopping = steadySeconds();
        }
        if (!open) {
            break;
        }
    }
    double done = steadySeconds();
    velmora->waitFor(10, output);
    auto result = parseJsonText(output.substr(output.rfind("\n{", output.size() - 2) + 1));
    if (attached == 0 || stopping == 0 || !result || !result.value().contains("sites")) {
        std::fprintf(stderr, "where_slowdown: no report: %s\n", output.c_str());
        return round;
    }
    round.tracked = meter.rate(attached + 0.5, stopping - 0.5);
    round.attachSeconds = attached - press;
    round.finishSeconds = done - stopping;
    round.pressToSites = done - press;
    round.sites = result.value()["sites"].size();
    double after = steadySeconds();
    meter.readUntil(after + 1 + window);
    round.after = meter.rate(after + 1, after + 1 + window);
    round.ok = round.untracked > 0 && round.tracked > 0;
    return round;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// One workload's rounds: a line each, then the medians.
void workload(const std::string& compute, double seconds, int rounds, double window,
              const std::string& artifacts) {
    std::printf("where_leaker --work --compute %s\n", compute.c_str());
    std::printf("round  untracked/s  tracked/s  slowdown  after/s  attach  finish  press-to-sites  "
                "sites\n");
    std::vector<double> slowdowns, afters, attaches, finishes, totals;
    for (int r = 1; r <= rounds; ++r) {
        Round round = measure(seconds, window, artifacts, compute);
        if (!round.ok) {
            std::printf("%5d  failed\n", r);
            continue;
        }
        double slowdown = 1 - round.tracked / round.untracked;
        std::printf("%5d  %11.0f  %9.0f  %7.1f%%  %7.0f  %5.2fs  %5.2fs  %13.2fs  %5zu\n", r,
                    round.untracked, round.tracked, slowdown * 100, round.after,
                    round.attachSeconds, round.finishSeconds, round.pressToSites, round.sites);
        slowdowns.push_back(slowdown);
        afters.push_back(round.after / round.untracked);
        attaches.push_back(round.attachSeconds);
        finishes.push_back(round.finishSeconds);
        totals.push_back(round.pressToSites);
    }
    if (slowdowns.empty()) {
        return;
    }
    std::printf("median: %.0f%% slower while tracked (%.1fx the time per unit), %.0f%% of the "
                "untracked rate after detaching; attach %.2f s, %.0f s of tracking, end of "
                "tracking to sites %.2f s, press to sites %.2f s\n\n",
                median(slowdowns) * 100, 1 / (1 - median(slowdowns)), median(afters) * 100,
                median(attaches), seconds, median(finishes), median(totals));
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 10;
    int rounds = 3;
    double window = 5;
    std::string computes = "0,3000";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) {
            seconds = std::atof(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--rounds") == 0) {
            rounds = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--window") == 0) {
            window = std::atof(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--compute") == 0) {
            computes = argv[i + 1];
        }
    }
    char pattern[] = "/tmp/velmora-where-bench-XXXXXX";
    std::string artifacts = ::mkdtemp(pattern);
    for (std::size_t start = 0; start <= computes.size();) {
        std::size_t comma = std::min(computes.find(',', start), computes.size());
        workload(computes.substr(start, comma - start), seconds, rounds, window, artifacts);
        start = comma + 1;
    }
    std::filesystem::remove_all(artifacts);
    return 0;
}
