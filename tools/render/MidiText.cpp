// Note lines to MIDI messages, kept in the order of their positions (stable for equal ones).
#include "tools/render/MidiText.h"

#include <algorithm>
#include <sstream>

bool parseMidiText(const std::string& text, std::vector<MidiNote>& notes, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream fields(line);
        std::string first;
        if (!(fields >> first)) continue;  // blank or comment
        fields.clear();
        fields.str(line);
        long long position = 0;
        long long note = 0;
        long long velocity = 0;
        std::string rest;
        if (!(fields >> position >> note >> velocity) || (fields >> rest)) {
            error = "line " + std::to_string(lineNumber) +
                    ": expected \"samplePosition note velocity\", got \"" + line + "\"";
            return false;
        }
        if (position < 0) {
            error = "line " + std::to_string(lineNumber) + ": negative sample position";
            return false;
        }
        if (note < 0 || note > 127 || velocity < 0 || velocity > 127) {
            error = "line " + std::to_string(lineNumber) + ": note and velocity must be 0..127";
            return false;
        }
        MidiNote message;
        message.position = position;
        message.status = velocity == 0 ? 0x80 : 0x90;
        message.data1 = static_cast<uint8_t>(note);
        message.data2 = static_cast<uint8_t>(velocity);
        notes.push_back(message);
    }
    std::stable_sort(notes.begin(), notes.end(),
                     [](const MidiNote& a, const MidiNote& b) { return a.position < b.position; });
    return true;
}
