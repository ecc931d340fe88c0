// The editor's edits on their way to the host: gesture begins, values and gesture ends, written
// by the user-interface thread and read by whichever thread the host hands its output events to
// (process on the audio thread, or params.flush). One writer, one reader, no locks, no
// allocation after construction.
#pragma once

#include <atomic>
#include <cstdint>

struct QueuedEdit {
    enum class Kind : uint8_t { begin, value, end };
    Kind kind = Kind::value;
    uint32_t control = 0;
    double value = 0.0;
};

class EditQueue {
public:
    static constexpr uint32_t kCapacity = 1024;  // a power of two

    // Writer. False when full (the host has not asked for events for that long).
    bool push(const QueuedEdit& edit) {
        const uint32_t tail = writeAt.load(std::memory_order_relaxed);
        if (tail - readAt.load(std::memory_order_acquire) >= kCapacity) return false;
        slots[tail & (kCapacity - 1)] = edit;
        writeAt.store(tail + 1, std::memory_order_release);
        return true;
    }
    // Reader: the oldest edit without taking it; false when empty.
    bool peek(QueuedEdit& edit) const {
        const uint32_t head = readAt.load(std::memory_order_relaxed);
        if (head == writeAt.load(std::memory_order_acquire)) return false;
        edit = slots[head & (kCapacity - 1)];
        return true;
    }
    // Reader: nothing waits.
    bool empty() const {
        return readAt.load(std::memory_order_relaxed) == writeAt.load(std::memory_order_acquire);
    }
    void pop() { readAt.store(readAt.load(std::memory_order_relaxed) + 1, std::memory_order_release); }
    // Writer: how many edits wait.
    uint32_t size() const {
        return writeAt.load(std::memory_order_relaxed) - readAt.load(std::memory_order_acquire);
    }

private:
    QueuedEdit slots[kCapacity];
    std::atomic<uint32_t> writeAt{0};
    std::atomic<uint32_t> readAt{0};
};
