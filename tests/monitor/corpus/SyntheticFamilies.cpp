// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyntheticShapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace velmora {
namespace {

// Processes of the same executable started and ended again and again: a browser's tabs, a
// server's workers, a build's compilers. Each reaches its size within a few seconds.
class Churn {
public:
    struct Child {
        uint32_t id = 0;
        double born = 0;
        double ends = 0;
        double mib = 0;
    };

    // A child every `every` seconds (varied), living `lifeLow` to `lifeHigh` seconds, at most
    // `maxAlive` at a time; ids from `firstId`.
    Churn(double every, double lifeLow, double lifeHigh, double mib, std::size_t maxAlive,
          uint32_t firstId = 100)
        : every_(every), lifeLow_(lifeLow), lifeHigh_(lifeHigh), mib_(mib), maxAlive_(maxAlive),
          nextId_(firstId) {}

    // The children alive at `s`, each with its footprint; `grow` shapes a child's climb to its
    // size over its life (by default: within three seconds, then held).
    void step(double s, Noise& noise, std::vector<MemberLevel>& out) {
        std::erase_if(children_, [s](const Child& c) { return s >= c.ends; });
        if (s >= nextStart_ && children_.size() < maxAlive_) {
            double life = noise.between(lifeLow_, lifeHigh_);
            children_.push_back({nextId_++, s, s + life, mib_ * noise.between(0.85, 1.15)});
            nextStart_ = s + every_ * noise.between(0.6, 1.4);
        }
        for (const Child& c : children_) {
            out.push_back({c.id, level(c, s)});
        }
    }

    // Children that hold their memory only briefly: they climb over their whole life.
    Churn& climbing() {
        climbing_ = true;
        return *this;
    }

private:
    double level(const Child& c, double s) const {
        double age = s - c.born;
        double share = climbing_ ? age / (c.ends - c.born) : std::min(age / 3.0, 1.0);
        return 5 + (c.mib - 5) * share;
    }

    double every_, lifeLow_, lifeHigh_, mib_;
    std::size_t maxAlive_;
    uint32_t nextId_;
    double nextStart_ = 5;
    bool climbing_ = false;
    std::vector<Child> children_;
};

// A prefork server: a master and `slots` workers, each warming up to its size within a minute
// or two, wandering a little and recycled after `lifeLow` to `lifeHigh` minutes.
class Prefork {
public:
    Prefork(std::size_t slots, double mib, double lifeLow, double lifeHigh)
        : workers_(slots), mib_(mib), lifeLow_(lifeLow), lifeHigh_(lifeHigh) {}

