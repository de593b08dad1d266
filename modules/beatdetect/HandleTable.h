#pragma once
// Maps small positive integer handles to owned objects; stale and foreign handles find nothing.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace pulsivar::beatdetect {

template <typename T>
class HandleTable {
public:
    static constexpr int kSlots = 256;

    // Stores the object and returns its handle, or 0 when the table is full or obj is null.
    int32_t add(std::unique_ptr<T> obj)
    {
        if (!obj)
            return 0;
        std::lock_guard lock(mutex_);
        for (int slot = 0; slot < kSlots; ++slot) {
            Entry& e = entries_[slot];
            if (e.obj)
                continue;
            // A new generation each time a slot is reused, so a destroyed handle never
            // reaches the slot's next occupant.
            e.generation = (e.generation + 1) % kGenerations;
            e.obj = std::move(obj);
            return e.generation * kSlots + slot + 1;
        }
        return 0;
    }

    bool remove(int32_t handle)
    {
        std::unique_ptr<T> doomed;
        {
            std::lock_guard lock(mutex_);
            Entry* e = find(handle);
            if (!e)
                return false;
            doomed = std::move(e->obj);
        }
        return true;
    }

    // Runs fn(T&) under the table's lock when the handle is live; returns whether it ran.
    template <typename Fn>
    bool with(int32_t handle, Fn&& fn)
    {
        std::lock_guard lock(mutex_);
        Entry* e = find(handle);
        if (!e)
            return false;
        fn(*e->obj);
        return true;
    }

    int size() const
    {
        std::lock_guard lock(mutex_);
        int n = 0;
        for (const Entry& e : entries_)
            n += e.obj ? 1 : 0;
        return n;
    }

private:
    static constexpr int kGenerations = (1 << 22);

    struct Entry {
        std::unique_ptr<T> obj;
        int32_t generation = 0;
    };

    Entry* find(int32_t handle)
    {
        if (handle <= 0)
            return nullptr;
        const int slot = (handle - 1) % kSlots;
        const int generation = (handle - 1) / kSlots;
        Entry& e = entries_[slot];
        if (!e.obj || e.generation != generation)
            return nullptr;
        return &e;
    }

    mutable std::mutex mutex_;
    std::vector<Entry> entries_ = std::vector<Entry>(kSlots);
};

} // namespace pulsivar::beatdetect
