// The two pictures embedded in the Linux library, looked up by their resource numbers.
#include "gui/x11/EmbeddedPictures.h"

// The .bmp files are copied into read-only data as they are; BRINDLE_RESOURCE_DIR names their folder.
#define BRINDLE_STRINGIFY(x) #x
#define BRINDLE_STRING(x) BRINDLE_STRINGIFY(x)

asm(".section .rodata\n"
    ".balign 16\n"
    ".hidden brindleBackgroundBmp\n"
    ".hidden brindleBackgroundBmpEnd\n"
    ".hidden brindleHelpBmp\n"
    ".hidden brindleHelpBmpEnd\n"
    "brindleBackgroundBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/background.bmp\"\n"
    "brindleBackgroundBmpEnd:\n"
    ".balign 16\n"
    "brindleHelpBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/help.bmp\"\n"
    "brindleHelpBmpEnd:\n"
    ".previous\n");

extern "C" const unsigned char brindleBackgroundBmp[];
extern "C" const unsigned char brindleBackgroundBmpEnd[];
extern "C" const unsigned char brindleHelpBmp[];
extern "C" const unsigned char brindleHelpBmpEnd[];

const EmbeddedPicture* findEmbeddedPicture(int32_t id) {
    static const EmbeddedPicture pictures[] = {
        {128, brindleBackgroundBmp, static_cast<size_t>(brindleBackgroundBmpEnd - brindleBackgroundBmp)},
        {133, brindleHelpBmp, static_cast<size_t>(brindleHelpBmpEnd - brindleHelpBmp)},
    };
    for (const EmbeddedPicture& picture : pictures) {
        if (picture.id == id) {
            return &picture;
        }
    }
    return nullptr;
}
