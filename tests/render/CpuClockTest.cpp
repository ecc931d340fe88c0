// The render tool's CPU clock (--timing) on every target: as fine as the Linux tool's, also
// for the Windows build under Wine, whose process times step in 10 ms.
#include <gtest/gtest.h>

#include <chrono>

#include "tools/render/ProcessInfo.h"
#include "tools/render/WineCpuClock.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
bool underWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
#endif

// Under Wine (the tests run on Linux) the kernel's clock answers, at most 1 ms per step.
TEST(CpuClock, WineAsksLinuxForTheProcessClock) {
#ifdef _WIN32
    if (!underWine()) GTEST_SKIP() << "not under Wine: Windows' own process times";
    ASSERT_TRUE(wineCpuClockAvailable());
    EXPECT_GT(wineCpuClockResolution(), 0.0);
    EXPECT_LT(wineCpuClockResolution(), 1e-3);
    EXPECT_GT(wineCpuClockSeconds(), 0.0);
#else
    EXPECT_FALSE(wineCpuClockAvailable());  // a native build: clock() is the clock
#endif
}

// Readings that differ, taken while the process keeps the processor busy, step by less than
// a millisecond (the coarse clock stepped by 10 ms).
TEST(CpuClock, SuccessiveReadingsStepByLessThanAMillisecond) {
#ifdef _WIN32
    if (!underWine()) GTEST_SKIP() << "Windows' process times step in ticks of the scheduler";
#endif
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    double last = processCpuSeconds();
    double smallest = 1.0;
    for (int steps = 0; steps < 10 && std::chrono::steady_clock::now() < until;) {
        const double now = processCpuSeconds();
        // (Windows' kernel and user times are summed: a reading may differ from the last only
        // by the rounding of that sum when time moves from one to the other.)
        ASSERT_GE(now, last - 1e-9);
        if (now - last < 1e-9) continue;
        if (now - last < smallest) smallest = now - last;
        last = now;
        ++steps;
    }
    EXPECT_LT(smallest, 1e-3);
}

}  // namespace
