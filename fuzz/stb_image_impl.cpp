// stb_image built into the fuzzers from Debian's header, so that its code is
// instrumented too (the packaged library is not, which would leave the
// fuzzer blind inside the decoder and the sanitizers deaf to its reads).
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
