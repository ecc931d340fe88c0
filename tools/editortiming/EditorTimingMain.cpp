// brindleloop-editor-timing PLUGIN [IDLES] [--scale F] [--hold SECONDS]: loads the plug-in through
// its entry point, opens its editor in a window of ours and times the editor's idle (the slider
// bank, step panel and waveform redrawn and copied to the window) and open/close cycles.
// --scale tells the editor a scale factor as hosts do (effVendorSpecific 'PreS' 'AeCs'); --hold
// instead holds the left button over the MIDI panel (outside its switches) for that long and
// reports the processor time the press cost. Prints figures; exit code 1 when the plug-in or a
// window cannot be had.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tools/editortiming/ParentWindow.h"
#include "tools/loader/PluginLoader.h"
#include "tools/version/ToolVersion.h"

namespace {

VstTimeInfo timeInfo{};
int hostIdles = 0;

intptr_t VSTCALL timingHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterIdle) ++hostIdles;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&timeInfo);
    return 0;
}

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Changes everything a program holds (the eleven slider values, the threshold, the sequence
// length and both filter types) through a preset chunk, as a host loads one, so that the next
// idle renders every part of the slider bank and the step panel's length again.
void changeEverything(AEffect* effect, int32_t round) {
    void* data = nullptr;
    const intptr_t size = effect->dispatcher(effect, effGetChunk, 1, 0, &data, 0.0f);
    if (size < 84 || data == nullptr) return;
    unsigned char preset[84];
    std::memcpy(preset, data, sizeof preset);
    // Bytes 0..43 the slider values, 44 the threshold, 48 the sequence length, 52 and 56 the types.
    for (int32_t slot = 0; slot < 13; ++slot) {
        const float value = static_cast<float>((round * 7 + slot * 13) % 100) / 100.0f;
        std::memcpy(preset + 4 * slot, &value, sizeof value);
    }
    const int32_t type = round % 4;
    std::memcpy(preset + 52, &type, sizeof type);
    std::memcpy(preset + 56, &type, sizeof type);
    effect->dispatcher(effect, effSetChunk, 1, sizeof preset, preset, 0.0f);
}

// Loud then quiet input, so the envelope moves and recordings run while the idles are timed.
void playBlock(AEffect* effect, int32_t block) {
    static std::vector<float> in(512), outL(512), outR(512);
    const float level = block % 40 < 10 ? 0.8f : 0.01f;
    for (size_t i = 0; i < in.size(); ++i) in[i] = level * ((i / 20) % 2 == 0 ? 1.0f : -1.0f);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    effect->processReplacing(effect, inputs, outputs, 512);
}

}  // namespace

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "brindleloop-editor-timing")) return 0;
    std::vector<std::string> positional;
    double scale = 0.0;
    double holdSeconds = 0.0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--scale" || argument == "--hold") && i + 1 < argc) {
            (argument == "--scale" ? scale : holdSeconds) = std::atof(argv[++i]);
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.empty()) {
        std::fprintf(stderr,
                     "usage: brindleloop-editor-timing PLUGIN [IDLES] [--scale F] [--hold SECONDS] | --version\n");
        return 2;
    }
    std::string path = positional[0];
#ifdef _WIN32
    if (path[0] == '/') path = "Z:" + path;  // a Unix path under Wine
