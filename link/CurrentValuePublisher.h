// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/Subscription.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace velmora {

// A thread-safe current-value stream. A new subscriber first receives the current value
// (synchronously, inside subscribe), then every later one, on the publishing thread.
//
// Every value carries a sequence number and each subscriber only ever receives a newer value
// than the one it last got, so values never arrive out of order, even when subscribe() and
// publish() race or a handler publishes again. Destroying the token ends the subscription:
// from another thread the destructor waits for a delivery in progress, so once it has
// returned the handler is never called again; from inside the handler itself it returns at
// once (the running call finishes, no further call follows).
template <class T> class CurrentValuePublisher {
public:
    using Handler = std::function<void(const T&)>;

    explicit CurrentValuePublisher(T initial)
        : state_(std::make_shared<State>(std::move(initial))) {}
    CurrentValuePublisher(const CurrentValuePublisher&) = delete;
    CurrentValuePublisher& operator=(const CurrentValuePublisher&) = delete;

    T value() const {
        std::lock_guard lock(state_->mutex);
        return state_->value;
    }

    void publish(T next) {
        modify([&](T& value) {
            value = std::move(next);
            return true;
        });
    }

    // Changes the current value under the publisher's lock and publishes the result when
    // `change` returns true. Returns what `change` returned.
    template <class Change> bool modify(Change&& change) {
        std::shared_ptr<const T> snapshot;
        std::uint64_t sequence = 0;
        std::vector<std::shared_ptr<Slot>> subscribers;
        {
            std::lock_guard lock(state_->mutex);
            if (!change(state_->value)) {
                return false;
            }
            sequence = ++state_->sequence;
            snapshot = std::make_shared<const T>(state_->value);
            subscribers = state_->subscribers;
        }
        for (const auto& slot : subscribers) {
            slot->deliver(sequence, *snapshot);
        }
        return true;
    }

    [[nodiscard]] std::unique_ptr<Subscription> subscribe(Handler handler) {
        auto slot = std::make_shared<Slot>(std::move(handler));
        std::uint64_t sequence = 0;
        std::shared_ptr<const T> current;
        {
            std::lock_guard lock(state_->mutex);
            sequence = state_->sequence;
            current = std::make_shared<const T>(state_->value);
            state_->subscribers.push_back(slot);
        }
        slot->deliver(sequence, *current);
        return std::make_unique<Token>(state_, slot);
    }

    std::size_t subscriberCount() const {
        std::lock_guard lock(state_->mutex);
        return state_->subscribers.size();
    }

private:
    struct Slot {
        explicit Slot(Handler h) : handler(std::move(h)) {}

        void deliver(std::uint64_t sequence, const T& value) {
            std::lock_guard lock(calling);
            if (!active.load() || (delivered && sequence <= lastSequence)) {
                return;
            }
            delivered = true;
            lastSequence = sequence;
            handler(value);
        }

        void end() {
            active.store(false);
            // Waits for a delivery running on another thread; on the delivering thread
            // itself the recursive lock is taken at once.
            std::lock_guard lock(calling);
        }

        Handler handler;
        std::recursive_mutex calling;
        std::atomic<bool> active{true};
        bool delivered = false;
        std::uint64_t lastSequence = 0;
    };

    struct State {
        explicit State(T initial) : value(std::move(initial)) {}
        mutable std::mutex mutex;
        T value;
        std::uint64_t sequence = 0;
        std::vector<std::shared_ptr<Slot>> subscribers;
    };

    class Token final : public Subscription {
    public:
        Token(std::weak_ptr<State> state, std::shared_ptr<Slot> slot)
            : state_(std::move(state)), slot_(std::move(slot)) {}
        ~Token() override {
            if (auto state = state_.lock()) {
                std::lock_guard lock(state->mutex);
                auto& subscribers = state->subscribers;
                subscribers.erase(std::remove(subscribers.begin(), subscribers.end(), slot_),
                                  subscribers.end());
            }
            slot_->end();
        }

    private:
        std::weak_ptr<State> state_;
        std::shared_ptr<Slot> slot_;
    };

    std::shared_ptr<State> state_;
};

} // namespace velmora
