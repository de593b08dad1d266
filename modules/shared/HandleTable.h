// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Hands out small positive integer handles for objects, so no pointer ever crosses a module's C
// interface. Not locked: each module guards its tables with its own lock.
#include <cstdint>
#include <memory>
#include <vector>

namespace pulsivar::modules {

// A handle is slot + 1 in the low bits, a generation above it (so a released handle stays
// invalid when its slot is reused) and a kind bit (so a sound is never taken for a system).
template <typename T>
class HandleTable {
public:
    static constexpr int slotBits = 10;
    static constexpr int generationBits = 20;
    static constexpr std::uint32_t slotMask = (1u << slotBits) - 1;
    static constexpr std::uint32_t generationMask = (1u << generationBits) - 1;
    static constexpr std::size_t maxCapacity = slotMask; // slot numbers 1..slotMask

    // kind tells two tables of one module apart; capacity bounds how many objects may live at once.
    explicit HandleTable(std::uint32_t kind, std::size_t capacity = maxCapacity)
        : kindBit(kind ? 1u << 30 : 0u), capacity(capacity < maxCapacity ? capacity : maxCapacity)
    {
    }

    // 0 when the table is full.
    std::int32_t add(std::shared_ptr<T> object)
    {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (!slots[i].object)
                return place(i, std::move(object));
        }
        if (slots.size() >= capacity)
            return 0;
        slots.emplace_back();
        return place(slots.size() - 1, std::move(object));
    }

    std::shared_ptr<T> find(std::int32_t handle) const
    {
        const Slot *slot = slotOf(handle);
        return slot ? slot->object : nullptr;
    }

    // The same without touching the count of owners, for calls made many thousand times a second.
    T *get(std::int32_t handle) const
    {
        const Slot *slot = slotOf(handle);
        return slot ? slot->object.get() : nullptr;
    }

    std::shared_ptr<T> remove(std::int32_t handle)
    {
        Slot *slot = const_cast<Slot *>(slotOf(handle));
        if (!slot)
            return nullptr;
        return std::move(slot->object);
    }

    template <typename Fn>
    void forEach(Fn fn) const
    {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (slots[i].object)
                fn(handleOf(i), slots[i].object);
        }
    }

private:
    struct Slot {
        std::shared_ptr<T> object;
        std::uint32_t generation = 0;
    };

    std::int32_t place(std::size_t index, std::shared_ptr<T> object)
    {
        Slot &slot = slots[index];
        slot.generation = (slot.generation + 1) & generationMask;
        if (slot.generation == 0)
            slot.generation = 1;
        slot.object = std::move(object);
        return handleOf(index);
    }

    std::int32_t handleOf(std::size_t index) const
    {
        return static_cast<std::int32_t>(kindBit | (slots[index].generation << slotBits)
                                         | static_cast<std::uint32_t>(index + 1));
    }

    const Slot *slotOf(std::int32_t handle) const
    {
        if (handle <= 0)
            return nullptr;
        const auto bits = static_cast<std::uint32_t>(handle);
        if ((bits & (1u << 30)) != kindBit)
            return nullptr;
        const std::uint32_t slotNumber = bits & slotMask;
        if (slotNumber == 0 || slotNumber > slots.size())
            return nullptr;
        const Slot &slot = slots[slotNumber - 1];
        if (!slot.object || ((bits >> slotBits) & generationMask) != slot.generation)
            return nullptr;
        return &slot;
    }

    std::uint32_t kindBit;
    std::size_t capacity;
    std::vector<Slot> slots;
};

} // namespace pulsivar::modules
