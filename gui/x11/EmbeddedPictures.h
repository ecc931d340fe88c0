// The bitmap resources embedded in the Linux library, looked up by resource number.
#pragma once

#include <cstddef>
#include <cstdint>

struct EmbeddedPicture {
    int32_t id;
    const unsigned char* bmp;  // the whole .bmp file
    size_t size;
};

// None when the library holds no picture with that number. Defined by the resources library.
const EmbeddedPicture* findEmbeddedPicture(int32_t id);
