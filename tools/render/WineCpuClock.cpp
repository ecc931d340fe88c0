// The CPU clock of the Windows build under Wine on Linux, asked of the kernel directly.
//
// Wine answers GetProcessTimes and GetThreadTimes in 10 ms steps, does not implement
// QueryThreadCycleTime, and opens Z:\proc\self\... in the wineserver (so it describes the
// server, not us): no Windows call gives a finer CPU time there. But a Wine process is a
// Linux process running our code, so a raw Linux system call from it reaches the kernel:
// clock_gettime(CLOCK_PROCESS_CPUTIME_ID), the clock behind the Linux tool's clock(), in
// nanoseconds. It is made only once Wine says it runs on Linux; on Windows the same
// instruction would mean something else entirely.
#include "tools/render/WineCpuClock.h"

#if defined(_WIN32) && (defined(__i386__) || defined(__x86_64__))

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr long kProcessCpuClock = 2;  // CLOCK_PROCESS_CPUTIME_ID

#if defined(__i386__)
// The i386 system call ABI (int $0x80): number in eax, arguments in ebx and ecx; a 32-bit timespec.
struct LinuxTime {
    int32_t seconds;
    int32_t nanoseconds;
};
long linuxClockCall(long number, LinuxTime* time) {
    long result;
    asm volatile("int $0x80" : "=a"(result) : "0"(number), "b"(kProcessCpuClock), "c"(time) : "memory");
    return result;
}
constexpr long kClockGettime = 265;
constexpr long kClockGetres = 266;
#else
// The x86-64 system call ABI (syscall): number in rax, arguments in rdi and rsi; rcx and r11
// are clobbered.
struct LinuxTime {
    int64_t seconds;
    int64_t nanoseconds;
};
long linuxClockCall(long number, LinuxTime* time) {
    long long result;
    asm volatile("syscall"
                 : "=a"(result)
                 : "0"(static_cast<long long>(number)), "D"(static_cast<long long>(kProcessCpuClock)),
                   "S"(time)
                 : "rcx", "r11", "memory");
    return static_cast<long>(result);
}
constexpr long kClockGettime = 228;
constexpr long kClockGetres = 229;
#endif

bool underWineOnLinux() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return false;
    typedef void(__cdecl * HostVersion)(const char** sysname, const char** release);
    const auto hostVersion = reinterpret_cast<HostVersion>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_host_version")));
    if (!hostVersion) return false;
    const char* sysname = nullptr;
    const char* release = nullptr;
    hostVersion(&sysname, &release);
    return sysname && std::strcmp(sysname, "Linux") == 0;
}

double call(long number) {
    LinuxTime time = {};
    if (linuxClockCall(number, &time) != 0) return -1.0;
    return static_cast<double>(time.seconds) + static_cast<double>(time.nanoseconds) * 1e-9;
}

bool available() {
    // Asked once: Wine's answer, then whether the kernel gives the clock (and a fine one).
    static const bool yes = underWineOnLinux() && call(kClockGettime) >= 0.0 && call(kClockGetres) > 0.0;
    return yes;
}

}  // namespace

bool wineCpuClockAvailable() { return available(); }
double wineCpuClockSeconds() { return available() ? call(kClockGettime) : -1.0; }
double wineCpuClockResolution() { return available() ? call(kClockGetres) : -1.0; }

#else

bool wineCpuClockAvailable() { return false; }
double wineCpuClockSeconds() { return -1.0; }
double wineCpuClockResolution() { return -1.0; }

#endif
