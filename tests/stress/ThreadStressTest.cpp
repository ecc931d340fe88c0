// The audio thread processes without pause while a host thread changes parameters,
// programs and chunks, an editor thread changes filter types, steps, sequence length, mode
// flags and slider values, and a third, the user-interface thread, keeps the editor's window
// open (headless) and idles it while it also reads everything the editor reads. Nothing may
// crash, every output sample must be finite and every value the editor indexes with must
// stay in range.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "gui/x11/HeadlessScreen.h"
#include "vst2/FreezeEffectEdit.h"

namespace {

// The time record the audio thread's host serves; only the audio thread touches it.
thread_local VstTimeInfo audioTime{};

intptr_t VSTCALL stressHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&audioTime);
    return 0;
}

// Blocks the audio thread renders; BRINDLE_STRESS_BLOCKS raises it for longer runs.
int stressBlocks() {
    const char* text = std::getenv("BRINDLE_STRESS_BLOCKS");
    const int blocks = text ? std::atoi(text) : 0;
    return blocks > 0 ? blocks : 3000;
}

float oddValue(std::mt19937& random) {
    static const float odd[] = {-1.0f, 2.0f, 1e9f, -1e9f, NAN, INFINITY, -INFINITY, 0.0f, 1.0f};
    std::uniform_int_distribution<int> pick(0, 19);
    const int which = pick(random);
    if (which < 9) return odd[which];
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

// The waveform picture: the loop resampled over the view's width. The buffers are plain
// memory the recorder writes while this reads, by design: a stale sample changes one pixel.
// ThreadSanitizer is told so here rather than in tsan.supp, because the reader's side of
// such a race has usually left its history by the time the recorder comes by.
#if defined(__SANITIZE_THREAD__)
#define BRINDLE_NO_TSAN __attribute__((no_sanitize_thread))
#else
#define BRINDLE_NO_TSAN
#endif
__attribute__((noinline)) BRINDLE_NO_TSAN float readWaveform(const FreezeEffect& effect, int32_t loop) {
    const float* left = effect.plugin().getBufferL();
    const float* right = effect.plugin().getBufferR();
    float sum = 0.0f;
    for (int x = 0; x < 525; ++x) {
        const auto at = static_cast<size_t>(static_cast<long>(loop) * x / 525);
        sum += left[at] + right[at];
    }
    return sum;
}

// The current program's record, as a display of its name would read it: plain memory that
// host requests write, read without a lock, exempted like the waveform.
BRINDLE_NO_TSAN float readProgramRecord(const FreezeEffect& effect, int32_t program) {
    const FreezeProgram& record = effect.plugin().getProgramRecord(program);
    float sum = record.threshold + record.sequenceLengthValue;
    for (float value : record.values) sum += value;
    // By hand: a library call would be watched by the sanitizer whatever this function says.
    for (char c : record.name) {
        if (c == '\0') break;
        sum += 1.0f;
    }
    return sum;
}

struct VstEventList {
    std::vector<VstMidiEvent> events;
    std::vector<unsigned char> storage;
    VstEvents* build() {
        storage.assign(sizeof(VstEvents) + events.size() * sizeof(VstEvent*), 0);
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<int32_t>(events.size());
        for (size_t i = 0; i < events.size(); ++i) list->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
        return list;
    }
};

}  // namespace

