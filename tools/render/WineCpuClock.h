// The process's CPU time as the Linux kernel counts it, for the Windows build of the tool
// when it runs under Wine on Linux.
#pragma once

// True when this Windows program runs under Wine on a Linux kernel that answers the clock
// (false on Windows itself, on other hosts, and in non-Windows builds).
bool wineCpuClockAvailable();
// CPU seconds of this process so far (all its threads, as Linux's clock() counts them);
// negative when the clock is not available.
double wineCpuClockSeconds();
// The kernel's resolution of that clock in seconds; negative when not available.
double wineCpuClockResolution();
