// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-behaviour: one process with a chosen memory behaviour, for watching the real monitor
// at work. It really holds what it claims: every page of its memory is written (resident
// anonymous memory), and memory it gives up is unmapped, so it truly goes back to the kernel.
// Memory is held in mmap'd 1 MiB chunks rather than through malloc for that reason.
//
//   velmora-behaviour MODE [--option value ...]
//
// It ends cleanly on SIGTERM, SIGINT or SIGHUP and when its parent dies. Sizes are MiB,
// rates MiB per minute, times seconds. Run with --help for the modes and their options.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
constexpr long kPageBytes = 4096;

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
    stopRequested = 1;
}

double monotonicSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double cpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Sleeps until an absolute monotonic time; a stop signal cuts the sleep short.
void sleepUntil(double when) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(when);
    ts.tv_nsec = static_cast<long>((when - static_cast<double>(ts.tv_sec)) * 1e9);
    while (!stopRequested) {
        int rc = ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
        if (rc != EINTR) {
            return;
        }
    }
}

// Anonymous memory in whole chunks, every page written when it is mapped.
class Heap {
public:
    Heap() = default;
    Heap(const Heap&) = delete;
    Heap& operator=(const Heap&) = delete;
    ~Heap() { resize(0); }

    std::size_t chunks() const { return chunks_.size(); }

    // Grows or shrinks to `count` chunks; false when the kernel refuses more memory.
    bool resize(std::size_t count) {
        while (chunks_.size() > count) {
            ::munmap(chunks_.back(), kChunkBytes);
            chunks_.pop_back();
        }
        while (chunks_.size() < count) {
            void* chunk = ::mmap(nullptr, kChunkBytes, PROT_READ | PROT_WRITE,
                                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (chunk == MAP_FAILED) {
                return false;
            }
            // Distinct non-zero bytes per page: nothing here is a shared zero page.
            auto* bytes = static_cast<unsigned char*>(chunk);
            for (std::size_t page = 0; page < kChunkBytes / kPageBytes; ++page) {
                std::memset(bytes + page * kPageBytes,
                            static_cast<int>((chunks_.size() + page) % 251 + 1), kPageBytes);
            }
            chunks_.push_back(chunk);
        }
        return true;
    }

    // The application's own work: reads and rewrites its live pages in turn until the process
    // has used `budget` seconds of CPU more than at the call. Without memory it just computes.
    void work(double budget) {
        double until = cpuSeconds() + budget;
        std::uint64_t hash = 1469598103934665603ull;
        constexpr std::size_t pagesPerChunk = kChunkBytes / kPageBytes;
        while (cpuSeconds() < until && !stopRequested) {
            for (int step = 0; step < 64; ++step) {
                if (chunks_.empty()) {
                    for (int i = 0; i < 4096; ++i) {
                        hash = (hash ^ static_cast<std::uint64_t>(i)) * 1099511628211ull;
                    }
                    continue;
                }
                cursor_ %= chunks_.size() * pagesPerChunk;
                auto* page = static_cast<unsigned char*>(chunks_[cursor_ / pagesPerChunk]) +
                             (cursor_ % pagesPerChunk) * kPageBytes;
                for (long i = 0; i < kPageBytes; i += 64) {
                    hash = (hash ^ page[i]) * 1099511628211ull;
                    page[i] = static_cast<unsigned char>(hash | 1u);
                }
                ++cursor_;
            }
        }
        sink_ ^= hash;
    }

private:
    std::vector<void*> chunks_;
    std::size_t cursor_ = 0;
    std::uint64_t sink_ = 0;
};

struct Options {
    std::string mode;
    std::map<std::string, double> values;
    std::vector<std::string> unknown;

