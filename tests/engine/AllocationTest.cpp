// The audio path allocates nothing: operator new is counted while audio calls run.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "TestHost.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (counting.load()) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (counting.load()) ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
// Memory from the counting operator new above comes from malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

TEST(Allocation, AudioCallsAllocateNothing) {
    auto effect = makeEffect();
    effect->plugin().cycleFilterType(1);
    effect->plugin().cycleFilterType(2);
    effect->plugin().toggleMidiNoteControl();
    Stereo in(4096, 0.5f);
    Stereo out(4096);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    MidiList list;
    list.add(3, 0x90, 60, 100);
    list.add(9, 0x80, 60, 0);
    list.add(0, 0xB0, 1, 1);
    VstEvents* events = list.list();
    // The fake host records its requests; make room before counting.
    currentTestHost().opcodes.reserve(10000);
    currentTestHost().values.reserve(10000);

    allocations = 0;
    counting = true;
    for (int32_t block = 0; block < 200; ++block) {
        effect->processEvents(events);
        const int32_t frames = 1 + (block * 37) % 4096;
        if (block % 2)
            effect->process(inputs, outputs, frames);
        else
            effect->processReplacing(inputs, outputs, frames);
        if (block == 50) effect->setParameter(kParamPreCutoff, 0.3f);  // new coefficients
        if (block == 80) effect->plugin().cycleFilterType(2);
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}

}  // namespace