    void step(double s, Noise& noise, std::vector<MemberLevel>& out) {
        out.push_back({1, 30});
        for (Worker& w : workers_) {
            if (w.id == 0 || s >= w.ends) {
                w = {nextId_++, s, s + kMinute * noise.between(lifeLow_, lifeHigh_),
                     mib_ * noise.between(0.8, 1.2), 0};
            }
            w.wander = std::clamp(w.wander + noise.symmetric(0.4), -5.0, 5.0);
            double age = s - w.born;
            out.push_back({w.id, 8 + (w.mib - 8) * (1 - std::exp(-age / 40)) + w.wander});
        }
    }

private:
    struct Worker {
        uint32_t id = 0;
        double born = 0, ends = 0, mib = 0, wander = 0;
    };
    std::vector<Worker> workers_;
    double mib_, lifeLow_, lifeHigh_;
    uint32_t nextId_ = 10;
};

// A long-lived member that grows `rate` MiB a minute from `base`, from `born` seconds on.
MemberLevel grower(uint32_t id, double s, double born, double base, double rate) {
    return {id, base + rate * (s - born) / kMinute};
}

void growingMemberUnderChurn(std::vector<MemoryTrace>& out) {
    // The parent grows; children of the same executable start and end every half minute or so,
    // one or two at a time, and move the family's total by their whole size.
    struct Case {
        double rate, childMiB;
        std::size_t alive;
    };
    for (Case c : {Case{10, 80, 2}, Case{4, 80, 2}, Case{10, 200, 1}}) {
        auto churn = std::make_shared<Churn>(30, 30, 60, c.childMiB, c.alive);
        MemoryTrace& trace = out.emplace_back(
            buildFamily("parent-grows-" + mb(c.rate) + "mb-churn-" + mb(c.childMiB) + "x" +
                            std::to_string(c.alive),
                        "growingParentUnderChurn", true, 30,
                        {[=](double s, Noise& noise) {
                             std::vector<MemberLevel> members{grower(1, s, 0, 40, c.rate)};
                             churn->step(s, noise, members);
                             return members;
                         },
                         0.4}));
        trace.deadlineSeconds =
            std::min(12.0, steadyGrowthDeadline(c.rate, 40).value_or(12.0)) * kMinute;
    }
    // A child born a minute after its parent grows while its siblings come and go.
    struct ChildCase {
        double rate, base, childMiB;
    };
    for (ChildCase c : {ChildCase{10, 60, 80}, ChildCase{5, 150, 120}}) {
        auto churn = std::make_shared<Churn>(25, 20, 50, c.childMiB, 2);
        MemoryTrace& trace = out.emplace_back(buildFamily(
            "child-grows-" + mb(c.rate) + "mb-on-" + mb(c.base) + "-churn-" + mb(c.childMiB),
            "growingChildUnderChurn", true, 30,
            {[=](double s, Noise& noise) {
                 std::vector<MemberLevel> members{{1, 100}};
                 if (s >= kMinute) {
                     members.push_back(grower(2, s, kMinute, c.base, c.rate));
                 }
                 churn->step(s, noise, members);
                 return members;
             },
             0.4}));
        trace.onsetSeconds = kMinute;
        trace.deadlineSeconds =
            trace.onsetSeconds +
            std::min(12.0, steadyGrowthDeadline(c.rate, c.base).value_or(12.0)) * kMinute;
    }
}

void churnWithoutLeak(std::vector<MemoryTrace>& out) {
    // Children coming and going over a flat parent: tabs opened and closed, compilers.
    for (double childMiB : {80.0, 200.0}) {
        auto churn = std::make_shared<Churn>(30, 30, 60, childMiB, 2);
        out.push_back(buildFamily("churn-over-flat-parent-" + mb(childMiB), "churnOverFlatParent",
                                  false, 45,
                                  {[=](double s, Noise& noise) {
                                       std::vector<MemberLevel> members{{1, 150}};
                                       churn->step(s, noise, members);
                                       return members;
                                   },
                                   0.4}));
    }
    // A spawner whose children climb to 300 MB over their short lives and exit.
    auto brief = std::make_shared<Churn>(10, 15, 25, 300, 3);
    brief->climbing();
    out.push_back(buildFamily("spawner-brief-children-300", "churnOverFlatParent", false, 45,
                              {[=](double s, Noise& noise) {
                                   std::vector<MemberLevel> members{{1, 60}};
                                   brief->step(s, noise, members);
                                   return members;
                               },
                               0.5}));
    // Prefork servers and worker pools that replace their workers: quickly, or after minutes.
    for (auto [lifeLow, lifeHigh] : {std::pair{2.0, 4.0}, std::pair{6.0, 12.0}}) {
        auto pool = std::make_shared<Prefork>(5, 120, lifeLow, lifeHigh);
        out.push_back(buildFamily("prefork-recycle-" + mb(lifeLow) + "-" + mb(lifeHigh) + "min",
                                  "workersReplaced", false, 60,
                                  {[=](double s, Noise& noise) {
                                       std::vector<MemberLevel> members;
                                       pool->step(s, noise, members);
                                       return members;
                                   },
                                   0.3}));
    }
}

} // namespace

void addChurningFamilies(std::vector<MemoryTrace>& out) {
    growingMemberUnderChurn(out);
    churnWithoutLeak(out);
}

void addBoundedGrowth(std::vector<MemoryTrace>& out) {
    struct Bounded {
        const char* name;
        double settled; // minutes: the growth stops here
        std::function<double(double minutes)> mib;
    };
    for (const Bounded& b : {
             Bounded{"grow-3mb-10min-from-60", 10,
                     [](double m) { return 60 + 3 * std::min(m, 10.0); }},
             Bounded{"logistic-warmup-to-300", 12,
                     [](double m) { return 20 + 280 / (1 + std::exp(-(m - 6) / 1.5)); }},
             Bounded{"job-12mb-6min-then-frees", 6,
                     [](double m) { return m < 6 ? 50 + 12 * m : 50; }},
             Bounded{"cache-fills-to-its-bound", 10,
                     [](double m) { return 100 + std::min(15 * m, 150.0); }},
         }) {
        auto mib = b.mib;
        MemoryTrace& trace =
            out.emplace_back(build(b.name, "boundedGrowth", false, 40,
                                   {[mib](double s, Noise&) { return mib(s / kMinute); }, 0.3}));
        trace.bounded = true;
        trace.settledAfter = b.settled * kMinute;
    }
}

} // namespace velmora