    double get(const std::string& name, double fallback) {
        auto it = values.find(name);
        double value = it == values.end() ? fallback : it->second;
        used_.push_back(name);
        return value;
    }
    // Options given but never asked for: a typo would otherwise pass silently.
    std::vector<std::string> unused() const {
        std::vector<std::string> out = unknown;
        for (const auto& [name, value] : values) {
            if (std::find(used_.begin(), used_.end(), name) == used_.end()) {
                out.push_back(name);
            }
        }
        return out;
    }

private:
    std::vector<std::string> used_;
};

// The size a behaviour wants at a moment, in MiB; asked once per tick, in time order.
class Shape {
public:
    virtual ~Shape() = default;
    virtual double targetMiB(double seconds) = 0;
};

class FlatShape : public Shape {
public:
    explicit FlatShape(double size) : size_(size) {}
    double targetMiB(double) override { return size_; }

private:
    double size_;
};

// Caches and pools filling at start-up: an exponential approach to a plateau, then flat.
class WarmupShape : public Shape {
public:
    explicit WarmupShape(Options& o)
        : start_(o.get("start-mb", 20)), plateau_(o.get("mb", 400)),
          tau_(std::max(1.0, o.get("tau-sec", 60))) {}
    double targetMiB(double t) override {
        return start_ + (plateau_ - start_) * (1.0 - std::exp(-t / tau_));
    }

private:
    double start_, plateau_, tau_;
};

// A garbage-collected heap: garbage piles up for a few minutes, a collection drops it back to
// the floor. Each cycle's length and height vary; the floor may itself creep up (a leak hiding
// under the collector). The cycles come from a generator of their own, seeded once: how many
// ticks a loaded machine lets the process take (each draws noise) does not change them, so runs
// with one seed see the same cycles.
class SawtoothShape : public Shape {
public:
    SawtoothShape(Options& o, std::mt19937& rng)
        : floor_(o.get("floor-mb", 200)), rise_(o.get("rise-mb", 80)),
          period_(std::max(10.0, o.get("period-sec", 240))), jitter_(o.get("jitter", 0.2)),
          floorRate_(o.get("floor-rate", 0)), maxFloor_(o.get("max-floor-mb", 0)), rng_(rng),
          cycles_(rng()) {
        nextCycle(0);
    }
    double targetMiB(double t) override {
        while (t >= cycleStart_ + cycleLength_) {
            nextCycle(cycleStart_ + cycleLength_);
        }
        double floor = floor_ + floorRate_ * t / 60.0;
        if (maxFloor_ > 0) {
            floor = std::min(floor, maxFloor_);
        }
        double progress = (t - cycleStart_) / cycleLength_;
        std::uniform_real_distribution<double> noise(-1.5, 1.5);
        return floor + cycleRise_ * progress + noise(rng_);
    }

private:
    void nextCycle(double start) {
        std::uniform_real_distribution<double> spread(1.0 - jitter_, 1.0 + jitter_);
        cycleStart_ = start;
        cycleLength_ = period_ * spread(cycles_);
        cycleRise_ = rise_ * spread(cycles_);
    }