TEST(ThreadStress, AudioHostAndEditorThreadsTogether) {
    auto* effect = new FreezeEffectEdit(stressHost);
    AEffect* record = effect->getEffectRecord();
    const int blocks = stressBlocks();
    const unsigned seed = 20261207u;
    std::printf("seed %u, %d blocks\n", seed, blocks);

    std::atomic<bool> audioDone{false};
    std::atomic<int> started{0};
    constexpr int kThreads = 4;
    std::atomic<long> nonFinite{0};
    std::atomic<long> outOfRange{0};
    long samples = 0;
    long writerOps = 0;
    long editorOps = 0;
    long readerPasses = 0;

    std::thread audio([&] {
        std::mt19937 random(seed);
        audioTime.sampleRate = 44100.0;
        audioTime.tempo = 120.0;
        constexpr int kMaxFrames = 2048;
        std::vector<float> in[2] = {std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames)};
        std::vector<float> out[2] = {std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames)};
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        VstEventList list;
        float phase = 0.0f;
        ++started;
        while (started.load() < kThreads) std::this_thread::yield();
        for (int b = 0; b < blocks; ++b) {
            const int frames = std::uniform_int_distribution<int>(0, kMaxFrames)(random);
            const float level = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
            for (int i = 0; i < frames; ++i) {
                phase += 0.031f;
                const float burst = (b % 7 < 3) ? level : 0.01f;
                in[0][static_cast<size_t>(i)] = burst * std::sin(phase);
                in[1][static_cast<size_t>(i)] = burst * std::cos(phase * 1.3f);
            }
            if (b % 50 == 0) {
                static const double rates[] = {44100.0, 48000.0, 96000.0, 0.0, -1.0, 8000.0};
                static const double tempos[] = {120.0, 0.0, -40.0, 1e12, 60.0, 200.0};
                audioTime.sampleRate = rates[random() % 6];
                audioTime.tempo = tempos[random() % 6];
            }
            if (b % 5 == 0) {
                list.events.assign(1 + random() % 4, VstMidiEvent{});
                for (VstMidiEvent& e : list.events) {
                    e.type = kVstMidiType;
                    e.byteSize = sizeof e;
                    e.deltaFrames = static_cast<int32_t>(random() % 600);
                    e.midiData[0] = static_cast<char>((random() % 2) ? 0x90 : 0x80);
                    e.midiData[1] = static_cast<char>(random() % 128);
                    e.midiData[2] = static_cast<char>(random() % 128);
                }
                record->dispatcher(record, effProcessEvents, 0, 0, list.build(), 0.0f);
            }
            if (b % 2 == 0) {
                record->processReplacing(record, inputs, outputs, frames);
            } else {
                std::fill(out[0].begin(), out[0].end(), 0.0f);
                std::fill(out[1].begin(), out[1].end(), 0.0f);
                record->process(record, inputs, outputs, frames);
            }
            for (int i = 0; i < frames; ++i)
                if (!std::isfinite(out[0][static_cast<size_t>(i)]) ||
                    !std::isfinite(out[1][static_cast<size_t>(i)]))
                    ++nonFinite;
            samples += frames;
        }
        audioDone = true;
    });

    // Host requests, as fast as they come.
    std::thread writer([&] {
        std::mt19937 random(seed + 1);
        std::vector<unsigned char> bank;
        std::vector<unsigned char> preset;
        ++started;
        while (!audioDone.load()) {
            ++writerOps;
            switch (random() % 10) {
            case 0:
            case 1:
            case 2:
                record->setParameter(record, static_cast<int32_t>(random() % 13), oddValue(random));
                break;
            case 3:
                record->dispatcher(record, effSetProgram, 0, static_cast<intptr_t>(random() % 18), nullptr,
                                   0.0f);
                break;
            case 4: {
                void* data = nullptr;
                const intptr_t size = record->dispatcher(record, effGetChunk, 0, 0, &data, 0.0f);
                bank.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
                break;
            }
            case 5: {
                void* data = nullptr;
                const intptr_t size = record->dispatcher(record, effGetChunk, 1, 0, &data, 0.0f);
                preset.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
                break;
            }
            case 6:
            case 7: {
                // A saved chunk, sometimes damaged or cut short, loaded back.
                const bool isPreset = random() % 2 == 0;
                std::vector<unsigned char> damaged = isPreset ? preset : bank;
                if (damaged.empty()) break;
                for (int n = static_cast<int>(random() % 4); n > 0; --n)
                    damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
                const intptr_t size =
                    static_cast<intptr_t>(random() % 4 == 0 ? random() % damaged.size() : damaged.size());
                record->dispatcher(record, effSetChunk, isPreset ? 1 : 0, size, damaged.data(), 0.0f);
                break;
            }
            case 8: {
                char name[32];
                std::snprintf(name, sizeof name, "stress %u", static_cast<unsigned>(random() % 1000));
                record->dispatcher(record, effSetProgramName, 0, 0, name, 0.0f);
                record->dispatcher(record, effGetProgramName, 0, 0, name, 0.0f);
                break;
            }
            default:
                // Switching on asks the host for MIDI. Switching off (clearing the buffers)
                // comes only while audio is stopped, so it is not part of this run.
                record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
                break;
            }
        }
    });

    // The editor's edits: what the panels write while the user drags.
    std::thread editorWrites([&] {
        std::mt19937 random(seed + 2);
        ++started;
        while (!audioDone.load()) {
            ++editorOps;
            switch (random() % 8) {
            case 0: effect->plugin().setProgramValue(static_cast<int32_t>(random() % 11), oddValue(random)); break;
            case 1: effect->plugin().setThreshold(oddValue(random) * 0.3f); break;
            case 2: effect->plugin().toggleInverse(); break;
            case 3: effect->plugin().cycleFilterType(static_cast<int32_t>(1 + random() % 2)); break;
            case 4: effect->plugin().setStepValue(static_cast<int32_t>(random() % 16), oddValue(random)); break;
            case 5: effect->plugin().setSequenceLength(oddValue(random)); break;
            case 6: effect->plugin().toggleMidiNoteControl(); break;
            default:
                if (random() % 2)
                    effect->plugin().toggleNoteRecordStart();
                else
                    effect->plugin().toggleRepeatTillNoteOff();
                break;
            }
        }
    });

    // What the editor's idle reads, over and over.
    std::thread reader([&] {
        char text[256];
        volatile float sink = 0.0f;
        headless::enable();
        void* hostWindow = headless::createHostWindow(0, 0, 600, 400);
        record->dispatcher(record, effEditOpen, 0, 0, hostWindow, 0.0f);
        ++started;
        while (!audioDone.load()) {
            ++readerPasses;
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
                sink = sink + effect->plugin().getProgramValue(slot);
            for (int32_t index = 0; index < kNumParams; ++index) {
                sink = sink + record->getParameter(record, index);
                record->dispatcher(record, effGetParamDisplay, index, 0, text, 0.0f);
                if (std::strlen(text) > 8) ++outOfRange;
            }
            sink = sink + effect->plugin().getEnvelope() + effect->plugin().getThreshold() + effect->plugin().getSequenceLengthValue();
            const int pre = static_cast<int>(effect->plugin().getPreFilterType());
            const int post = static_cast<int>(effect->plugin().getPostFilterType());
            if (pre < 0 || pre > 3 || post < 0 || post > 3) ++outOfRange;
            const int32_t stepIndex = effect->plugin().getStepIndex();
            if (stepIndex < 0 || stepIndex > kMaxSteps) ++outOfRange;
            for (int32_t step = 0; step < kMaxSteps; ++step) sink = sink + effect->plugin().getStepValue(step);
            const int32_t length = effect->plugin().getSequenceLength();
            if (length < 1 || length > kMaxSteps) ++outOfRange;
            sink = sink + (effect->plugin().isInverse() ? 1.0f : 0.0f) + (effect->plugin().isMidiNoteControl() ? 1.0f : 0.0f) +
                   (effect->plugin().isNoteRecordStart() ? 1.0f : 0.0f) +
                   (effect->plugin().isRepeatTillNoteOff() ? 1.0f : 0.0f);
            const int32_t loop = effect->plugin().getLoopLength();
            if (loop < 0 || loop > kMaxLoopLength)
                ++outOfRange;
            else
                sink = sink + readWaveform(*effect, loop);
            sink = sink + (effect->plugin().isRecording() ? 1.0f : 0.0f);
            const int32_t size = effect->plugin().getSizeSteps();
            const float bits = effect->plugin().getBitsValue();
            if (size < 1 || size > 16 || !(bits >= 1.0f && bits <= 32.0f)) ++outOfRange;
            const int32_t program = effect->getProgram();
            if (program < 0 || program >= kNumPrograms)
                ++outOfRange;
            else
                sink = sink + readProgramRecord(*effect, program);
        }
        record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
        headless::destroyHostWindow(hostWindow);
    });

    const auto start = std::chrono::steady_clock::now();
    audio.join();
    writer.join();
    editorWrites.join();
    reader.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "%ld samples (%.1f s of audio at 44.1 kHz) in %.2f s; %ld host requests, %ld editor "
        "edits, %ld editor read passes\n",
        samples, static_cast<double>(samples) / 44100.0, seconds, writerOps, editorOps, readerPasses);

    EXPECT_EQ(nonFinite.load(), 0) << "seed " << seed;
    EXPECT_EQ(outOfRange.load(), 0) << "seed " << seed;
    EXPECT_GT(writerOps, 0);
    EXPECT_GT(editorOps, 0);
    EXPECT_GT(readerPasses, 0);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}
