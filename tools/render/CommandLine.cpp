// Options of brindleloop-render, each checked for its range.
#include "tools/render/CommandLine.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "engine/ParameterTable.h"

namespace {

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end && *end == '\0' && std::isfinite(value);
}

bool parseWhole(const std::string& text, long lo, long hi, int32_t& value) {
    double number = 0.0;
    if (!parseNumber(text, number) || number != std::floor(number) || number < lo || number > hi)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

bool parseUnit(const std::string& text, float& value) {
    double number = 0.0;
    if (!parseNumber(text, number) || number < 0.0 || number > 1.0) return false;
    value = static_cast<float>(number);
    return true;
}

// A filter type by its name in lower case ("off", "lp", "hp", "bp"), as the editor names it.
int32_t filterType(const std::string& text) {
    for (int32_t type = 0; type < kNumFilterTypes; ++type) {
        std::string name = kFilterTypeNames[static_cast<size_t>(type)];
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (text == name) return type;
    }
    return -1;
}

bool checkSavedFiles(const CommandLine& line, std::string& error) {
    for (const std::string* path : {&line.savePreset, &line.saveBank})
        if (!path->empty() && (*path == line.input || *path == line.output || *path == line.plot)) {
            error = "the saved file " + *path + " would overwrite the input, the output or the plot";
            return false;
        }
    if (!line.savePreset.empty() && line.savePreset == line.saveBank) {
        error = "--save-preset and --save-bank name the same file " + line.savePreset;
        return false;
    }
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: brindleloop-render [options] INPUT -o OUTPUT.wav|.flac|.aiff\n"
           "       brindleloop-render --demo [-o OUTPUT] [options]\n"
           "       brindleloop-render [options] --save-preset FILE.fxp | --save-bank FILE.fxb\n"
           "\n"
           "Plays a sound file (or a built-in drum loop) through the brindleLoop plug-in,\n"
           "loaded from its binary through its entry point, and writes a stereo sound file.\n"
           "INPUT is any format libsndfile reads (WAV, AIFF, FLAC, Ogg, MP3, ...; the\n"
           "Windows build reads WAV only), played at its own sample rate; a mono file is\n"
           "heard on both channels, channels past two are dropped.\n"
           "\n"
           "  -o, --output FILE        output file (--demo: brindleloop-demo.wav); its extension\n"
           "                           chooses WAV (.wav), FLAC (.flac) or AIFF (.aif, .aiff;\n"
           "                           the Windows build writes WAV only)\n"
           "  --bit-depth 16|24|32f    sample format of the output; defaults: WAV 32f, FLAC 24\n"
           "                           (no 32f), AIFF 24 (32f writes AIFF-C float). Integer\n"
           "                           samples are rounded and clipped to range, not dithered\n"
           "  --plugin FILE            plug-in binary (default: the one built beside this tool,\n"
           "                           installed on Linux: ../lib/vst/brindleLoop.so)\n"
           "  --demo                   render a synthesised drum loop instead of INPUT\n"
           "  --demo-seconds S         length of the demo loop (default 16)\n"
           "  --tempo BPM              tempo served to the plug-in (default 120)\n"
           "  --block N                block size, 1..65536 (default 512)\n"
           "  --vary-blocks            blocks of changing size up to N, as some hosts send\n"
           "  --program N              program 0..15\n"
           "  --bank FILE              load a bank first: an .fxb file (a chunk or a list of\n"
           "                           programs) or a raw 1476-byte bank chunk\n"
           "  --preset FILE            load a preset into the program: an .fxp file (a chunk or\n"
           "                           parameter values) or a raw 84-byte preset chunk\n"
           "  --name TEXT              name the program (at most 23 characters)\n"
           "  --save-preset FILE.fxp   save the program as the settings leave it (a chunk .fxp)\n"
           "  --save-bank FILE.fxb     save the bank as the settings leave it (a chunk .fxb);\n"
           "                           without INPUT or --demo only these files are written\n"
           "  --param NAME=VALUE       set a parameter by name, VALUE 0..1 (repeatable),\n"
           "                           e.g. size=0.5, dry/wet=0.7, pre-cutoff=0.3\n"
           "  --steps V1,V2,...        step values 0..1 for steps 1, 2, ... (up to 16)\n"
           "  --step N=V               step value of step N (1..16)\n"
           "  --sequence-length N      steps used by the sequencer, 1..16\n"
           "  --pre-filter TYPE        off, lp, hp or bp\n"
           "  --post-filter TYPE       off, lp, hp or bp\n"
           "  --midi-control           MidiNote-Control: notes set the loop length\n"
           "  --note-record-start      Note->RecordStart: notes start recordings\n"
           "  --repeat-till-noteoff    Repeat till NoteOff\n"
           "  --midi FILE              notes: a standard MIDI file (format 0 or 1; without\n"
           "                           tempo events it follows --tempo), or text with one\n"
           "                           \"samplePosition note velocity\" line each\n"
           "  --plot FILE.png          also draw the render: input, envelope and threshold,\n"
           "                           freezes with the step used, loop starts, notes, output\n"
           "  --timing                 print CPU seconds per second of audio and realtime factor\n"
           "  --quiet                  no progress and no summary\n"
           "  -h, --help               this text\n"
           "  --version                the tool's name and version\n"
           "\n"
           "The inverse switch is not stored in any chunk, so a host cannot set it.\n";
}

bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error) {
    RenderSettings& s = line.settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // Options that take a value.
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "-h" || arg == "--help") {
            line.help = true;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(line.output)) return false;
        } else if (arg == "--bit-depth") {
            if (!value(line.bitDepth)) return false;
        } else if (arg == "--plugin") {
            if (!value(line.plugin)) return false;
        } else if (arg == "--demo") {
            line.demo = true;
        } else if (arg == "--demo-seconds") {
            if (!value(v)) return false;
            if (!parseNumber(v, line.demoSeconds) || line.demoSeconds <= 0.0 || line.demoSeconds > 3600.0) {
                error = "--demo-seconds wants 0 < S <= 3600, not \"" + v + "\"";
                return false;
            }
        } else if (arg == "--tempo") {
            if (!value(v)) return false;
            if (!parseNumber(v, s.tempo) || s.tempo < 1.0 || s.tempo > 999.0) {
                error = "--tempo wants beats per minute from 1 to 999, not \"" + v + "\"";
                return false;
            }
        } else if (arg == "--block") {
            if (!value(v)) return false;
            if (!parseWhole(v, 1, 65536, s.blockSize)) {
                error = "--block wants a whole number from 1 to 65536, not \"" + v + "\"";
                return false;
            }
        } else if (arg == "--vary-blocks") {
            s.varyBlocks = true;
        } else if (arg == "--program") {
            if (!value(v)) return false;
            if (!parseWhole(v, 0, 15, s.program)) {
                error = "--program wants 0..15, not \"" + v + "\"";
                return false;
            }
        } else if (arg == "--bank") {
            if (!value(s.bankFile)) return false;
        } else if (arg == "--preset") {
            if (!value(s.presetFile)) return false;
        } else if (arg == "--save-preset") {
            if (!value(line.savePreset)) return false;
        } else if (arg == "--save-bank") {
            if (!value(line.saveBank)) return false;
        } else if (arg == "--name") {
            if (!value(s.programName)) return false;
            if (s.programName.empty() || s.programName.size() > 23) {
                error = "--name wants 1 to 23 characters, not \"" + s.programName + "\"";
                return false;
            }
        } else if (arg == "--param") {
            if (!value(v)) return false;
            const size_t eq = v.find('=');
            float number = 0.0f;
            if (eq == std::string::npos || eq == 0 || !parseUnit(v.substr(eq + 1), number)) {
                error = "--param wants NAME=VALUE with VALUE from 0 to 1, not \"" + v + "\"";
                return false;
            }
            s.parameters.emplace_back(v.substr(0, eq), number);
        } else if (arg == "--steps") {
            if (!value(v)) return false;
            int32_t step = 0;
            size_t from = 0;
            while (true) {
                const size_t comma = v.find(',', from);
                const std::string item =
                    v.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
                float number = 0.0f;
                if (step >= 16 || !parseUnit(item, number)) {
                    error = "--steps wants up to 16 comma-separated values from 0 to 1, not \"" + v + "\"";
                    return false;
                }
                s.editor.steps.emplace_back(step++, number);
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
        } else if (arg == "--step") {
            if (!value(v)) return false;
            const size_t eq = v.find('=');
            int32_t step = 0;
            float number = 0.0f;
            if (eq == std::string::npos || !parseWhole(v.substr(0, eq), 1, 16, step) ||
                !parseUnit(v.substr(eq + 1), number)) {
                error = "--step wants N=VALUE with N from 1 to 16 and VALUE from 0 to 1, not \"" + v + "\"";
                return false;
            }
            s.editor.steps.emplace_back(step - 1, number);
        } else if (arg == "--sequence-length") {
            if (!value(v)) return false;
            if (!parseWhole(v, 1, 16, s.editor.sequenceLength)) {
                error = "--sequence-length wants 1..16, not \"" + v + "\"";
                return false;
            }
        } else if (arg == "--pre-filter" || arg == "--post-filter") {
            if (!value(v)) return false;
            const int32_t type = filterType(v);
            if (type < 0) {
                error = arg + " wants off, lp, hp or bp, not \"" + v + "\"";
                return false;
            }
            (arg == "--pre-filter" ? s.editor.preFilter : s.editor.postFilter) = type;
        } else if (arg == "--midi-control") {
            s.editor.midiNoteControl = 1;
        } else if (arg == "--note-record-start") {
            s.editor.noteRecordStart = 1;
        } else if (arg == "--repeat-till-noteoff") {
            s.editor.repeatTillNoteOff = 1;
        } else if (arg == "--inverse") {
            error = "--inverse: the inverse switch is not stored in any chunk, so a host cannot set it";
            return false;
        } else if (arg == "--midi") {
            if (!value(line.midiFile)) return false;
        } else if (arg == "--plot") {
            if (!value(line.plot)) return false;
        } else if (arg == "--timing") {
            line.timing = true;
        } else if (arg == "--quiet") {
            line.quiet = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return false;
        } else if (line.input.empty()) {
            line.input = arg;
        } else {
            error = "more than one input file: " + line.input + " and " + arg;
            return false;
        }
    }
    if (line.help) return true;
    if (line.demo && !line.input.empty()) {
        error = "--demo renders the built-in loop; it takes no input file (" + line.input + ")";
        return false;
    }
    if (line.savesOnly() && line.output.empty()) return checkSavedFiles(line, error);
    if (!line.demo && line.input.empty()) {
        error = "no input file (or --demo)";
        return false;
    }
    if (line.output.empty()) {
        if (!line.demo) {
            error = "no output file: give -o FILE";
            return false;
        }
        line.output = "brindleloop-demo.wav";
    }
    if (line.output == line.input) {
        error = "the output would overwrite the input " + line.input;
        return false;
    }
    if (!line.plot.empty() && (line.plot == line.output || line.plot == line.input)) {
        error = "the plot would overwrite " + line.plot;
        return false;
    }
    if (!chooseOutputFormat(line.output, line.bitDepth, line.format, error)) return false;
    return checkSavedFiles(line, error);
}