    double floor_, rise_, period_, jitter_, floorRate_, maxFloor_;
    std::mt19937& rng_;
    std::mt19937 cycles_;
    double cycleStart_ = 0, cycleLength_ = 0, cycleRise_ = 0;
};

// Working sets that come and go: a random walk reflected at both ends of a range.
class WalkShape : public Shape {
public:
    WalkShape(Options& o, std::mt19937& rng)
        : low_(o.get("low-mb", 150)), high_(o.get("high-mb", 350)), step_(o.get("step-mb", 4)),
          every_(std::max(0.5, o.get("every-sec", 2))), rng_(rng) {
        size_ = o.get("start-mb", (low_ + high_) / 2);
    }
    double targetMiB(double t) override {
        std::uniform_real_distribution<double> move(-step_, step_);
        while (next_ <= t) {
            size_ += move(rng_);
            if (size_ < low_) {
                size_ = 2 * low_ - size_;
            }
            if (size_ > high_) {
                size_ = 2 * high_ - size_;
            }
            size_ = std::clamp(size_, low_, high_);
            next_ += every_;
        }
        return size_;
    }

private:
    double low_, high_, step_, every_;
    std::mt19937& rng_;
    double size_ = 0;
    double next_ = 0;
};

// A one-off step, like a large file loaded into memory, then flat.
class StepShape : public Shape {
public:
    explicit StepShape(Options& o)
        : from_(o.get("from-mb", 100)), to_(o.get("to-mb", 400)), at_(o.get("at-sec", 120)) {}
    double targetMiB(double t) override { return t < at_ ? from_ : to_; }

private:
    double from_, to_, at_;
};

// A steady leak from a base size, optionally after a flat start (onset) and with one pause;
// it levels off at max-mb when that is given, so long runs stay within a memory budget.
class LeakShape : public Shape {
public:
    explicit LeakShape(Options& o)
        : base_(o.get("base-mb", 50)), rate_(o.get("rate", 20)), onset_(o.get("onset-sec", 0)),
          pauseAt_(o.get("pause-at-sec", -1)), pauseFor_(o.get("pause-sec", 0)),
          max_(o.get("max-mb", 0)) {}
    double targetMiB(double t) override {
        double leaking = std::max(0.0, t - onset_);
        if (pauseAt_ >= 0 && t > pauseAt_) {
            leaking -= std::min(t - pauseAt_, pauseFor_);
        }
        double size = base_ + rate_ * std::max(0.0, leaking) / 60.0;
        return max_ > 0 ? std::min(size, max_) : size;
    }

private:
    double base_, rate_, onset_, pauseAt_, pauseFor_, max_;
};

// A warm-up along a logistic curve: slow, then fast, then levelling off at its plateau.
class LogisticShape : public Shape {
public:
    explicit LogisticShape(Options& o)
        : start_(o.get("start-mb", 20)), plateau_(o.get("mb", 300)), mid_(o.get("mid-sec", 360)),
          width_(std::max(1.0, o.get("width-sec", 90))) {}
    double targetMiB(double t) override {
        return start_ + (plateau_ - start_) / (1 + std::exp(-(t - mid_) / width_));
    }

private:
    double start_, plateau_, mid_, width_;
};

// A job: grows steadily for a while, then frees everything it took and stays at its base.
class JobShape : public Shape {
public:
    explicit JobShape(Options& o)
        : base_(o.get("base-mb", 50)), rate_(o.get("rate", 12)), for_(o.get("for-sec", 360)) {}
    double targetMiB(double t) override { return t < for_ ? base_ + rate_ * t / 60.0 : base_; }

private:
    double base_, rate_, for_;
};

// Memory that grows by chunks: every `every-sec` a step of `step-pct` percent of the current
// size (or `step-mb`), never given back, up to max-mb.
class StairShape : public Shape {
public:
    explicit StairShape(Options& o)
        : base_(o.get("base-mb", 300)), stepShare_(o.get("step-pct", 0) / 100),
          stepMiB_(o.get("step-mb", 30)), every_(std::max(1.0, o.get("every-sec", 180))),
          max_(o.get("max-mb", 0)) {}
    double targetMiB(double t) override {
        double size = base_;
        for (double at = every_; at <= t; at += every_) {
            size += stepShare_ > 0 ? size * stepShare_ : stepMiB_;
        }
        return max_ > 0 ? std::min(size, max_) : size;
    }

private:
    double base_, stepShare_, stepMiB_, every_, max_;
};

// A process's start-up: it appears with next to nothing and climbs to where the behaviour
// begins within `seconds`, quick at first; the behaviour's own clock starts after it.
class StartUpShape : public Shape {
public:
    StartUpShape(std::unique_ptr<Shape> inner, double seconds)
        : inner_(std::move(inner)), seconds_(seconds) {}
    double targetMiB(double t) override {
        if (t >= seconds_) {
            return inner_->targetMiB(t - seconds_);
        }
        if (first_ < 0) {
            first_ = inner_->targetMiB(0);
        }
        double x = t / seconds_;
        return first_ * (1 - (1 - x) * (1 - x));
    }

private:
    std::unique_ptr<Shape> inner_;
    double seconds_;
    double first_ = -1;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    options.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0 || i + 1 >= argc) {
            options.unknown.push_back(arg);
            continue;
        }
        char* end = nullptr;
        double value = std::strtod(argv[i + 1], &end);
        if (end == argv[i + 1] || *end != '\0' || !std::isfinite(value)) {
            options.unknown.push_back(arg + " " + argv[i + 1]);
        } else {
            options.values[arg.substr(2)] = value;
        }
        ++i;
    }
    return options;
}

