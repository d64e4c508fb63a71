// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ViewModelChange.h"

namespace velmora {

class ChangeNotifier::Registration final : public Observation {
public:
    Registration(std::weak_ptr<Observers> observers, std::uint64_t id)
        : observers_(std::move(observers)), id_(id) {}
    ~Registration() override {
        if (auto observers = observers_.lock()) {
            observers->byID.erase(id_);
        }
    }

private:
    std::weak_ptr<Observers> observers_;
    std::uint64_t id_;
};

std::unique_ptr<Observation> ChangeNotifier::observe(Observer observer) {
    const std::uint64_t id = observers_->nextID++;
    observers_->byID.emplace(id, std::make_shared<Observer>(std::move(observer)));
    return std::make_unique<Registration>(observers_, id);
}

void ChangeNotifier::changed(ViewModelField field, std::optional<MotionName> name) {
    std::optional<VelmoraMotion> motion;
    if (name) {
        motion = velmora::motion(*name);
    }
    if (!pending_.empty() && pending_.back().motion == motion) {
        pending_.back().fields |= bit(field);
    } else {
        pending_.push_back(ViewModelChange{bit(field), motion});
    }
    if (batchDepth_ == 0) {
        deliver();
    }
}

ChangeNotifier::Batch::Batch(ChangeNotifier& notifier) : notifier_(notifier) {
    ++notifier_.batchDepth_;
}

ChangeNotifier::Batch::~Batch() {
    if (--notifier_.batchDepth_ == 0) {
        notifier_.deliver();
    }
}

void ChangeNotifier::deliver() {
    // A change made by an observer while changes are being delivered queues behind them.
    if (delivering_) {
        return;
    }
    delivering_ = true;
    while (!pending_.empty()) {
        std::vector<ViewModelChange> changes;
        changes.swap(pending_);
        for (const ViewModelChange& change : changes) {
            notifyObservers(change);
        }
    }
    delivering_ = false;
}

void ChangeNotifier::notifyObservers(const ViewModelChange& change) {
    // An observer may register or unregister observers while it runs.
    std::vector<std::weak_ptr<Observer>> current;
    for (const auto& [id, observer] : observers_->byID) {
        current.push_back(observer);
    }
    for (const auto& weak : current) {
        if (auto observer = weak.lock()) {
            (*observer)(change);
        }
    }
}

} // namespace velmora
