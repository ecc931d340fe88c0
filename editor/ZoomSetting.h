// The user's own zoom choice for the editor, kept in a small file in the user's settings folder
// (never in programs, chunks or the host's project) and read by every instance.
#pragma once

#include <cstdint>

namespace zoomSetting {

// The zooms the editor offers, in percent.
constexpr int32_t kChoices[] = {100, 125, 150, 200, 300};
constexpr int32_t kChoiceCount = 5;

// A factor from a host or a screen within kSnapPercent of an offered zoom is that zoom: a screen
// at 100 dots per inch (104 %) is meant as 100 %, not drawn soft.
constexpr int32_t kSnapPercent = 5;
constexpr int32_t snapped(int32_t percent) {
    for (const int32_t choice : kChoices) {
        if (percent >= choice - kSnapPercent && percent <= choice + kSnapPercent) return choice;
    }
    return percent;
}

// The saved choice, or 0 when the user made none (or the file holds none of the choices).
int32_t read();
// Saves a choice (0 forgets it); false when the file cannot be written.
bool write(int32_t percent);

}  // namespace zoomSetting
