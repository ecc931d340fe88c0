// Chunks, variable-length numbers, running status, meta and system-exclusive events; ticks to
// seconds through the tempo map (or SMPTE frames), seconds to samples.
#include "tools/render/MidiFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

struct TimedMessage {
    uint64_t tick;
    size_t order;  // file order, for a stable result at equal ticks
    MidiNote note;
};

struct TempoChange {
    uint64_t tick;
    double secondsPerTick;
};

class Reader {
public:
    Reader(const unsigned char* data, size_t size) : at(data), end(data + size) {}
    bool has(size_t n) const { return static_cast<size_t>(end - at) >= n; }
    bool done() const { return at >= end; }
    unsigned char byte() { return *at++; }
    unsigned char peek() const { return *at; }
    void skip(size_t n) { at += n; }
    // Variable-length number: at most four bytes of seven bits.
    bool variable(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (!has(1)) return false;
            const unsigned char b = byte();
            value = (value << 7) | (b & 0x7Fu);
            if (!(b & 0x80)) return true;
        }
        return false;
    }

private:
    const unsigned char* at;
    const unsigned char* end;
};

uint32_t big32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

uint16_t big16(const unsigned char* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

bool readTrack(Reader track, size_t trackNumber, std::vector<TimedMessage>& messages,
               std::vector<std::pair<uint64_t, uint32_t>>& tempos, std::string& error) {
    uint64_t tick = 0;
    unsigned char status = 0;
    auto damaged = [&](const char* why) {
        error = "track " + std::to_string(trackNumber + 1) + ": " + why;
        return false;
    };
    while (!track.done()) {
        uint32_t delta = 0;
        if (!track.variable(delta)) return damaged("a delta time runs past the end of the track");
        tick += delta;
        if (!track.has(1)) return damaged("an event is missing after its delta time");
        unsigned char first = track.peek();
        if (first & 0x80) {
            track.skip(1);
            if (first == 0xFF) {  // meta event
                if (!track.has(1)) return damaged("a meta event is cut short");
                const unsigned char type = track.byte();
                uint32_t length = 0;
                if (!track.variable(length) || !track.has(length))
                    return damaged("a meta event is cut short");
                if (type == 0x51 && length == 3) {
                    const unsigned char a = track.byte();
                    const unsigned char b = track.byte();
                    const unsigned char c = track.byte();
                    tempos.emplace_back(tick,
                                        static_cast<uint32_t>(a) << 16 | static_cast<uint32_t>(b) << 8 | c);
                } else {
                    track.skip(length);
                }
                if (type == 0x2F) return true;  // end of track
                continue;
            }
            if (first == 0xF0 || first == 0xF7) {  // system exclusive
                uint32_t length = 0;
                if (!track.variable(length) || !track.has(length))
                    return damaged("a system-exclusive event is cut short");
                track.skip(length);
                status = 0;  // cancels running status
                continue;
            }
            if (first >= 0xF0) return damaged("a system message that files may not hold");
            status = first;
        } else if (status == 0) {
            return damaged("data without a status byte");
        }
        const unsigned char kind = status & 0xF0;
        const size_t dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        if (!track.has(dataBytes)) return damaged("a channel message is cut short");
        const unsigned char data1 = track.byte();
        const unsigned char data2 = dataBytes == 2 ? track.byte() : 0;
        if ((data1 | data2) & 0x80) return damaged("a data byte above 127");
        if (kind == 0x80 || kind == 0x90) {
            MidiNote note;
            note.status = status;
            note.data1 = data1;
            note.data2 = data2;
            messages.push_back({tick, messages.size(), note});
        }
    }
    return true;  // a track without its end event: what it held is kept
}

}  // namespace

bool looksLikeMidiFile(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "MThd", 4) == 0;
}

bool parseMidiFile(const std::vector<unsigned char>& bytes, double sampleRate, double defaultTempo,
                   std::vector<MidiNote>& notes, std::string& error) {
    if (bytes.size() < 14 || !looksLikeMidiFile(bytes) || big32(bytes.data() + 4) < 6) {
        error = "not a standard MIDI file (no complete MThd header)";
        return false;
    }
    const size_t headerLength = big32(bytes.data() + 4);
    const uint16_t format = big16(bytes.data() + 8);
    const uint16_t trackCount = big16(bytes.data() + 10);
    const uint16_t division = big16(bytes.data() + 12);
    if (format > 1) {
        error = "MIDI file format " + std::to_string(format) +
                " (independent songs) is not played; formats 0 and 1 are";
        return false;
    }
    if (division == 0) {
        error = "the MIDI file gives no time division";
        return false;
    }
    std::vector<TimedMessage> messages;
    std::vector<std::pair<uint64_t, uint32_t>> tempos;
    size_t at = 8 + headerLength;
    size_t tracks = 0;
    while (tracks < trackCount && at + 8 <= bytes.size()) {
        const size_t length = big32(bytes.data() + at + 4);
        const bool isTrack = std::memcmp(bytes.data() + at, "MTrk", 4) == 0;
        if (length > bytes.size() - at - 8) {
            error = "track " + std::to_string(tracks + 1) + " runs past the end of the file";
            return false;
        }
        if (isTrack) {
            if (!readTrack(Reader(bytes.data() + at + 8, length), tracks, messages, tempos, error))
                return false;
            ++tracks;
        }
        at += 8 + length;  // chunks of other types are skipped
    }
    if (tracks < trackCount) {
        error = "the MIDI file announces " + std::to_string(trackCount) + " tracks but holds " +
                std::to_string(tracks);
        return false;
    }

    // Seconds per tick from each tempo change on (SMPTE: fixed frames per second).
    std::vector<TempoChange> map;
    if (division & 0x8000) {
        const int framesCode = -static_cast<int8_t>(division >> 8);
        const double fps = framesCode == 29 ? 29.97 : framesCode;
        const int ticksPerFrame = division & 0xFF;
        if (fps <= 0.0 || ticksPerFrame == 0) {
            error = "the MIDI file's SMPTE time division is invalid";
            return false;
        }
        map.push_back({0, 1.0 / (fps * ticksPerFrame)});
    } else {
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        map.push_back({0, 60.0 / defaultTempo / division});
        for (const auto& [tick, microseconds] : tempos) {
            const double perTick = microseconds * 1e-6 / division;
            if (map.back().tick == tick)
                map.back().secondsPerTick = perTick;
            else
                map.push_back({tick, perTick});
        }
    }

    std::stable_sort(messages.begin(), messages.end(), [](const TimedMessage& a, const TimedMessage& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    size_t segment = 0;
    double segmentSeconds = 0.0;  // time at the start of map[segment]
    for (const TimedMessage& m : messages) {
        while (segment + 1 < map.size() && map[segment + 1].tick <= m.tick) {
            segmentSeconds +=
                static_cast<double>(map[segment + 1].tick - map[segment].tick) * map[segment].secondsPerTick;
            ++segment;
        }
        const double seconds =
            segmentSeconds + static_cast<double>(m.tick - map[segment].tick) * map[segment].secondsPerTick;
        const double position = std::floor(seconds * sampleRate + 0.5);
        if (!(position < 9e15)) {
            error = "a note lies beyond any length a render can have";
            return false;
        }
        MidiNote note = m.note;
        note.position = static_cast<int64_t>(position);
        notes.push_back(note);
    }
    return true;
}
