// libFuzzer harness for picture decoding: any bytes, as a file, through the
// decoder the game loads every picture with. A decoded picture must be as
// large as it says (every byte is read) and nothing may be asked of the heap
// that the file cannot justify: the harness lowers libFuzzer's limit for one
// allocation to 512 MB, twice the largest picture the decoder accepts.
//
// fuzz-sources: host/image_decode.cpp fuzz/stb_image_impl.cpp
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/image_decode.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i)
        if (strncmp((*argv)[i], "-malloc_limit_mb=", 17) == 0) return 0;
    // libFuzzer reads its flags after this returns: add the limit to them.
    static char limit[] = "-malloc_limit_mb=512";
    static char** args = new char*[*argc + 2];
    for (int i = 0; i < *argc; ++i) args[i] = (*argv)[i];
    args[*argc] = limit;
    args[*argc + 1] = nullptr;
    *argc += 1;
    *argv = args;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = DecodeImageFile(file, &width, &height, &depth);
    fclose(file);
    if (!pixels) return 0;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide || depth < 1 || depth > 4)
        abort();
    volatile unsigned sum = 0;
    const size_t bytes = static_cast<size_t>(width) * height * depth;
    for (size_t i = 0; i < bytes; ++i) sum = sum + pixels[i];
    free(pixels);
    return 0;
}
