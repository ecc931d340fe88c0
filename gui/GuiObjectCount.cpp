// The window-system object counters.
#include "gui/GuiObjectCount.h"

namespace {
int32_t liveCount = 0;
int64_t createdCount = 0;
}  // namespace

namespace guiObjects {

void created() {
    ++liveCount;
    ++createdCount;
}

void deleted() { --liveCount; }

int32_t live() { return liveCount; }

int64_t totalCreated() { return createdCount; }

}  // namespace guiObjects