void printUsage(std::FILE* out) {
    std::fputs(
        "Usage: velmora-behaviour MODE [--option value ...]\n"
        "\n"
        "Holds real resident anonymous memory that follows one behaviour (MiB, MiB/min, s):\n"
        "  flat      --mb 300\n"
        "  warmup    --mb 400 --start-mb 20 --tau-sec 60     exponential approach, then flat\n"
        "  sawtooth  --floor-mb 200 --rise-mb 80 --period-sec 240 --jitter 0.2\n"
        "            [--floor-rate 0 --max-floor-mb 0]       collector-like rise and drop\n"
        "  walk      --low-mb 150 --high-mb 350 --step-mb 4 --every-sec 2 [--start-mb mid]\n"
        "  step      --from-mb 100 --to-mb 400 --at-sec 120\n"
        "  leak      --base-mb 50 --rate 20 [--onset-sec 0 --pause-at-sec -1 --pause-sec 0\n"
        "            --max-mb 0]\n"
        "  family    --children 4 --child-mb 20 --root-mb 20 --leaker 1 --rate 10\n"
        "            [--max-mb 0]                 this process and its children, one leaking\n"
        "  stairs    --base-mb 300 --step-mb 30 | --step-pct 5, --every-sec 180 [--max-mb 0]\n"
        "  logistic  --mb 300 --start-mb 20 --mid-sec 360 --width-sec 90   S-shaped warm-up\n"
        "  job       --base-mb 50 --rate 12 --for-sec 360    grows, then frees it all\n"
        "  churn     --base-mb 40 --rate 0 [--max-mb 0]      this process (leaking at rate), and\n"
        "            --child-mb 80 --every-sec 30 --life-low-sec 30 --life-high-sec 60\n"
        "            --max-alive 2 [--climb 0 --child-tau-sec 0]   children that come and go\n"
        "            [--grower-rate 0 --grower-mb 60 --grower-max-mb 0]   and one that leaks\n"
        "Every mode: --busy PERCENT (CPU of one core spent working over its memory, default 0)\n"
        "            --startup-sec 0 (climb from nothing to the behaviour's first size first)\n"
        "            --seed N (random choices), --tick-sec 1, --time-scale 1 (a faster clock)\n"
        "Ends cleanly on SIGTERM, SIGINT, SIGHUP and when its parent dies.\n",
        out);
}

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The real path of this executable, so children's names and command lines are this copy's own.
std::string selfPath() {
    char self[4096];
    ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::perror("velmora-behaviour: /proc/self/exe");
        return {};
    }
    self[length] = '\0';
    return self;
}

// Starts this executable again with `args` (the mode first) as a child that dies with this
// process; -1 when it cannot.
pid_t spawnSelf(const std::string& self, std::vector<std::string> args) {
    args.insert(args.begin(), self);
    std::string parent = std::to_string(::getpid());
    pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("velmora-behaviour: fork");
        return -1;
    }
    if (pid == 0) {
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        ::setenv("VELMORA_BEHAVIOUR_PARENT", parent.c_str(), 1);
        ::execv(self.c_str(), argv.data());
        std::perror("velmora-behaviour: exec");
        ::_exit(127);
    }
    return pid;
}

// Ends the children: SIGTERM, then SIGKILL for any still there after five seconds.
void endChildren(std::vector<pid_t>& pids) {
    for (pid_t pid : pids) {
        ::kill(pid, SIGTERM);
    }
    double deadline = monotonicSeconds() + 5.0;
    while (!pids.empty()) {
        std::erase_if(pids, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
        if (monotonicSeconds() > deadline) {
            for (pid_t pid : pids) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
            pids.clear();
        }
        ::usleep(20000);
    }
}

// The family's root: starts its children from this same executable (so all share it, as the
// processes of one application do), holds its own memory, and takes the children down with it.
class Family {
public:
    explicit Family(Options& o)
        : children_(static_cast<int>(o.get("children", 4))), childMiB_(o.get("child-mb", 20)),
          leaker_(static_cast<int>(o.get("leaker", 1))), rate_(o.get("rate", 10)),
          max_(o.get("max-mb", 0)), busy_(o.get("busy", 0)), timeScale_(o.get("time-scale", 1)) {}

    bool start() {
        std::string self = selfPath();
        if (self.empty()) {
            return false;
        }
        for (int i = 0; i < children_; ++i) {
            std::vector<std::string> args;
            if (i == leaker_) {
                args = {"leak",        "--base-mb", number(childMiB_), "--rate",
                        number(rate_), "--max-mb",  number(max_)};
            } else {
                args = {"flat", "--mb", number(childMiB_)};
            }
            args.insert(args.end(), {"--busy", number(busy_ / 2), "--seed", std::to_string(i),
                                     "--time-scale", number(timeScale_)});
            pid_t pid = spawnSelf(self, args);
            if (pid < 0) {
                return false;
            }
            pids_.push_back(pid);
        }
        return true;
    }

    // False once a child has ended on its own.
    bool childrenAlive() {
        for (pid_t pid : pids_) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                std::fprintf(stderr, "velmora-behaviour: family child %d ended (status %d)\n",
                             static_cast<int>(pid), status);
                std::erase(pids_, pid);
                return false;
            }
        }
        return true;
    }

    void stop() { endChildren(pids_); }

