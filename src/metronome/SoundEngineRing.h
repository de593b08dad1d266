// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A fixed-size single-producer single-consumer queue: the GUI thread hands clicks to the
// audio callback without a lock, so a busy GUI never blocks the audio thread nor the reverse.
#include <array>
#include <atomic>
#include <cstddef>
#include <optional>

namespace pulsivar {

template <typename T, std::size_t Capacity>
class SpscRing {
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0, "Capacity must be a power of two");

public:
    // Producer side; false when full.
    bool push(const T &item)
    {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity)
            return false;
        items_[tail & (Capacity - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side.
    std::optional<T> pop()
    {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire))
            return std::nullopt;
        T item = items_[head & (Capacity - 1)];
        head_.store(head + 1, std::memory_order_release);
        return item;
    }

private:
    std::array<T, Capacity> items_{};
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

} // namespace pulsivar
