// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace velmora {

// The published fields of PopoverViewModel, as bits of ViewModelChange::fields.
enum class ViewModelField : std::uint32_t {
    snapshot = 1u << 0,
    pendingActions = 1u << 1,
    pendingCommands = 1u << 2,
    highlightedCriticalKeys = 1u << 3,
    visibleActionFeedback = 1u << 4,
    surface = 1u << 5,
    advancedHistory = 1u << 6,
    isAdvancedHistoryLoading = 1u << 7,
    advancedHistoryError = 1u << 8,
    activeVerdictTooltip = 1u << 9,
    monitorLink = 1u << 10,
};

constexpr std::uint32_t bit(ViewModelField field) {
    return static_cast<std::uint32_t>(field);
}

// One change of the view model's published state: which fields changed, and the motion to
// animate them with (absent for a change that is shown without animation).
struct ViewModelChange {
    std::uint32_t fields = 0;
    std::optional<VelmoraMotion> motion;

    bool has(ViewModelField field) const { return (fields & bit(field)) != 0; }
    bool operator==(const ViewModelChange&) const = default;
};

// Keeps an observer registered; destroying it unregisters the observer.
class Observation {
public:
    virtual ~Observation() = default;
};

// The observers of one view model, and the changes an operation has made so far. Changes are
// collected while an operation runs and handed out when it returns, in order; consecutive
// changes with the same motion are merged into one. Main thread only.
class ChangeNotifier {
public:
    using Observer = std::function<void(const ViewModelChange&)>;

    [[nodiscard]] std::unique_ptr<Observation> observe(Observer observer);

    // Records that `fields` changed, to be animated with `motion`.
    void changed(ViewModelField field, std::optional<MotionName> motion = std::nullopt);

    // Collects changes for the lifetime of the object; the outermost one delivers them.
    class Batch {
    public:
        explicit Batch(ChangeNotifier& notifier);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ChangeNotifier& notifier_;
    };

private:
    struct Observers {
        std::uint64_t nextID = 0;
        std::map<std::uint64_t, std::shared_ptr<Observer>> byID;
    };
    class Registration;

    void deliver();
    void notifyObservers(const ViewModelChange& change);

    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
    std::vector<ViewModelChange> pending_;
    int batchDepth_ = 0;
    bool delivering_ = false;
};

} // namespace velmora
