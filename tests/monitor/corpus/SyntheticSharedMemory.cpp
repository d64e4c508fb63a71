// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticShapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace velmora {
namespace {

constexpr double kBackgroundSeconds = 10; // how late a held file's growth is seen

// `stepMiB` more shared memory every `everySeconds` over `baseMiB` (a small heap that wanders
// a little around its size beside it); seen `lagSeconds` late, in steps of that length.
std::function<double(double, Noise&)> sharedSteps(double baseMiB, double stepMiB,
                                                  double everySeconds, double lagSeconds) {
    auto heap = std::make_shared<double>(0);
    return [=](double s, Noise& noise) {
        *heap = std::clamp(*heap + noise.symmetric(0.3), -2.0, 2.0);
        double seen = lagSeconds > 0 ? std::floor(s / lagSeconds) * lagSeconds : s;
        return baseMiB + *heap + stepMiB * std::floor(seen / everySeconds);
    };
}

void sharedMemoryLeaks(std::vector<MemoryTrace>& out) {
    struct Leak {
        const char* kind;
        double lag;
    };
    // A memfd mapped and kept (counted from RssShmem as it grows), a memfd kept only by its
    // descriptor (seen at the next background read), a /dev/shm segment mapped and kept.
    for (Leak leak :
         {Leak{"memfd-mapped", 0}, Leak{"memfd-held", kBackgroundSeconds}, Leak{"devshm", 0}}) {
        struct Rate {
            double base, step, every;
        };
        // 1 MB every 6 s from 40 MB; 2 MB buffers every 12 s on 150 MB; 1 MB every 10 s on
        // 400 MB.
        for (Rate r : {Rate{40, 1, 6}, Rate{150, 2, 12}, Rate{400, 1, 10}}) {
            double rate = r.step * kMinute / r.every;
            double deadline = steadyGrowthDeadline(rate, r.base).value_or(30);
            out.push_back(
                build("shm-leak-" + std::string(leak.kind) + "-" + mb(rate) + "mb-on-" + mb(r.base),
                      "sharedMemoryLeak", true, deadline + 10,
                      {sharedSteps(r.base, r.step, r.every, leak.lag), 0.2, 0.001}));
            out.back().deadlineSeconds = deadline * kMinute;
        }
    }
}

void sharedMemoryNotLeaks(std::vector<MemoryTrace>& out) {
    // Large and flat: a database's shared buffers, a virtual machine's memory, a media
    // player's frame pool, beside a heap that wanders a little.
    for (double shared : {256.0, 1024.0, 4096.0}) {
        out.push_back(build("shm-flat-" + mb(shared), "sharedMemoryFlat", false, 60,
                            {sharedSteps(60 + shared, 0, 1, 0), 0.1, 0.002}));
    }
    // A buffer pool that grows and shrinks with the windows and videos shown: 8 MB buffers
    // taken and given back at random between 16 and 40 of them.
    for (double buffer : {4.0, 8.0}) {
        auto count = std::make_shared<double>(24);
        out.push_back(build("shm-buffer-pool-" + mb(buffer) + "mb", "sharedMemoryFlat", false, 60,
                            {[=](double s, Noise& noise) {
                                 if (std::fmod(s, 20) == 0) {
                                     double step = noise.uniform() < 0.5 ? -1 : 1;
                                     *count = std::clamp(*count + step, 16.0, 40.0);
                                 }
                                 return 90 + buffer * *count;
                             },
                             0.3}));
    }
}

} // namespace

void addSharedMemory(std::vector<MemoryTrace>& out) {
    sharedMemoryLeaks(out);
    sharedMemoryNotLeaks(out);
}

} // namespace velmora
