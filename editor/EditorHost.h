// What the editor asks of the format it is shown in: to follow a new window size. Each format
// that opens an editor provides one.
#pragma once

#include <cstdint>

// User-interface thread.
class EditorHost {
public:
    // The editor's window has a new size (a new scale): the host's window should follow.
    // False when the host cannot.
    virtual bool resizeEditor(int32_t width, int32_t height) = 0;

protected:
    ~EditorHost() = default;
};

// The editor's rectangle as window systems and hosts take it (the field order of the VST 2
// record, so that an adapter can hand it on as it is).
struct EditorRect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};