private:
    int children_;
    double childMiB_;
    int leaker_;
    double rate_, max_, busy_, timeScale_;
    std::vector<pid_t> pids_;
};

// Children of this same executable started and ended again and again (a browser's tabs, a
// server's workers, a spawner's jobs), and optionally one long-lived child that leaks.
class Churn {
public:
    explicit Churn(Options& o)
        : childMiB_(o.get("child-mb", 80)), every_(std::max(1.0, o.get("every-sec", 30))),
          lifeLow_(o.get("life-low-sec", 30)), lifeHigh_(o.get("life-high-sec", 60)),
          maxAlive_(static_cast<std::size_t>(o.get("max-alive", 2))),
          climb_(o.get("climb", 0) != 0), tau_(o.get("child-tau-sec", 0)),
          growerRate_(o.get("grower-rate", 0)), growerMiB_(o.get("grower-mb", 60)),
          growerMax_(o.get("grower-max-mb", 0)) {}

    bool start() {
        self_ = selfPath();
        if (self_.empty()) {
            return false;
        }
        if (growerRate_ > 0) {
            grower_ = spawnSelf(self_, {"leak", "--base-mb", number(growerMiB_), "--rate",
                                        number(growerRate_), "--max-mb", number(growerMax_),
                                        "--startup-sec", "3"});
        }
        return grower_ != -1;
    }

    // Ends the children whose time is up and starts one when it is due; false when a child
    // could not start or the long-lived one ended on its own.
    bool tick(double now, std::mt19937& rng) {
        if (grower_ > 0 && ::waitpid(grower_, nullptr, WNOHANG) == grower_) {
            std::fprintf(stderr, "velmora-behaviour: the growing child ended\n");
            return false;
        }
        std::erase_if(children_, [now](const Child& child) {
            if (now >= child.ends) {
                ::kill(child.pid, SIGTERM);
            }
            return ::waitpid(child.pid, nullptr, WNOHANG) == child.pid;
        });
        if (now < next_ || children_.size() >= maxAlive_) {
            return true;
        }
        std::uniform_real_distribution<double> life(lifeLow_, std::max(lifeLow_, lifeHigh_));
        std::uniform_real_distribution<double> spread(0.6, 1.4);
        double lives = life(rng);
        std::vector<std::string> args;
        if (climb_) {
            args = {
                "leak",     "--base-mb",      "5", "--rate", number((childMiB_ - 5) / lives * 60),
                "--max-mb", number(childMiB_)};
        } else if (tau_ > 0) {
            args = {"warmup", "--mb",      number(childMiB_), "--start-mb",
                    "8",      "--tau-sec", number(tau_)};
        } else {
            args = {"flat", "--mb", number(childMiB_), "--startup-sec", "3"};
        }
        pid_t pid = spawnSelf(self_, args);
        if (pid < 0) {
            return false;
        }
        children_.push_back({pid, now + lives});
        next_ = now + every_ * spread(rng);
        return true;
    }

    void stop() {
        std::vector<pid_t> pids;
        for (const Child& child : children_) {
            pids.push_back(child.pid);
        }
        if (grower_ > 0) {
            pids.push_back(grower_);
        }
        endChildren(pids);
        children_.clear();
    }

private:
    struct Child {
        pid_t pid;
        double ends;
    };
    double childMiB_, every_, lifeLow_, lifeHigh_;
    std::size_t maxAlive_;
    bool climb_;
    double tau_, growerRate_, growerMiB_, growerMax_;
    std::string self_;
    pid_t grower_ = 0;
    double next_ = 5;
    std::vector<Child> children_;
};

void installSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a stop must cut the tick's sleep short
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &action, nullptr);
    }
    ::signal(SIGPIPE, SIG_IGN);
}

// Dies with the parent that started it, even when that parent is killed outright.
bool followParent() {
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0) {
        std::perror("velmora-behaviour: prctl");
        return false;
    }
    // The parent may have gone before prctl: then this process was already re-parented.
    if (const char* expected = std::getenv("VELMORA_BEHAVIOUR_PARENT")) {
        if (std::atol(expected) != static_cast<long>(::getppid())) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    installSignals();
    if (!followParent()) {
        return 1;
    }

    Options options = parseOptions(argc, argv);
    std::mt19937 rng(static_cast<std::mt19937::result_type>(options.get("seed", 1)));
    double busyShare = std::clamp(options.get("busy", 0), 0.0, 100.0) / 100.0;
    double tick = std::max(0.1, options.get("tick-sec", 1));
    // Runs the behaviour's clock faster, to look at a shape without waiting for it.
    double timeScale = std::max(0.001, options.get("time-scale", 1));

    std::unique_ptr<Shape> shape;
    std::unique_ptr<Family> family;
    std::unique_ptr<Churn> churn;
    const std::string& mode = options.mode;
    if (mode == "flat") {
        shape = std::make_unique<FlatShape>(options.get("mb", 300));
    } else if (mode == "warmup") {
        shape = std::make_unique<WarmupShape>(options);
    } else if (mode == "sawtooth") {
        shape = std::make_unique<SawtoothShape>(options, rng);
    } else if (mode == "walk") {
        shape = std::make_unique<WalkShape>(options, rng);
    } else if (mode == "step") {
        shape = std::make_unique<StepShape>(options);
    } else if (mode == "leak") {
        shape = std::make_unique<LeakShape>(options);
    } else if (mode == "stairs") {
        shape = std::make_unique<StairShape>(options);
    } else if (mode == "family") {
        family = std::make_unique<Family>(options);
        shape = std::make_unique<FlatShape>(options.get("root-mb", 20));
    } else if (mode == "churn") {
        churn = std::make_unique<Churn>(options);
        shape = std::make_unique<LeakShape>(options);
    } else if (mode == "logistic") {
        shape = std::make_unique<LogisticShape>(options);
    } else if (mode == "job") {
        shape = std::make_unique<JobShape>(options);
    } else {
        std::fprintf(stderr, "velmora-behaviour: unknown mode \"%s\"\n", mode.c_str());
        printUsage(stderr);
        return 2;
    }
    if (double startUp = options.get("startup-sec", 0); startUp > 0 && shape) {
        shape = std::make_unique<StartUpShape>(std::move(shape), startUp);
    }
    if (auto unused = options.unused(); !unused.empty()) {
        for (const auto& name : unused) {
            std::fprintf(stderr, "velmora-behaviour: %s does not take \"%s\"\n", mode.c_str(),
                         name.c_str());
        }
        return 2;
    }

    int status = 0;
    Heap heap;
    if ((family && !family->start()) || (churn && !churn->start())) {
        status = 1;
    }
    double start = monotonicSeconds();
    for (long tickIndex = 1; status == 0 && !stopRequested; ++tickIndex) {
        double target = std::max(0.0, shape->targetMiB((monotonicSeconds() - start) * timeScale));
        if (!heap.resize(static_cast<std::size_t>(std::lround(target)))) {
            std::fprintf(stderr, "velmora-behaviour: out of memory at %zu MiB\n", heap.chunks());
            status = 1;
            break;
        }
        if (busyShare > 0) {
            heap.work(busyShare * tick);
        }
        if (family && !family->childrenAlive()) {
            status = 1;
            break;
        }
        if (churn && !churn->tick(monotonicSeconds() - start, rng)) {
            status = 1;
            break;
        }
        sleepUntil(start + static_cast<double>(tickIndex) * tick);
    }
    if (family) {
        family->stop();
    }
    if (churn) {
        churn->stop();
    }
    return status;
}
