// A key as the window system or the host reports it: a character, a virtual key code and the
// modifier keys held.
#pragma once

#include <cstdint>

struct KeyStroke {
    int32_t character;
    uint8_t virt;
    uint8_t modifier;
};
