// The default window written to a PPM file when BRINDLE_EDITOR_PPM names one, to count the pixels
// in which the Windows port differs (its test writes the same file from Wine).
#include <cstdio>
#include <cstdlib>

#include "EditorTestSupport.h"

namespace {

using WindowImage = EditorFixture;

TEST_F(WindowImage, DefaultWindowOnRequest) {
    const char* path = std::getenv("BRINDLE_EDITOR_PPM");
    if (path == nullptr) GTEST_SKIP() << "BRINDLE_EDITOR_PPM is not set";
    open();
    idle();
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fprintf(file, "P6\n525 300\n255\n");
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 525; ++x) {
            const Color c = pixel(x, y);
            const unsigned char rgb[3] = {c.red, c.green, c.blue};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    ASSERT_EQ(std::fclose(file), 0);
}

}  // namespace
