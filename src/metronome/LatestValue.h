// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Hands the latest of a value from one thread to another without a lock and without either
// side ever waiting: three copies, one the writer fills, one the reader holds, one in between.
// One writer and one reader; a value that several threads read needs one of these each.
#include <array>
#include <atomic>
#include <cstdint>

namespace pulsivar {

template <typename T>
class LatestValue {
public:
    // Writer side: the new value becomes the one the reader gets next.
    void publish(const T &value)
    {
        slots_[back_] = value;
        const uint8_t old = middle_.exchange(uint8_t(back_ | freshBit), std::memory_order_acq_rel);
        back_ = old & indexMask;
    }

    // Reader side: true and value set when something was published since the last take.
    bool take(T &value)
    {
        if ((middle_.load(std::memory_order_relaxed) & freshBit) == 0)
            return false;
        const uint8_t old = middle_.exchange(front_, std::memory_order_acq_rel);
        front_ = old & indexMask;
        value = slots_[front_];
        return true;
    }

private:
    static constexpr uint8_t freshBit = 0x4;
    static constexpr uint8_t indexMask = 0x3;

    std::array<T, 3> slots_{};
    alignas(64) std::atomic<uint8_t> middle_{1};
    alignas(64) uint8_t back_ = 0;   // the writer's own
    alignas(64) uint8_t front_ = 2;  // the reader's own
};

} // namespace pulsivar
