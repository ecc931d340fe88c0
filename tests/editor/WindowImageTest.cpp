// The default window written to a file when BRINDLE_EDITOR_PPM names one (PPM, or PNG when the
// name ends in .png), at the host's scale BRINDLE_EDITOR_SCALE (1 when unset): to count the
// pixels in which the Windows port differs (its test writes the same file from Wine), and for
// the screenshots.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EditorTestSupport.h"
#include "gui/x11/CairoPixels.h"

namespace {

using WindowImage = EditorFixture;

TEST_F(WindowImage, DefaultWindowOnRequest) {
    const char* path = std::getenv("BRINDLE_EDITOR_PPM");
    if (path == nullptr) GTEST_SKIP() << "BRINDLE_EDITOR_PPM is not set";
    const char* factor = std::getenv("BRINDLE_EDITOR_SCALE");
    if (factor != nullptr) tellScale(static_cast<float>(std::atof(factor)));
    open();
    idle();
    const Point size = headless::windowSize(frame()->getWindow());
    const std::string name = path;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
        cairo_surface_t* image = x11port::createImage(size.h, size.v);
        for (int32_t y = 0; y < size.v; ++y)
            for (int32_t x = 0; x < size.h; ++x) x11port::writePixel(image, x, y, pixel(x, y));
        EXPECT_EQ(cairo_surface_write_to_png(image, path), CAIRO_STATUS_SUCCESS) << path;
        x11port::destroySurface(image);
        return;
    }
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fprintf(file, "P6\n%d %d\n255\n", size.h, size.v);
    for (int32_t y = 0; y < size.v; ++y) {
        for (int32_t x = 0; x < size.h; ++x) {
            const Color c = pixel(x, y);
            const unsigned char rgb[3] = {c.red, c.green, c.blue};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    ASSERT_EQ(std::fclose(file), 0);
}

}  // namespace
