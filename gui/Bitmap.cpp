// The parts of Bitmap that both ports share: reference counting.
#include "gui/Bitmap.h"

void Bitmap::release() {
    if (referenceCount <= 0) {
        return;
    }
    if (--referenceCount == 0) {
        delete this;
    }
}
