#include "SyntheticCorpus.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace velmora {
namespace {

constexpr double kMinute = 60;

// Uniform numbers from a fixed generator, independent of the standard library's distributions.
class Noise {
public:
    explicit Noise(uint32_t seed) : engine_(seed) {}
    double uniform() { return static_cast<double>(engine_()) / 4294967296.0; }
    double between(double low, double high) { return low + (high - low) * uniform(); }
    double symmetric(double amplitude) { return between(-amplitude, amplitude); }

private:
    std::mt19937 engine_;
};

uint32_t seedOf(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return hash;
}

struct Shape {
    std::function<double(double seconds, Noise& noise)> mib; // footprint in MiB at a moment
    double busyShare = 0.3;                                  // CPU share used
    double jitterShare = 0.002;                              // sample noise, share of footprint
};

MemoryTrace build(std::string name, std::string behaviour, bool leak, double minutes, Shape shape) {
    MemoryTrace trace;
    trace.behaviour = std::move(behaviour);
    trace.leak = leak;
    Noise noise(seedOf(name));
    trace.name = std::move(name);
    double cpu = 0;
    for (double s = 0; s < minutes * kMinute; s += 1) {
        double mib = shape.mib(s, noise);
        mib *= 1 + noise.symmetric(shape.jitterShare);
        cpu += shape.busyShare * 100 * noise.between(0.5, 1.5);
        trace.points.push_back(
            {s, static_cast<uint64_t>(std::max(mib, 1.0) * 1024), static_cast<uint64_t>(cpu)});
    }
    return trace;
}

std::string mb(double value) {
    return std::to_string(static_cast<int>(std::lround(value)));
}

// A sawtooth that rises over `riseMinutes` (varied by jitter each cycle) by `amplitude`, then
// drops back to its floor, which rises by `floorRate` MiB per minute.
std::function<double(double, Noise&)> sawtooth(double floor, double amplitude, double riseMinutes,
                                               double floorRate) {
    struct Cycle {
        double start = 0, length = 0, height = 0;
    };
    auto cycle = std::make_shared<Cycle>();
    return [=](double s, Noise& noise) {
        if (s >= cycle->start + cycle->length) {
            cycle->start = s;
            cycle->length = riseMinutes * kMinute * noise.between(0.8, 1.2);
            cycle->height = amplitude * noise.between(0.85, 1.15);
        }
        double phase = (s - cycle->start) / cycle->length;
        return floor + floorRate * s / kMinute + cycle->height * phase;
    };
}

void notLeaks(std::vector<MemoryTrace>& out) {
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

void leaks(std::vector<MemoryTrace>& out) {
    auto leak = [&](std::string name, std::string behaviour, double minutes, double deadline,
                    Shape shape) {
        out.push_back(build(std::move(name), std::move(behaviour), true, minutes, shape));
        out.back().deadlineSeconds = deadline * kMinute;
    };
    // Steady growth from small and large bases; the deadline loosens as the rate falls.
    for (double rate : {2.0, 3.0, 5.0, 10.0, 20.0, 50.0}) {
        double deadline = rate >= 20 ? 7 : rate >= 10 ? 12 : rate >= 5 ? 15 : rate >= 3 ? 20 : 30;
        for (double base : {40.0, 400.0, 1500.0}) {
            if (rate <= 3 && base > 1000) {
                deadline = 40; // 0.2 % a minute of a large process takes longer to tell from drift
            }
            leak("leak-" + mb(rate) + "mb-on-" + mb(base), "steadyLeak", deadline + 10, deadline,
                 {[=](double s, Noise&) { return base + rate * s / kMinute; }, 0.3});
        }
    }
    // Leaks under a garbage-collector sawtooth: the floor rises.
    for (double rate : {5.0, 15.0}) {
        for (double rise : {1.0, 3.0}) {
            leak("leak-under-gc-" + mb(rate) + "mb-" + mb(rise * 60) + "s", "leakUnderSawtooth", 35,
                 rate >= 10 ? 15 : 25, {sawtooth(300, 100, rise, rate), 0.4});
        }
    }
    // Late onset after a flat period.
    for (double onset : {15.0, 30.0}) {
        for (double rate : {10.0, 25.0}) {
            leak("late-onset-" + mb(onset) + "min-" + mb(rate) + "mb", "lateOnset", onset + 20,
                 onset + 8,
                 {[=](double s, Noise&) { return 350 + rate * std::max(0.0, s / kMinute - onset); },
                  0.3});
            out.back().onsetSeconds = onset * kMinute;
        }
    }
    // Accelerating growth: the rate climbs from 1 to 21 MiB/min over 20 minutes.
    leak("accelerating", "accelerating", 30, 14,
         {[](double s, Noise&) {
              double m = s / kMinute;
              return 200 + m + 0.5 * m * m;
          },
          0.3});
    // One child of a five-process family leaks 10 MiB/min; the others wander a little.
    for (double childBase : {60.0, 250.0}) {
        auto others = std::make_shared<std::vector<double>>(4, 0.0);
        leak("family-child-leak-" + mb(childBase), "familyChildLeak", 25, 12,
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
    // A leak that pauses and resumes.
    leak("leak-pause-resume", "pauseResume", 35, 18,
         {[](double s, Noise&) {
              double m = s / kMinute;
              double grown = std::min(m, 4.0) + std::max(0.0, m - 10);
              return 300 + 12 * grown;
          },
          0.3});
    // A leak that stops: found in time, and the verdict falls back once the growth has stopped.
    for (double rate : {20.0, 40.0}) {
        leak("leak-then-stop-" + mb(rate) + "mb", "leakThenStop", 40, 7,
             {[=](double s, Noise&) { return 200 + rate * std::min(s / kMinute, 14.0); }, 0.3});
        out.back().settledAfter = 14 * kMinute;
    }
}

} // namespace

std::vector<MemoryTrace> syntheticCorpus() {
    std::vector<MemoryTrace> corpus;
    notLeaks(corpus);
    leaks(corpus);
    return corpus;
}

} // namespace velmora
