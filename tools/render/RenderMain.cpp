// brindleloop-render: plays a sound file (or the built-in drum loop) through the plug-in binary
// and writes the result. Exit codes: 0 done, 1 a file or the plug-in failed, 2 a bad argument.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/render/AudioData.h"
#include "tools/render/CommandLine.h"
#include "tools/render/DemoLoop.h"
#include "tools/render/FileBytes.h"
#include "tools/render/MidiFile.h"
#include "tools/render/MidiText.h"
#include "tools/render/PlotCommand.h"
#include "tools/render/ProcessInfo.h"
#include "tools/render/RenderSession.h"
#include "tools/version/ToolVersion.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "brindleloop-render: %s\n", message.c_str());
    return code;
}

// A file written under a temporary name, renamed only when every output is there.
struct PendingFile {
    std::string target;
    std::string temporary;
};

void discard(const std::vector<PendingFile>& pending) {
    for (const PendingFile& file : pending) std::remove(file.temporary.c_str());
}

bool commit(const std::vector<PendingFile>& pending, std::string& error) {
    for (const PendingFile& file : pending)
        if (!replaceFile(file.temporary, file.target)) {
            error = "cannot move the written file to " + file.target;
            discard(pending);
            return false;
        }
    return true;
}

// The preset and bank files asked for, of what the settings leave in the plug-in.
bool writeStateFiles(const CommandLine& line, RenderSession& session, std::vector<PendingFile>& pending,
                     std::string& error) {
    for (const bool bank : {false, true}) {
        const std::string& path = bank ? line.saveBank : line.savePreset;
        if (path.empty()) continue;
        std::vector<unsigned char> bytes;
        if (!session.saveStateFile(bank, bytes, error)) return false;
        const PendingFile file{nativePath(path), nativePath(path) + ".partial"};
        if (!writeFileBytes(file.temporary, bytes)) {
            std::remove(file.temporary.c_str());
            error = "cannot write " + path;
            return false;
        }
        pending.push_back(file);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (printVersionIfAsked(argc, argv, "brindleloop-render")) return 0;
    CommandLine line;
    std::string error;
    if (!parseCommandLine(argc, argv, line, error)) {
        std::fprintf(stderr, "brindleloop-render: %s\n(brindleloop-render --help lists the options)\n",
                     error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (!canWriteAudioFormat(line.format, error)) return fail(line.output + ": " + error, 2);
    if (!line.plot.empty() && !plotAvailable(error)) return fail(error, 2);
    RenderSettings& settings = line.settings;
    settings.bankFile = settings.bankFile.empty() ? "" : nativePath(settings.bankFile);
    settings.presetFile = settings.presetFile.empty() ? "" : nativePath(settings.presetFile);

    AudioData input;
    if (line.demo) {
        input = makeDemoLoop(line.demoSeconds, settings.tempo);
    } else if (!line.savesOnly() && !readAudioFile(nativePath(line.input), input, error)) {
        return fail(error);
    }
    // Checked before the render, which may take long, rather than when writing.
    if (!fitsOutputFormat(line.format, input.frames(), error)) return fail(line.output + ": " + error);

    // Notes: a standard MIDI file, or text lines of "samplePosition note velocity".
    if (!line.midiFile.empty()) {
        std::vector<unsigned char> bytes;
        if (!readFileBytes(nativePath(line.midiFile), bytes))
            return fail("cannot read MIDI file " + line.midiFile);
        const bool parsed =
            looksLikeMidiFile(bytes)
                ? parseMidiFile(bytes, input.sampleRate, settings.tempo, settings.notes, error)
                : parseMidiText(std::string(bytes.begin(), bytes.end()), settings.notes, error);
        if (!parsed) return fail(line.midiFile + ": " + error);
    }

    const std::string plugin = line.plugin.empty() ? defaultPluginPath() : nativePath(line.plugin);
    RenderSession session;
    if (!session.open(plugin, input.sampleRate, settings.blockSize, error)) return fail(error);
    if (!session.configure(settings, error)) return fail(error);
    std::vector<PendingFile> pending;
    if (!writeStateFiles(line, session, pending, error)) {
        discard(pending);
        return fail(error);
    }
    if (line.savesOnly()) {
        if (!commit(pending, error)) return fail(error);
        for (const PendingFile& file : pending)
            if (!line.quiet) std::printf("brindleloop-render: wrote %s\n", file.target.c_str());
        return 0;
    }

    const bool showProgress = !line.quiet && errorIsTerminal() && input.frames() > 30 * input.sampleRate;
    const double seconds = static_cast<double>(input.frames()) / input.sampleRate;
    AudioData output;
    RenderSession::prepareOutput(input, output);  // outside the timed part
    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    session.render(input, output, settings, [&](size_t done) {
        if (showProgress)
            std::fprintf(stderr, "\rrendering %5.1f / %.1f s", static_cast<double>(done) / input.sampleRate,
                         seconds);
    });
    double cpu = processCpuSeconds() - cpuBefore;
    // Some systems count process time in coarse ticks; a short render may show none at all.
    const bool wallClock = cpu <= 0.0;
    if (wallClock) cpu = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    if (showProgress) std::fputs("\n", stderr);
    session.close();

    // Written under a temporary name and renamed, so a failure leaves no partial output.
    const std::string target = nativePath(line.output);
    const std::string temporary = target + ".partial";
    if (!writeAudioFile(temporary, output, line.format, error)) {
        std::remove(temporary.c_str());
        discard(pending);
        return fail(error);
    }
    pending.insert(pending.begin(), PendingFile{target, temporary});
    if (!commit(pending, error)) return fail(error);
    if (!line.quiet) {
        std::printf("brindleloop-render: wrote %s (%.2f s, %.0f Hz, stereo, %s)\n", line.output.c_str(),
                    seconds, input.sampleRate, describeFormat(line.format).c_str());
        for (size_t i = 1; i < pending.size(); ++i)
            std::printf("brindleloop-render: wrote %s\n", pending[i].target.c_str());
    }
    if (!line.plot.empty()) {
        const std::string title = "brindleLoop: " + (line.demo ? std::string("the demo loop") : line.input) +
                                  ", " + std::to_string(static_cast<int>(std::lround(settings.tempo))) +
                                  " BPM, " + std::to_string(static_cast<int>(std::lround(input.sampleRate))) +
                                  " Hz";
        if (!plotRender(input, output, settings, title, nativePath(line.plot), error)) return fail(error);
        if (!line.quiet) std::printf("brindleloop-render: wrote %s\n", line.plot.c_str());
    }
    if (line.timing) {
        const double perSecond = seconds > 0.0 ? cpu / seconds : 0.0;
        std::printf(
            "timing: %.4f CPU seconds for %.2f s of audio: %.6f CPU s per audio s, realtime factor %.0fx%s\n",
            cpu, seconds, perSecond, perSecond > 0.0 ? 1.0 / perSecond : 0.0,
            wallClock ? " (wall clock: the process time was too coarse)" : "");
    }
    return 0;
}
