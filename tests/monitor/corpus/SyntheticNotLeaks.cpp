// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticShapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace velmora {
namespace {

void everydayShapes(std::vector<MemoryTrace>& out) {
    for (double size : {24.0, 180.0, 900.0, 3200.0}) {
        out.push_back(build("flat-" + mb(size), "flat", false, 60,
                            {[=](double, Noise&) { return size; }, 0.05, 0.004}));
    }
    // Warm-ups: exponential approach to a plateau, fast and slow.
    for (double tau : {0.5, 1.5, 3.0, 5.0}) {
        for (double plateau : {120.0, 450.0, 1500.0}) {
            out.push_back(build("warmup-exp-tau" + mb(tau * 10) + "-" + mb(plateau), "warmup",
                                false, 45,
                                {[=](double s, Noise&) {
                                     return 40 + plateau * (1 - std::exp(-s / kMinute / tau));
                                 },
                                 0.5}));
        }
    }
    // Logarithmic approach: quick at first, slowing until it settles after `settle` minutes.
    for (double settle : {4.0, 8.0, 12.0}) {
        for (double plateau : {200.0, 800.0}) {
            double scale = std::log1p(settle / 0.5);
            out.push_back(build("warmup-log-" + mb(settle) + "min-" + mb(plateau), "warmup", false,
                                45,
                                {[=](double s, Noise&) {
                                     double t = std::min(s / kMinute, settle);
                                     return 50 + plateau * std::log1p(t / 0.5) / scale;
                                 },
                                 0.4}));
        }
    }
    // Garbage-collector sawtooths with a flat floor: several periods and amplitudes.
    for (double rise : {0.5, 1.5, 3.0, 4.5}) {
        for (double amplitude : {30.0, 120.0, 400.0}) {
            out.push_back(build("gc-sawtooth-" + mb(rise * 60) + "s-" + mb(amplitude), "gcSawtooth",
                                false, 60, {sawtooth(250, amplitude, rise, 0), 0.4}));
        }
    }
    // One-off steps: a file loaded, a document closed.
    for (double at : {3.0, 9.0, 20.0}) {
        out.push_back(build("step-up-at" + mb(at), "step", false, 45,
                            {[=](double s, Noise&) { return s < at * kMinute ? 150 : 550; }, 0.1}));
        out.push_back(build("step-down-at" + mb(at), "step", false, 45,
                            {[=](double s, Noise&) { return s < at * kMinute ? 700 : 300; }, 0.1}));
    }
    // Periodic batches: a job allocates over a minute or two, holds, then frees it all.
    for (double period : {8.0, 15.0, 30.0}) {
        out.push_back(build("batch-every" + mb(period) + "min", "periodicBatch", false, 90,
                            {[=](double s, Noise&) {
                                 double phase = std::fmod(s / kMinute, period);
                                 double grown = std::min(phase / 2.0, 1.0);
                                 return phase < period * 0.6 ? 200 + 500 * grown : 200;
                             },
                             0.3}));
    }
    // Bounded random walks: the working set moves within a range as documents come and go,
    // in jumps at random moments or in small steps every ten seconds.
    // The churn walks move 2 % of their range every two seconds: minutes-long climbs as
    // steep as a fast leak, then back down.
    for (int seed = 0; seed < 12; ++seed) {
        double low = seed % 2 == 0 ? 150 : 600;
        double range = seed % 4 < 2 ? 200 : 600;
        bool jumps = seed < 4;
        bool churn = seed >= 8;
        auto level = std::make_shared<double>(low + range / 2);
        auto next = std::make_shared<double>(0);
        out.push_back(build("walk-" +
                                std::string(jumps   ? "jumps-"
                                            : churn ? "churn-"
                                                    : "steps-") +
                                std::to_string(seed) + "-" + mb(low) + "-" + mb(range),
                            "boundedWalk", false, 90,
                            {[=](double s, Noise& noise) {
                                 if (s >= *next) {
                                     double move = jumps   ? noise.symmetric(range * 0.25)
                                                   : churn ? noise.symmetric(range * 0.02)
                                                           : noise.symmetric(range * 0.015);
                                     *level = std::clamp(*level + move, low, low + range);
                                     *next = s + (jumps ? noise.between(30, 240) : churn ? 2 : 10);
                                 }
                                 return *level;
                             },
                             0.2}));
    }
    // A parallel build: short-lived compilers that grow and exit, summed into one family.
    for (int jobs : {2, 4, 8}) {
        auto workers = std::make_shared<std::vector<std::pair<double, double>>>(); // end, peak
        out.push_back(
            build("parallel-build-j" + std::to_string(jobs), "shortLived", false, 40,
                  {[=](double s, Noise& noise) {
                       std::erase_if(*workers, [&](auto& w) { return w.first <= s; });
                       while (workers->size() < static_cast<std::size_t>(jobs)) {
                           workers->push_back({s + noise.between(10, 120), noise.between(40, 400)});
                       }
                       double total = 30;
                       for (auto [end, peak] : *workers) {
                           total += peak * std::clamp(1 - (end - s) / 120, 0.1, 1.0);
                       }
                       return total;
                   },
                   0.9, 0.01}));
    }
    // Grows while busy, releases when the work is done, then idles until the next job.
    for (double busy : {3.0, 5.0}) {
        out.push_back(build("busy-release-" + mb(busy) + "min", "busyRelease", false, 60,
                            {[=](double s, Noise&) {
                                 double phase = std::fmod(s / kMinute, 12.0);
                                 return phase < busy ? 300 + 300 * std::sqrt(phase / busy) : 300;
                             },
                             0.6}));
    }
}

// What a stair leak must not be confused with: loads that stop, caches that fill up to their
// cap, warm-ups that slow down for a long time before they settle.
void shapesThatLookLikeGrowth(std::vector<MemoryTrace>& out) {
    // One step of a tenth to a quarter of the footprint, as when a large document is opened.
    for (double share : {0.1, 0.25}) {
        out.push_back(build(
            "step-share" + mb(share * 100) + "-at6", "step", false, 40,
            {[=](double s, Noise&) { return s < 6 * kMinute ? 800 : 800 * (1 + share); }, 0.1}));
    }
    // Two loads minutes apart, then flat.
    struct Loads {
        double first, firstShare, second, secondShare;
    };
    for (Loads l : {Loads{4, 0.3, 11, 0.2}, Loads{6, 0.15, 9, 0.15}, Loads{2, 0.4, 20, 0.1},
                    Loads{5, 0.08, 10, 0.08}}) {
        out.push_back(build("two-loads-" + mb(l.first) + "-" + mb(l.second), "twoLoads", false, 45,
                            {[=](double s, Noise&) {
                                 double m = s / kMinute;
                                 return 500 * (1 + (m >= l.first ? l.firstShare : 0)) *
                                        (1 + (m >= l.second ? l.secondShare : 0));
                             },
                             0.2}));
    }
    // A cache filled by batches: each batch brings fewer new entries as the cache fills, until
    // it holds its cap.
    for (double period : {1.5, 3.0}) {
        for (double first : {0.12, 0.06}) {
            out.push_back(build("cache-fill-batches-" + mb(period * 60) + "s-" + mb(first * 100),
                                "boundedCache", false, 50,
                                {[=](double s, Noise&) {
                                     auto batches = static_cast<int>(s / kMinute / period);
                                     double grown = 0;
                                     for (int k = 0; k < batches; ++k) {
                                         grown += first * std::pow(0.5, k);
                                     }
                                     return 400 * (1 + grown);
                                 },
                                 0.3}));
        }
    }
    // A cache that grows by equal chunks until it reaches its cap after three of them.
    for (double period : {2.0, 4.0}) {
        out.push_back(build("cache-cap-3-chunks-" + mb(period * 60) + "s", "boundedCache", false,
                            45,
                            {[=](double s, Noise&) {
                                 double chunks = std::min(3.0, std::floor(s / kMinute / period));
                                 return 600 * (1 + 0.06 * chunks);
                             },
                             0.3}));
    }
    // Warm-ups that keep slowing for a long time: exponential with a time constant of 6 to 8
    // minutes, and logarithmic growth whose rate halves each time its age doubles.
    for (double tau : {6.0, 8.0}) {
        for (double plateau : {300.0, 900.0}) {
            out.push_back(build("slow-warmup-exp-tau" + mb(tau) + "-" + mb(plateau), "slowWarmup",
                                false, 75,
                                {[=](double s, Noise&) {
                                     return 200 + plateau * (1 - std::exp(-s / kMinute / tau));
                                 },
                                 0.4}));
        }
    }
    for (double scale : {60.0, 120.0}) {
        out.push_back(
            build("slow-warmup-log-" + mb(scale), "slowWarmup", false, 75,
                  {[=](double s, Noise&) { return 250 + scale * std::log1p(s / kMinute); }, 0.4}));
    }
}

} // namespace

void addNotLeaks(std::vector<MemoryTrace>& out) {
    everydayShapes(out);
    shapesThatLookLikeGrowth(out);
}

} // namespace velmora
