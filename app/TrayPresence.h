// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Scheduler.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace velmora {

// Decides where Velmora shows itself, the tray or its own window, and follows the tray host's
// life: at login the app often starts before the panel that hosts the tray, and panels restart.
//
// It asks a cheap probe ("can the tray show an icon now?") on the scheduler's clock:
// - at start, an answer of yes places Velmora in the tray at once; a no leaves the placement
//   pending for `startGrace`, asking every `pendingPoll`, so a panel that comes up a moment
//   later never sees the window flash open; after the grace it is the window;
// - in the window, it asks every `absentPoll` and moves to the tray as soon as one is there;
// - in the tray, it asks every `presentPoll`; a tray missing for `lossGrace` in a row (a panel
//   restarting comes back sooner) sends it to the window.
// Every change of placement is reported once through `onPlacement`. Main thread only.
class TrayPresence {
public:
    enum class Placement { pending, tray, window };

    struct Timing {
        Scheduler::Duration startGrace = std::chrono::seconds(3);
        Scheduler::Duration lossGrace = std::chrono::seconds(5);
        Scheduler::Duration pendingPoll = std::chrono::milliseconds(500);
        Scheduler::Duration absentPoll = std::chrono::seconds(2);
        Scheduler::Duration presentPoll = std::chrono::seconds(5);
    };

    TrayPresence(std::shared_ptr<Scheduler> scheduler, std::function<bool()> trayAvailable,
                 std::function<void(Placement)> onPlacement, Timing timing)
        : scheduler_(std::move(scheduler)), trayAvailable_(std::move(trayAvailable)),
          onPlacement_(std::move(onPlacement)), timing_(timing) {}
    TrayPresence(std::shared_ptr<Scheduler> scheduler, std::function<bool()> trayAvailable,
                 std::function<void(Placement)> onPlacement)
        : TrayPresence(std::move(scheduler), std::move(trayAvailable), std::move(onPlacement),
                       Timing{}) {}
    TrayPresence(const TrayPresence&) = delete;
    TrayPresence& operator=(const TrayPresence&) = delete;
    ~TrayPresence() { stop(); }

    // Asks the probe for the first time and starts following. Calling it again does nothing.
    void start() {
        if (started_) {
            return;
        }
        started_ = true;
        startedAt_ = scheduler_->now();
        check();
    }

    // Stops asking; the placement stays as it is.
    void stop() {
        if (next_) {
            next_->cancel();
            next_.reset();
        }
    }

    Placement placement() const { return placement_; }

private:
    void check() {
        next_.reset();
        const auto now = scheduler_->now();
        const bool available = trayAvailable_();
        if (available) {
            missingSince_.reset();
            place(Placement::tray);
        } else if (placement_ == Placement::pending) {
            if (now - startedAt_ >= timing_.startGrace) {
                place(Placement::window);
            }
        } else if (placement_ == Placement::tray) {
            if (!missingSince_) {
                missingSince_ = now;
            }
            if (now - *missingSince_ >= timing_.lossGrace) {
                missingSince_.reset();
                place(Placement::window);
            }
        }
        schedule(available, now);
    }

    void schedule(bool available, Scheduler::Duration now) {
        Scheduler::Duration delay = timing_.absentPoll;
        if (placement_ == Placement::pending) {
            // Ask again soon, but decide exactly when the grace runs out.
            delay = std::min(timing_.pendingPoll, startedAt_ + timing_.startGrace - now);
        } else if (placement_ == Placement::tray && available) {
            delay = timing_.presentPoll;
        } else if (placement_ == Placement::tray) {
            delay = std::min(timing_.absentPoll, *missingSince_ + timing_.lossGrace - now);
        }
        next_ = scheduler_->postAfter(delay, [this] { check(); });
    }

    void place(Placement placement) {
        if (placement == placement_) {
            return;
        }
        placement_ = placement;
        onPlacement_(placement);
    }

    std::shared_ptr<Scheduler> scheduler_;
    std::function<bool()> trayAvailable_;
    std::function<void(Placement)> onPlacement_;
    Timing timing_;
    bool started_ = false;
    Placement placement_ = Placement::pending;
    Scheduler::Duration startedAt_{0};
    std::optional<Scheduler::Duration> missingSince_;
    std::shared_ptr<TimerHandle> next_;
};

} // namespace velmora