#endif
    const int idles = positional.size() > 1 ? std::max(1, std::atoi(positional[1].c_str())) : 1000;
    timeInfo.sampleRate = 44100.0;
    timeInfo.tempo = 120.0;
    PluginLoader loader;
    if (!loader.load(path) || loader.entry() == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), loader.error().c_str());
        return 1;
    }
    AEffect* effect = loader.entry()(timingHost);
    ParentWindow parent;
    if (effect == nullptr || parent.handle() == nullptr) {
        std::fprintf(stderr, "no effect or no window (is DISPLAY set?)\n");
        return 1;
    }
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    if (scale > 0.0) {
        effect->dispatcher(effect, effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'),
                           fourCharCode('A', 'e', 'C', 's'), nullptr, static_cast<float>(scale));
    }
    // The parent holds the whole editor at its scale, as a host's window does.
    ERect* wanted = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &wanted, 0.0f);
    if (wanted != nullptr) parent.resize(wanted->right - wanted->left, wanted->bottom - wanted->top);
    if (effect->dispatcher(effect, effEditOpen, 0, 0, parent.handle(), 0.0f) != 1) {
        std::fprintf(stderr, "the editor did not open\n");
        return 1;
    }
    parent.pump();
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);  // the first paint
    ERect* rect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
    const double factor = scale > 0.0 ? scale : 1.0;

    if (holdSeconds > 0.0) {
        // Below the MIDI switches: a press there changes nothing and is tracked until released.
        if (!parent.holdButton(static_cast<int>((15 + 150) * factor), static_cast<int>((240 + 45) * factor),
                               holdSeconds)) {
            std::fprintf(stderr, "cannot synthesize a press\n");
            return 1;
        }
        // The host's loop: its window's events, the editor's idle, then 10 ms of its own work.
        // Its idle rate during the press: the turns it got plus the idle calls the editor made
        // on its behalf from inside a press.
        const double cpuBefore = processCpuSeconds();
        const auto start = Clock::now();
        const int idlesBefore = hostIdles;
        int turns = 0;
        while (millisecondsSince(start) < holdSeconds * 1000.0) {
            parent.pump();
            effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
            ++turns;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const double wall = millisecondsSince(start) / 1000.0;
        const double cpu = processCpuSeconds() - cpuBefore;
        while (millisecondsSince(start) < holdSeconds * 1000.0 + 500.0) {
            parent.pump();
            effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
        }
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        const int editorIdles = hostIdles - idlesBefore;
        std::printf("%s\n  button held %.1f s: %.3f s of processor time over %.1f s (%.1f %% of a core), "
                    "host idle %.1f per second (%d turns of its loop, %d idle calls from the editor)\n",
                    path.c_str(), holdSeconds, cpu, wall, 100.0 * cpu / wall, (turns + editorIdles) / wall, turns,
                    editorIdles);
        return 0;
    }

    // Typical idles (audio running, the meter moving) and idles after a change of everything.
    std::vector<double> times[2];
    for (int kind = 0; kind < 2; ++kind) {
        times[kind].reserve(static_cast<size_t>(idles));
        for (int i = 0; i < idles; ++i) {
            playBlock(effect, i);
            if (kind == 1) changeEverything(effect, i);
            parent.pump();
            const auto start = Clock::now();
            effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
            times[kind].push_back(millisecondsSince(start));
        }
        std::sort(times[kind].begin(), times[kind].end());
    }
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);

    const int cycles = 100;
    const auto start = Clock::now();
    for (int i = 0; i < cycles; ++i) {
        effect->dispatcher(effect, effEditOpen, 0, 0, parent.handle(), 0.0f);
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
        parent.pump();
    }
    const double cycleMs = millisecondsSince(start) / cycles;
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);

    std::printf("%s (window %d x %d)\n", path.c_str(), rect != nullptr ? rect->right - rect->left : 0,
                rect != nullptr ? rect->bottom - rect->top : 0);
    const char* const kinds[2] = {"editor idle, audio running", "editor idle, everything changed"};
    for (int kind = 0; kind < 2; ++kind) {
        const std::vector<double>& t = times[kind];
        double sum = 0.0;
        for (double value : t) sum += value;
        std::printf("  %-32s mean %.3f ms, median %.3f ms, 95th %.3f ms, max %.3f ms (%d calls)\n",
                    kinds[kind], sum / idles, t[t.size() / 2], t[t.size() * 95 / 100], t.back(), idles);
    }
    std::printf("  open + idle + close: %.3f ms per cycle over %d cycles\n", cycleMs, cycles);
    return 0;
}
