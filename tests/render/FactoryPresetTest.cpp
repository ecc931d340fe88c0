// The factory presets in presets/: each one rendered from the demo loop through the built .so
// and measured against its line in the README (loop length, gating, bit steps, spectrum), and
// scripts/make-presets.sh still writes exactly the committed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "RenderHarness.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/FileBytes.h"

namespace {

constexpr double kRate = 44100.0;
constexpr size_t kGridUnit = 343;  // 1/256 bar at 120 BPM and 44.1 kHz: (2000 ms x 44) / 256
constexpr double kSeconds = 3.0;

using Signal = std::vector<double>;

const fs::path kPresets = BRINDLE_PRESETS_DIR;

Signal mono(const AudioData& audio) {
    Signal sum(audio.frames());
    for (size_t i = 0; i < audio.frames(); ++i)
        sum[i] = static_cast<double>(audio.left[i]) + static_cast<double>(audio.right[i]);
    return sum;
}

// Renders the demo at 120 BPM with a preset and extra arguments; returns left + right.
Signal render(const Scratch& scratch, const std::string& arguments) {
    const ToolRun run =
        runTool(scratch, "--demo --demo-seconds " + std::to_string(kSeconds) +
                             " --quiet -o out.wav --plugin '" + BRINDLE_PLUGIN_FILE + "' " + arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
    return mono(readOutput(scratch / "out.wav"));
}

// The loop's share of a mix: (out - dry gain x input) / wet gain.
Signal wetPart(const Signal& out, const Signal& dry, double wet) {
    Signal loop(out.size());
    for (size_t i = 0; i < out.size(); ++i) loop[i] = (out[i] - (1.0 - wet) * dry[i]) / wet;
    return loop;
}

double energy(const Signal& x) {
    double sum = 0.0;
    for (double v : x) sum += v * v;
    return sum;
}

// Stretches of 256 samples that come back unchanged `lag` samples later, to 1e-7 of their energy
// (a lag one sample off misses that even on a 50 Hz tone; silence does not count): a loop of
// that length repeating.
size_t repeats(const Signal& x, size_t lag) {
    constexpr size_t width = 256;
    size_t count = 0;
    for (size_t start = 0; start + width + lag <= x.size(); start += width) {
        double difference = 0.0, total = 0.0;
        for (size_t i = start; i < start + width; ++i) {
            difference += (x[i] - x[i + lag]) * (x[i] - x[i + lag]);
            total += x[i] * x[i];
        }
        count += total > 1e-4 && difference < 1e-7 * total;
    }
    return count;
}

// The loop has this length: many stretches repeat after it, next to none after any other lag
// from 0.6 to 1.6 times it.
void expectLoopLength(const Signal& x, size_t length) {
    const size_t at = repeats(x, length);
    size_t elsewhere = 0, where = 0;
    const auto tryLag = [&](size_t lag) {
        const size_t count = lag == length ? 0 : repeats(x, lag);
        if (count > elsewhere) elsewhere = count, where = lag;
    };
    // Every seventh lag, and those one to three off: only the length itself repeats exactly.
    for (size_t lag = length * 6 / 10; lag <= length * 16 / 10; lag += 7) tryLag(lag);
    for (size_t lag = length - 3; lag <= length + 3; ++lag) tryLag(lag);
    EXPECT_GE(at, 10u) << "few repeats every " << length << " samples";
    EXPECT_LT(10 * elsewhere, at) << at << " stretches repeat every " << length << " samples, " << elsewhere
                                  << " every " << where;
}

// Share of the energy between lo and hi hertz, from Hann-windowed 4096-point spectra.
double bandShare(const Signal& x, double lo, double hi) {
    constexpr size_t n = 4096;
    double inBand = 0.0, total = 0.0;
    std::vector<std::complex<double>> frame(n);
    for (size_t start = 0; start + n <= x.size(); start += n / 2) {
        for (size_t i = 0; i < n; ++i)
            frame[i] = x[start + i] * (0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / n));
        // Iterative radix-2 FFT.
        for (size_t i = 1, j = 0; i < n; ++i) {
            size_t bit = n >> 1;
            for (; j & bit; bit >>= 1) j ^= bit;
            j ^= bit;
            if (i < j) std::swap(frame[i], frame[j]);
        }
        for (size_t len = 2; len <= n; len <<= 1) {
            const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / static_cast<double>(len));
            for (size_t i = 0; i < n; i += len) {
                std::complex<double> w = 1.0;
                for (size_t k = 0; k < len / 2; ++k, w *= step) {
                    const auto u = frame[i + k], v = frame[i + k + len / 2] * w;
                    frame[i + k] = u + v;
                    frame[i + k + len / 2] = u - v;
                }
            }
        }
        for (size_t k = 1; k < n / 2; ++k) {
            const double power = std::norm(frame[k]);
            const double hz = static_cast<double>(k) * kRate / n;
            total += power;
            if (hz >= lo && hz < hi) inBand += power;
        }
    }
    return total > 0.0 ? inBand / total : 0.0;
}

