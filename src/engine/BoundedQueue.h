#pragma once
// A queue of limited length between two stages running on their own threads.
//
// Waits are cut into short slices so that a stop or a failure elsewhere in the job (the
// `cancelled` flag) is noticed within a slice even if nobody wakes the waiter. The end of the
// stream travels through the queue as an empty item (a null pointer), so the consumer drains
// everything before it sees the end.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace pellucor::engine {

template <typename T>
class BoundedQueue {
public:
    BoundedQueue(std::size_t capacity, const std::atomic<bool>& cancelled)
        : capacity_(capacity), cancelled_(cancelled) {}

    // Waits for room. False when the job was cancelled; the item is then dropped.
    bool push(T item) {
        std::unique_lock lock(mutex_);
        while (items_.size() >= capacity_) {
            if (cancelled_.load()) return false;
            notFull_.wait_for(lock, kSlice);
        }
        if (cancelled_.load()) return false;
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    // Waits for an item. False when the job was cancelled.
    bool pop(T& out) {
        std::unique_lock lock(mutex_);
        while (items_.empty()) {
            if (cancelled_.load()) return false;
            notEmpty_.wait_for(lock, kSlice);
        }
        if (cancelled_.load()) return false;
        out = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return true;
    }

    // Wakes every waiter now rather than at the end of its slice (after `cancelled` was set).
    void wakeAll() {
        std::lock_guard lock(mutex_);
        notFull_.notify_all();
        notEmpty_.notify_all();
    }

    std::size_t size() const {
        std::lock_guard lock(mutex_);
        return items_.size();
    }

private:
    static constexpr std::chrono::milliseconds kSlice{50};
    const std::size_t capacity_;
    const std::atomic<bool>& cancelled_;
    mutable std::mutex mutex_;
    std::condition_variable notFull_, notEmpty_;
    std::deque<T> items_;
};

} // namespace pellucor::engine
