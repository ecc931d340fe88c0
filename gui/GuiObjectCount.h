// Counts the window-system objects the toolkit makes and frees, so tests can prove nothing leaks.
#pragma once

#include <cstdint>

// Win32: pens, brushes, fonts, bitmaps and device contexts; Linux: Cairo surfaces and contexts.
// GUI thread only.
namespace guiObjects {

void created();
void deleted();
// Objects made and not yet freed.
int32_t live();
// Objects made since the process started.
int64_t totalCreated();

}  // namespace guiObjects
