// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticShapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace velmora {
namespace {

class LeakList {
public:
    explicit LeakList(std::vector<MemoryTrace>& out) : out_(out) {}

    // A leak found by `deadline` minutes after the trace starts.
    MemoryTrace& add(std::string name, std::string behaviour, double minutes, double deadline,
                     Shape shape) {
        out_.push_back(build(std::move(name), std::move(behaviour), true, minutes, shape));
        out_.back().deadlineSeconds = deadline * kMinute;
        return out_.back();
    }

private:
    std::vector<MemoryTrace>& out_;
};

// The tighter of a class's own deadline and the steady-growth rule, in minutes from the onset.
double tighter(double classDeadline, double ratePerMinute, double baseMiB) {
    return std::min(classDeadline, steadyGrowthDeadline(ratePerMinute, baseMiB).value_or(1e9));
}

void steadyLeaks(LeakList& leaks) {
    // Steady growth from small and large bases; the deadline loosens as the rate falls.
    for (double rate : {2.0, 3.0, 5.0, 10.0, 20.0, 50.0}) {
        double byRate = rate >= 20 ? 7 : rate >= 10 ? 12 : rate >= 5 ? 15 : rate >= 3 ? 20 : 30;
        for (double base : {40.0, 400.0, 1500.0}) {
            // 0.2 % a minute of a large process takes longer to tell from drift.
            double deadline = tighter(rate <= 3 && base > 1000 ? 40 : byRate, rate, base);
            leaks.add("leak-" + mb(rate) + "mb-on-" + mb(base), "steadyLeak", deadline + 10,
                      deadline, {[=](double s, Noise&) { return base + rate * s / kMinute; }, 0.3});
        }
    }
    // Slow leaks on large bases: 0.3 % to 1 % of the footprint a minute.
    for (double share : {0.003, 0.006, 0.01}) {
        for (double base : {512.0, 1024.0, 2048.0}) {
            double rate = share * base;
            double deadline = tighter(30, rate, base);
            leaks.add("large-base-" + mb(share * 1000) + "permille-on-" + mb(base), "largeBaseLeak",
                      deadline + 10, deadline,
                      {[=](double s, Noise&) { return base + rate * s / kMinute; }, 0.2, 0.001});
        }
    }
}

void hiddenLeaks(LeakList& leaks) {
    // Leaks under a garbage-collector sawtooth: the floor rises.
    for (double rate : {5.0, 15.0}) {
        for (double rise : {1.0, 3.0}) {
            leaks.add("leak-under-gc-" + mb(rate) + "mb-" + mb(rise * 60) + "s",
                      "leakUnderSawtooth", 35, rate >= 10 ? 15 : 25,
                      {sawtooth(300, 100, rise, rate), 0.4});
        }
    }
    // Accelerating growth: the rate climbs from 1 to 21 MiB/min over 20 minutes.
    leaks.add("accelerating", "accelerating", 30, 14,
              {[](double s, Noise&) {
                   double m = s / kMinute;
                   return 200 + m + 0.5 * m * m;
               },
               0.3});
    // One child of a five-process family leaks 10 MiB/min; the others wander a little.
    for (double childBase : {60.0, 250.0}) {
        auto others = std::make_shared<std::vector<double>>(4, 0.0);
        leaks.add("family-child-leak-" + mb(childBase), "familyChildLeak", 25,
                  tighter(12, 10, childBase + 600),
                  {[=](double s, Noise& noise) {
                       double total = childBase + 10 * s / kMinute;
                       for (double& offset : *others) {
                           offset = std::clamp(offset + noise.symmetric(0.5), -8.0, 8.0);
                           total += 150 + offset;
                       }
                       return total;
                   },
                   0.4, 0.003});
    }
}

void leaksThatStartLate(LeakList& leaks) {
    // Late onset after a flat period.
    for (double onset : {15.0, 30.0}) {
        for (double rate : {10.0, 25.0}) {
            leaks
                .add("late-onset-" + mb(onset) + "min-" + mb(rate) + "mb", "lateOnset", onset + 20,
                     onset + tighter(8, rate, 350),
                     {[=](double s, Noise&) {
                          return 350 + rate * std::max(0.0, s / kMinute - onset);
                      },
                      0.3})
                .onsetSeconds = onset * kMinute;
        }
    }
    // A leak that begins once a warm-up has settled (95 % of it within three minutes).
    for (double plateau : {300.0, 900.0}) {
        for (double rate : {5.0, 15.0}) {
            double onset = plateau > 500 ? 10 : 6;
            double deadline = *steadyGrowthDeadline(rate, 40 + plateau);
            leaks
                .add("leak-after-warmup-" + mb(plateau) + "-" + mb(rate) + "mb", "leakAfterWarmup",
                     onset + deadline + 10, onset + deadline,
                     {[=](double s, Noise&) {
                          double m = s / kMinute;
                          return 40 + plateau * (1 - std::exp(-m)) +
                                 rate * std::max(0.0, m - onset);
                      },
                      0.4})
                .onsetSeconds = onset * kMinute;
        }
    }
    // Leaks that pause and resume: found within 8 minutes of leaking again at the latest.
    struct Pause {
        double leakFor, pauseFor, rate;
    };
    for (Pause p : {Pause{4, 6, 12}, Pause{5, 5, 8}, Pause{3, 8, 15}, Pause{6, 4, 6}}) {
        double resume = p.leakFor + p.pauseFor;
        leaks.add("leak-pause-" + mb(p.leakFor) + "-" + mb(p.pauseFor) + "-" + mb(p.rate) + "mb",
                  "pauseResume", resume + 20, resume + tighter(8, p.rate, 300),
                  {[=](double s, Noise&) {
                       double m = s / kMinute;
                       double leaking = std::min(m, p.leakFor) + std::max(0.0, m - resume);
                       return 300 + p.rate * leaking;
                   },
                   0.3});
    }
    // A leak that stops: found in time, and the verdict falls back once the growth has stopped.
    for (double rate : {20.0, 40.0}) {
        leaks
            .add("leak-then-stop-" + mb(rate) + "mb", "leakThenStop", 40, 7,
                 {[=](double s, Noise&) { return 200 + rate * std::min(s / kMinute, 14.0); }, 0.3})
            .settledAfter = 14 * kMinute;
    }
}

// Growth in stairs: every few minutes a step of a few percent of the footprint, never given
// back (caches that grow per batch, arenas and heaps that expand by chunks). Suspect by the
// fifth step, and not before the stairs have climbed for 8 minutes; a step shows in the
// medians of the minute after it.
void stairLeaks(LeakList& leaks) {
    for (double every : {1.0, 3.0, 5.0}) {
        for (double share : {0.02, 0.05, 0.1}) {
            for (double base : {300.0, 1200.0}) {
                auto steps = std::make_shared<std::vector<double>>(); // when each step happens
                Noise timing(static_cast<uint32_t>(every * 100 + share * 1000 + base));
                for (double t = every; t < 120; t += every * timing.between(0.85, 1.15)) {
                    steps->push_back(t * kMinute);
                }
                double fifth = (*steps)[4] / kMinute;
                double deadline = std::max(fifth, 8.0) + 1;
                leaks.add("stairs-" + mb(every * 60) + "s-" + mb(share * 100) + "pct-on-" +
                              mb(base),
                          "stairLeak", deadline + 15, deadline,
                          {[=](double s, Noise&) {
                               double level = base;
                               for (double at : *steps) {
                                   if (at > s) {
                                       break;
                                   }
                                   level *= 1 + share;
                               }
                               return level;
                           },
                           0.3});
            }
        }
    }
}

// Fast growth, and what it puts at risk. Memory left is given, so that the exhaustion rules
// apply: "probable" when the family alone would use it up within two hours, "critical" only
// once it runs out within the hour. A small family that grows fast with plenty of memory left
// is a leak, not a runaway.
void fastLeaks(LeakList& leaks) {
    constexpr uint64_t kGiB = 1024ull * 1024;
    struct Fast {
        const char* name;
        double base, rate, availableGiB;
    };
    for (Fast f : {Fast{"runaway-147mb-on-12gb", 12 * 1024, 147, 10.8},
                   Fast{"runaway-60mb-on-500-3gb-left", 500, 60, 3},
                   Fast{"fast-70mb-5mb-20gb-left", 70, 5, 20},
                   Fast{"fast-140mb-15mb-20gb-left", 140, 15, 20},
                   Fast{"fast-300mb-30mb-20gb-left", 300, 30, 20}}) {
        double byRate = f.rate >= 20 ? 7 : f.rate >= 10 ? 12 : 15;
        double deadline = tighter(byRate, f.rate, f.base);
        leaks
            .add(f.name, "fastGrowth", 45, deadline,
                 {[=](double s, Noise&) { return f.base + f.rate * s / kMinute; }, 0.5, 0.001})
            .availableKiB = static_cast<uint64_t>(f.availableGiB * static_cast<double>(kGiB));
    }
}

} // namespace

void addLeaks(std::vector<MemoryTrace>& out) {
    LeakList leaks(out);
    steadyLeaks(leaks);
    hiddenLeaks(leaks);
    leaksThatStartLate(leaks);
    stairLeaks(leaks);
    fastLeaks(leaks);
}

} // namespace velmora