double zeroShare(const Signal& x) {
    return static_cast<double>(std::count(x.begin(), x.end(), 0.0)) / static_cast<double>(x.size());
}

// A freeze replaced (or joined) the dry beat: the output is far from the input.
void expectFreezes(const Signal& out, const Signal& dry) {
    Signal difference(out.size());
    for (size_t i = 0; i < out.size(); ++i) difference[i] = out[i] - dry[i];
    EXPECT_GT(energy(difference), 0.3 * energy(dry));
    EXPECT_GT(energy(out), 0.02 * energy(dry));  // and something is heard
}

struct Claim {
    const char* file;
    // What the README says, checked on the render with the preset; `other` renders the same
    // preset with extra arguments, for a comparison.
    using Render = std::function<Signal(const std::string& arguments)>;
    std::function<void(const Signal& out, const Signal& dry, const Render& other)> check;
};

const Claim kClaims[] = {
    {"sixteenth-stutter.fxp",  // every hit freezes a 1/16 note, stuttered, fully wet
     [](const Signal& out, const Signal& dry, auto&) {
         expectFreezes(out, dry);
         expectLoopLength(out, 16 * kGridUnit);
     }},
    {"grain-buzz.fxp",  // 1/256-bar grains repeated into a buzz at 44100 / 343 = 129 Hz
     [](const Signal& out, const Signal& dry, auto&) {
         expectFreezes(out, dry);
         expectLoopLength(out, kGridUnit);
     }},
    {"half-roll.fxp",  // 1/32-note rolls, half and half with the dry beat
     [](const Signal& out, const Signal& dry, auto&) {
         const Signal loop = wetPart(out, dry, 0.5);
         expectFreezes(loop, dry);
         expectLoopLength(loop, 8 * kGridUnit);
     }},
    {"lofi-crush.fxp",  // dotted 1/32 loops in steps of 1/16 of full scale
     [](const Signal& out, const Signal& dry, auto&) {
         expectFreezes(out, dry);
         expectLoopLength(out, 12 * kGridUnit);
         size_t offGrid = 0;
         for (double v : out)
             offGrid += std::fabs(v * 16.0 - std::round(v * 16.0)) > 1e-3;  // L + R: on the grid too
         EXPECT_EQ(offGrid, 0u);
     }},
    {"dub-shadow.fxp",  // 1/16-note repeats through a 410 Hz low-pass under the dry beat
     [](const Signal& out, const Signal& dry, auto& other) {
         const Signal loop = wetPart(out, dry, 0.6);
         expectFreezes(loop, dry);
         expectLoopLength(loop, 16 * kGridUnit);
         const Signal open = wetPart(other("--post-filter off"), dry, 0.6);
         EXPECT_LT(bandShare(loop, 1500, 22050), 0.1 * bandShare(open, 1500, 22050));
         EXPECT_GT(bandShare(loop, 0, 600), 0.9);
     }},
    {"kick-catcher.fxp",  // only kicks freeze, through a 250 Hz low-pass
     [](const Signal& out, const Signal& dry, auto& other) {
         expectFreezes(out, dry);
         expectLoopLength(out, 16 * kGridUnit);
         EXPECT_GT(bandShare(out, 0, 400), 0.95);
         EXPECT_LT(bandShare(out, 1000, 22050), 0.01 * bandShare(other("--pre-filter off"), 1000, 22050));
     }},
    {"hat-sizzle.fxp",  // only what is above 3.3 kHz freezes, in 1/64-note grains, half wet
     [](const Signal& out, const Signal& dry, auto&) {
         const Signal loop = wetPart(out, dry, 0.5);
         expectFreezes(loop, dry);
         expectLoopLength(loop, 4 * kGridUnit);
         EXPECT_GT(bandShare(loop, 2000, 22050), 0.9);
         EXPECT_LT(bandShare(dry, 2000, 22050), 0.5);
     }},
    {"gated-chop.fxp",  // each 1/16-note pass sounds only for its first tenth
     [](const Signal& out, const Signal& dry, auto&) {
         expectFreezes(out, dry);
         expectLoopLength(out, 16 * kGridUnit);
         EXPECT_GT(zeroShare(out), 0.75);
     }},
    {"radio-repeat.fxp",  // 3/128-bar repeats through a 1.15 kHz band-pass
     [](const Signal& out, const Signal& dry, auto& other) {
         expectFreezes(out, dry);
         expectLoopLength(out, 6 * kGridUnit);
         const Signal open = other("--post-filter off");
         EXPECT_GT(bandShare(out, 900, 1530), 0.5);
         EXPECT_LT(bandShare(open, 900, 1530), 0.05);
     }},
};

