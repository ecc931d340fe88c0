// The user's own zoom choice for the editor, kept in a small file in the user's settings folder
// (never in programs, chunks or the host's project) and read by every instance.
#pragma once

#include <cstdint>

namespace zoomSetting {

// The zooms the editor offers, in percent.
constexpr int32_t kChoices[] = {100, 125, 150, 200, 300};
constexpr int32_t kChoiceCount = 5;

// The saved choice, or 0 when the user made none (or the file holds none of the choices).
int32_t read();
// Saves a choice (0 forgets it); false when the file cannot be written.
bool write(int32_t percent);

}  // namespace zoomSetting
