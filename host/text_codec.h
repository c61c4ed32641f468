// Decoding of text files into Strings.
//
//   String s = DecodeText(bytes, size);
//
// FE FF starts UTF-16 big-endian, FF FE little-endian (a trailing odd byte is
// ignored). Anything else is UTF-8 of one to three bytes per unit after an
// optional byte-order mark; at the first sequence that fits none of those
// forms (a four-byte form, a cut-off sequence, a stray continuation byte) the
// whole file is taken as one character per byte instead, so any file yields
// some string and the reader's own checks decide what to do with it.
#pragma once

#include <cstddef>

#include "host/qvstring.h"

String DecodeText(const unsigned char* data, size_t size);
