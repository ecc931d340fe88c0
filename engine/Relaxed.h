// A value shared between the audio thread and other threads: whole loads and stores with
// relaxed ordering, which cost the same as plain ones on x86 and keep the race defined.
#pragma once

#include <atomic>

template <typename T>
class Relaxed {
public:
    constexpr Relaxed() noexcept : value(T()) {}
    constexpr Relaxed(T initial) noexcept : value(initial) {}  // NOLINT: implicit by design
    Relaxed(const Relaxed& other) noexcept : value(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T next) noexcept {
        store(next);
        return *this;
    }
    operator T() const noexcept { return load(); }  // NOLINT: implicit by design

    T load() const noexcept { return value.load(std::memory_order_relaxed); }
    void store(T next) noexcept { value.store(next, std::memory_order_relaxed); }

private:
    std::atomic<T> value;
};