void PrintTo(const Claim& claim, std::ostream* out) { *out << claim.file; }

class FactoryPreset : public testing::TestWithParam<Claim> {};

TEST_P(FactoryPreset, DoesWhatItsLineSays) {
    const Signal dry = mono(makeDemoLoop(kSeconds, 120.0));
    Scratch scratch;
    const std::string preset = "--preset '" + (kPresets / GetParam().file).string() + "' ";
    const Signal out = render(scratch, preset);
    ASSERT_EQ(out.size(), dry.size());
    GetParam().check(out, dry, [&](const std::string& extra) { return render(scratch, preset + extra); });
}

INSTANTIATE_TEST_SUITE_P(Presets, FactoryPreset, testing::ValuesIn(kClaims), [](const auto& which) {
    std::string name = which.param.file;
    name = name.substr(0, name.find('.'));
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// The bank: notes start recordings and hold them; without a note nothing is heard (fully wet).
TEST(FactoryPresets, MidiHoldLoopsFourPeriodsOfTheNoteUntilItsRelease) {
    Scratch scratch;
    writeText(scratch / "notes.txt", "22050 57 100\n88200 57 0\n");  // A 440 from 0.5 s to 2 s
    const Signal out =
        render(scratch, "--bank '" + (kPresets / "midi-hold.fxb").string() + "' --midi notes.txt");
    ASSERT_EQ(out.size(), static_cast<size_t>(kSeconds * kRate));
    const auto silent = [&](size_t from, size_t to) {
        return std::all_of(out.begin() + static_cast<long>(from), out.begin() + static_cast<long>(to),
                           [](double v) { return v == 0.0; });
    };
    EXPECT_TRUE(silent(0, 22050));
    const Signal held(out.begin() + 22050, out.begin() + 88200);
    EXPECT_GT(energy(held), 1.0);
    expectLoopLength(held, 400);  // trunc(4 x 44100 / 440)
    EXPECT_TRUE(silent(88201, out.size()));
}

TEST(FactoryPresets, TheScriptWritesTheCommittedFiles) {
    Scratch scratch;
    const ToolRun run = runCommand(scratch, std::string("BRINDLE_RENDER='") + BRINDLE_RENDER_TOOL +
                                                "' bash '" + BRINDLE_SCRIPTS_DIR + "/make-presets.sh' made");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(scratch / "made")) {
        std::vector<unsigned char> made, committed;
        ASSERT_TRUE(readFileBytes(entry.path().string(), made));
        EXPECT_TRUE(readFileBytes((kPresets / entry.path().filename()).string(), committed))
            << entry.path().filename();
        EXPECT_TRUE(made == committed) << entry.path().filename() << " differs from presets/";
        ++files;
    }
    size_t committedFiles = 0;
    for (const auto& entry : fs::directory_iterator(kPresets))
        committedFiles += entry.path().extension() != ".txt";
    EXPECT_EQ(files, committedFiles);
    EXPECT_GE(files, 9u);
}

}  // namespace
