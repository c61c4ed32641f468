// stb_vorbis compiled from Debian's header for the fuzzers, with their
// instrumentation; the game links the same code from libstb.
//
// Two of its habits are undefined behaviour that x86-64 turns into a value
// the decoder then handles, so UBSan leaves these functions alone (declared
// here with the exemption; the header's definitions inherit it):
// - its codebook setup converts float powers larger than an int to int
//   (lookup1_values) and then rejects the codebook by the next comparison
//   (INT_MIN);
// - its float-to-short conversions subtract a bias from the bits of a float
//   that a broken stream can make huge; the wrapped result is a wrong sample,
//   never a wrong index, and is clamped to 16 bits.
#define NO_FLOAT_CAST_CHECK __attribute__((no_sanitize("float-cast-overflow")))
#define NO_OVERFLOW_CHECK __attribute__((no_sanitize("signed-integer-overflow")))
static int lookup1_values(int entries, int dim) NO_FLOAT_CAST_CHECK;
static void copy_samples(short* dest, float* src, int len) NO_OVERFLOW_CHECK;
static void compute_samples(int mask, short* output, int num_c, float** data, int d_offset, int len) NO_OVERFLOW_CHECK;
static void compute_stereo_samples(short* output, int num_c, float** data, int d_offset, int len) NO_OVERFLOW_CHECK;
static void convert_channels_short_interleaved(int buf_c, short* buffer, int data_c, float** data, int d_offset,
                                               int len) NO_OVERFLOW_CHECK;
#include <stb/stb_vorbis.h>
