// MIDI event lists through effProcessEvents, well formed and not, followed by audio.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "LoadedPlugin.h"

namespace {

// A host-built event list with room for any number of event pointers.
struct EventList {
    std::vector<VstMidiEvent> midi;
    std::vector<unsigned char> storage;

    VstEvents* build(int32_t claimedCount) {
        const size_t pointers = midi.size() < 2 ? 2 : midi.size();
        storage.assign(sizeof(VstEvents) + pointers * sizeof(VstEvent*), 0);
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = claimedCount;
        for (size_t i = 0; i < midi.size(); ++i) list->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
        return list;
    }
};

VstMidiEvent note(unsigned char status, unsigned char key, unsigned char velocity, int32_t delta) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = delta;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(key);
    e.midiData[2] = static_cast<char>(velocity);
    return e;
}

void expectFiniteBlock(const PluginInstance& plugin) {
    constexpr int kFrames = 256;
    std::vector<float> l(kFrames), r(kFrames), ol(kFrames), orr(kFrames);
    for (int i = 0; i < kFrames; ++i)
        l[static_cast<size_t>(i)] = r[static_cast<size_t>(i)] = 0.7f * std::sin(0.1f * static_cast<float>(i));
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    plugin.effect()->processReplacing(plugin.effect(), in, out, kFrames);
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_TRUE(std::isfinite(ol[static_cast<size_t>(i)]) && std::isfinite(orr[static_cast<size_t>(i)]));
    }
}

}  // namespace

TEST(Events, NotesInEveryModeAndOddListsAreHarmless) {
    PluginInstance plugin;
    ASSERT_TRUE(plugin);
    plugin.dispatch(effMainsChanged, 0, 1);

    // The three MIDI mode flags travel in the bank chunk (bytes 1472..1474): try every mix.
    const std::vector<unsigned char> bank = plugin.chunk(false);
    ASSERT_EQ(bank.size(), 1476u);
    for (int modes = 0; modes < 8; ++modes) {
        std::vector<unsigned char> withModes(bank);
        for (int flag = 0; flag < 3; ++flag)
            withModes[1472 + static_cast<size_t>(flag)] = (modes >> flag) & 1;
        ASSERT_EQ(plugin.setChunk(withModes, false), 1476);
        EXPECT_EQ(plugin.chunk(false), withModes) << "modes " << modes;

        EventList good;
        good.midi = {note(0x90, 60, 100, 0), note(0x80, 60, 0, 100),  note(0x9F, 127, 1, 255),
                     note(0x90, 0, 0, 10),   note(0x90, 69, 127, -5), note(0x90, 69, 127, INT_MAX)};
        EXPECT_EQ(plugin.dispatch(effProcessEvents, 0, 0, good.build(static_cast<int32_t>(good.midi.size()))),
                  1);
        expectFiniteBlock(plugin);
        expectFiniteBlock(plugin);
    }

    // Events that are not MIDI, and a list that claims no events or fewer than zero.
    EventList other;
    other.midi = {note(0x90, 60, 100, 0)};
    other.midi[0].type = 6;
    plugin.dispatch(effProcessEvents, 0, 0, other.build(1));
    plugin.dispatch(effProcessEvents, 0, 0, other.build(0));
    plugin.dispatch(effProcessEvents, 0, 0, other.build(-1));
    plugin.dispatch(effProcessEvents, 0, 0, other.build(INT_MIN));
    plugin.dispatch(effProcessEvents, 0, 0, nullptr);
    expectFiniteBlock(plugin);
}
