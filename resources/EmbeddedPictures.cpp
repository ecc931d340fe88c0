// The pictures embedded in the Linux library (each at 1x, 2x and 3x), looked up by their numbers.
#include "gui/x11/EmbeddedPictures.h"

// The .bmp files are copied into read-only data as they are; BRINDLE_RESOURCE_DIR names their folder.
#define BRINDLE_STRINGIFY(x) #x
#define BRINDLE_STRING(x) BRINDLE_STRINGIFY(x)

asm(".section .rodata\n"
    ".hidden brindleBackgroundBmp\n"
    ".hidden brindleBackgroundBmpEnd\n"
    ".hidden brindleHelpBmp\n"
    ".hidden brindleHelpBmpEnd\n"
    ".hidden brindleBackground2xBmp\n"
    ".hidden brindleBackground2xBmpEnd\n"
    ".hidden brindleHelp2xBmp\n"
    ".hidden brindleHelp2xBmpEnd\n"
    ".hidden brindleBackground3xBmp\n"
    ".hidden brindleBackground3xBmpEnd\n"
    ".hidden brindleHelp3xBmp\n"
    ".hidden brindleHelp3xBmpEnd\n"
    ".balign 16\n"
    "brindleBackgroundBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/background.bmp\"\n"
    "brindleBackgroundBmpEnd:\n"
    ".balign 16\n"
    "brindleHelpBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/help.bmp\"\n"
    "brindleHelpBmpEnd:\n"
    ".balign 16\n"
    "brindleBackground2xBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/background-2x.bmp\"\n"
    "brindleBackground2xBmpEnd:\n"
    ".balign 16\n"
    "brindleHelp2xBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/help-2x.bmp\"\n"
    "brindleHelp2xBmpEnd:\n"
    ".balign 16\n"
    "brindleBackground3xBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/background-3x.bmp\"\n"
    "brindleBackground3xBmpEnd:\n"
    ".balign 16\n"
    "brindleHelp3xBmp:\n"
    ".incbin \"" BRINDLE_STRING(BRINDLE_RESOURCE_DIR) "/help-3x.bmp\"\n"
    "brindleHelp3xBmpEnd:\n"
    ".previous\n");

// Declared hidden, as the labels are, so that the compiler addresses them relative to the code.
// Otherwise aarch64 code loads each address from the GOT, and the labels (local to this file)
// become offsets into .rodata there, which the linker gives one GOT entry for all: every picture
// then began at the first and had a size of 0, and the editor had no background.
#define BRINDLE_EMBEDDED __attribute__((visibility("hidden")))
extern "C" BRINDLE_EMBEDDED const unsigned char brindleBackgroundBmp[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleBackgroundBmpEnd[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleHelpBmp[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleHelpBmpEnd[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleBackground2xBmp[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleBackground2xBmpEnd[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleHelp2xBmp[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleHelp2xBmpEnd[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleBackground3xBmp[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleBackground3xBmpEnd[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleHelp3xBmp[];
extern "C" BRINDLE_EMBEDDED const unsigned char brindleHelp3xBmpEnd[];

const EmbeddedPicture* findEmbeddedPicture(int32_t id) {
    static const EmbeddedPicture pictures[] = {
        {128, brindleBackgroundBmp, static_cast<size_t>(brindleBackgroundBmpEnd - brindleBackgroundBmp)},
        {133, brindleHelpBmp, static_cast<size_t>(brindleHelpBmpEnd - brindleHelpBmp)},
        {2128, brindleBackground2xBmp, static_cast<size_t>(brindleBackground2xBmpEnd - brindleBackground2xBmp)},
        {2133, brindleHelp2xBmp, static_cast<size_t>(brindleHelp2xBmpEnd - brindleHelp2xBmp)},
        {3128, brindleBackground3xBmp, static_cast<size_t>(brindleBackground3xBmpEnd - brindleBackground3xBmp)},
        {3133, brindleHelp3xBmp, static_cast<size_t>(brindleHelp3xBmpEnd - brindleHelp3xBmp)},
    };
    for (const EmbeddedPicture& picture : pictures) {
        if (picture.id == id) {
            return &picture;
        }
    }
    return nullptr;
}
