// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/FamilyExport.h"

#include "model/Enums.h"

#include <algorithm>
#include <cstdlib>

namespace velmora {
namespace {

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;

constexpr FindingVerdict kVerdicts[] = {FindingVerdict::normal, FindingVerdict::watch,
                                        FindingVerdict::suspect, FindingVerdict::probable,
                                        FindingVerdict::criticalRunaway};

bool worse(FindingVerdict a, FindingVerdict b) {
    return static_cast<int>(a) > static_cast<int>(b);
}

// Keys of a monitor watching every user start with "user:<uid>:".
uid_t uidOf(const std::string& key) {
    return key.rfind("user:", 0) == 0
               ? static_cast<uid_t>(std::strtoul(key.c_str() + 5, nullptr, 10))
               : 0;
}

std::string withoutUser(const std::string& key) {
    if (key.rfind("user:", 0) != 0) {
        return key;
    }
    std::size_t colon = key.find(':', 5);
    return colon == std::string::npos ? key : key.substr(colon + 1);
}

MetricFamily family(const char* name, const char* help, MetricType type = MetricType::Gauge) {
    MetricFamily metric;
    metric.name = name;
    metric.help = help;
    metric.type = type;
    return metric;
}

void add(MetricFamily& metric, std::vector<ClientMetric::Label> labels, double value) {
    ClientMetric sample;
    sample.label = std::move(labels);
    if (metric.type == MetricType::Counter) {
        sample.counter.value = value;
    } else {
        sample.gauge.value = value;
    }
    metric.metric.push_back(std::move(sample));
}

} // namespace

std::string familyLabelOf(const std::string& key) {
    std::string label = withoutUser(key);
    if (label.rfind("proc:", 0) == 0) {
        // "proc:<program>:<pid>:<start time>": the program alone, stable across restarts.
        for (int field = 0; field < 2; ++field) {
            std::size_t colon = label.rfind(':');
            if (colon != std::string::npos && colon > 4) {
                label.resize(colon);
            }
        }
    }
    return label;
}

std::string withoutHome(const std::string& label, const std::string& home) {
    if (home.size() < 2 || home.front() != '/') {
        return label;
    }
    const std::string folder = home.back() == '/' ? home.substr(0, home.size() - 1) : home;
    std::string shown;
    std::size_t copied = 0;
    for (std::size_t at = label.find(folder); at != std::string::npos;
         at = label.find(folder, at + 1)) {
        std::size_t end = at + folder.size();
        if (end == label.size() || label[end] == '/') {
            shown.append(label, copied, at - copied).push_back('~');
            copied = end;
        }
    }
    return shown.append(label, copied);
}

FamilyExport::FamilyExport(FamilyExportOptions options)
    : options_(std::move(options)),
      latest_(std::make_shared<const std::vector<prometheus::MetricFamily>>()) {}

std::shared_ptr<const std::vector<prometheus::MetricFamily>> FamilyExport::metrics() const {
    std::lock_guard lock(mutex_);
    if (!latest_) {
        latest_ = std::make_shared<const std::vector<MetricFamily>>(build());
    }
    return latest_;
}

FamilyExport::Label FamilyExport::labelOf(const std::string& key) const {
    std::string user;
    std::string family = familyLabelOf(key);
    if (options_.userLabel) {
        uid_t uid = uidOf(key);
        user = options_.userName ? options_.userName(uid) : std::to_string(uid);
        if (options_.hiddenHome) {
            family = withoutHome(family, options_.hiddenHome(uid));
        }
    }
    return {user, family};
}

std::map<FamilyExport::Label, FamilyExport::Exported>
FamilyExport::currentOf(const LiveView& view) const {
    std::map<Label, Exported> current;
    for (const RankedFamily& ranked : view.ranked) {
        auto [it, fresh] = current.try_emplace(labelOf(ranked.key));
        Exported& e = it->second;
        if (fresh) {
            e.title = ranked.title; // the family ranked first names the label
        }
        e.anonKiB += ranked.anonKiB;
        e.swapKiB += ranked.swapKiB;
        e.sharedKiB += ranked.sharedKiB;
        e.footprintKiB += ranked.footprintKiB;
        const FamilyAssessment& a = ranked.assessment;
        if (a.hasRate) {
            e.rateKiBPerSecond = e.rateKiBPerSecond.value_or(0) + a.rateKiBPerSecond;
        }
        e.score = std::max(e.score, a.score);
        if (worse(a.verdict, e.verdict)) {
            e.verdict = a.verdict;
        }
        e.seen = view.monotonicTime;
    }
    return current;
}

void FamilyExport::countKills(const LiveView& view, double now) {
    std::set<std::string> listed;
    for (const OutOfMemoryKill& kill : view.outOfMemoryKills) {
        listed.insert(kill.id);
        if (countedKills_.count(kill.id) != 0) {
            continue;
        }
        auto [it, fresh] = exported_.try_emplace(labelOf(kill.key));
        if (fresh) {
            it->second.presence = Presence::killsOnly;
            it->second.title = kill.title;
        }
        ++it->second.outOfMemoryKills;
        it->second.seen = now;
    }
    countedKills_ = std::move(listed); // kills leave the view after an hour
}

void FamilyExport::retire(const LiveView& view, const std::map<Label, Exported>& current) {
    std::set<Label> ended;
    for (const std::string& key : view.endedFamilies) {
        ended.insert(labelOf(key));
    }
    for (auto it = exported_.begin(); it != exported_.end();) {
        Exported& e = it->second;
        if (current.count(it->first) != 0 || e.presence != Presence::ranked) {
            ++it;
        } else if (ended.count(it->first) != 0) {
            // Its processes all ended: it holds nothing now and leaks no more.
            Exported gone;
            gone.presence = Presence::gone;
            gone.title = std::move(e.title);
            gone.outOfMemoryKills = e.outOfMemoryKills;
            gone.seen = view.monotonicTime;
            e = std::move(gone);
            ++it;
        } else if (e.outOfMemoryKills > 0) {
            e.presence = Presence::killsOnly; // it runs on, out of the ranking: no stale figures
            ++it;
        } else {
            it = exported_.erase(it); // calmed down and out of the ranking
        }
    }
}

void FamilyExport::keepWithinBounds(const std::map<Label, Exported>& current, double now) {
    std::erase_if(exported_, [&](const auto& entry) {
        return current.count(entry.first) == 0 && now - entry.second.seen > options_.keepSeconds;
    });
    if (exported_.size() <= options_.maxFamilies) {
        return;
    }
    // Over the bound: the families that left longest ago go first.
    std::vector<std::pair<double, Label>> gone;
    for (const auto& [label, e] : exported_) {
        if (current.count(label) == 0) {
            gone.emplace_back(e.seen, label);
        }
    }
    std::sort(gone.begin(), gone.end());
    for (const auto& [seen, label] : gone) {
        if (exported_.size() <= options_.maxFamilies) {
            break;
        }
        exported_.erase(label);
    }
}

FamilyExport::PassFigures FamilyExport::figuresOf(const LiveView& view) {
    PassFigures figures;
    if (view.machine.valid) {
        figures.availableKiB = view.machine.memory.availableKiB;
    }
    figures.exhaustionSeconds = view.forecast.exhaustionSeconds;
    if (view.machine.pressure) {
        figures.pressureSomeAvg60 = view.machine.pressure->someAvg60;
    }
    figures.watchedProcesses = view.watchedProcesses;
    figures.wallTime = view.wallTime;
    return figures;
}

void FamilyExport::update(const LiveView& view) {
    const double now = view.monotonicTime;
    std::map<Label, Exported> current = currentOf(view);
    std::lock_guard lock(mutex_);
    latest_.reset();
    figures_ = figuresOf(view);
    retire(view, current);
    for (auto& [label, e] : current) {
        e.outOfMemoryKills = exported_.count(label) ? exported_.at(label).outOfMemoryKills : 0;
        exported_[label] = e;
    }
    countKills(view, now);
    keepWithinBounds(current, now);
}

std::vector<MetricFamily> FamilyExport::build() const {
    MetricFamily memory = family("velmora_family_memory_bytes",
                                 "Memory a family of processes holds: anonymous resident memory, "
                                 "swap, shared memory, and their sum (its footprint).");
    MetricFamily growth = family("velmora_family_growth_bytes_per_second",
                                 "How fast a family's footprint grows, as the scorer measures it.");
    MetricFamily score = family("velmora_family_score", "A family's leak score, 0 to 100.");
    MetricFamily verdict = family("velmora_family_verdict",
                                  "A family's verdict as a state set: 1 for the current verdict.");
    MetricFamily kills = family("velmora_oom_kills_total",
                                "Processes of a family the kernel's out-of-memory killer ended "
                                "since this monitor started.",
                                MetricType::Counter);
    MetricFamily gone = family("velmora_family_gone",
                               "1 for a family whose processes have all ended, exported a while "
                               "longer with its out-of-memory kills; 0 while it runs.");
    for (const auto& [label, e] : exported_) {
        std::vector<ClientMetric::Label> labels = {{"family", label.second}, {"title", e.title}};
        if (options_.userLabel) {
            labels.push_back({"user", label.first});
        }
        auto with = [&labels](const char* name, std::string value) {
            auto more = labels;
            more.push_back({name, std::move(value)});
            return more;
        };
        add(kills, labels, static_cast<double>(e.outOfMemoryKills));
        if (e.presence == Presence::killsOnly) {
            continue; // it runs on out of the ranking: its figures are not known here
        }
        add(gone, labels, e.presence == Presence::gone ? 1 : 0);
        add(memory, with("memtype", "anon"), static_cast<double>(e.anonKiB) * 1024);
        add(memory, with("memtype", "swap"), static_cast<double>(e.swapKiB) * 1024);
        add(memory, with("memtype", "shmem"), static_cast<double>(e.sharedKiB) * 1024);
        add(memory, with("memtype", "footprint"), static_cast<double>(e.footprintKiB) * 1024);
        if (e.rateKiBPerSecond) {
            add(growth, labels, *e.rateKiBPerSecond * 1024);
        }
        add(score, labels, e.score);
        for (FindingVerdict v : kVerdicts) {
            add(verdict, with("verdict", std::string(toWire(v))), v == e.verdict ? 1 : 0);
        }
    }
    std::vector<MetricFamily> all = {std::move(memory),  std::move(growth), std::move(score),
                                     std::move(verdict), std::move(kills),  std::move(gone)};

    if (figures_.availableKiB) {
        MetricFamily available = family("velmora_memory_available_bytes",
                                        "Memory available to new work (MemAvailable).");
        add(available, {}, static_cast<double>(*figures_.availableKiB) * 1024);
        all.push_back(std::move(available));
    }
    if (figures_.exhaustionSeconds) {
        MetricFamily exhaustion =
            family("velmora_memory_exhaustion_seconds",
                   "Seconds until available memory and free swap run out at the current trend; "
                   "absent while no such forecast is stated.");
        add(exhaustion, {}, *figures_.exhaustionSeconds);
        all.push_back(std::move(exhaustion));
    }
    if (figures_.pressureSomeAvg60) {
        MetricFamily pressure =
            family("velmora_memory_pressure_ratio",
                   "Share of the last minute some task waited for memory (PSI some avg60).");
        add(pressure, {}, *figures_.pressureSomeAvg60 / 100.0);
        all.push_back(std::move(pressure));
    }
    MetricFamily watched = family("velmora_watched_processes", "Processes the last pass read.");
    add(watched, {}, static_cast<double>(figures_.watchedProcesses));
    all.push_back(std::move(watched));
    MetricFamily pass =
        family("velmora_last_pass_timestamp_seconds",
               "When the last sampling pass completed, in seconds since the epoch.");
    add(pass, {}, figures_.wallTime);
    all.push_back(std::move(pass));
    MetricFamily build = family("velmora_build_info", "The monitor's version; always 1.");
    add(build, {{"version", options_.version}}, 1);
    all.push_back(std::move(build));
    return all;
}

} // namespace velmora
