// Text as the framework sees it: sequences of 16-bit code units.
//
//   String s = u"Zentrove";           // literals are UTF-16
//   std::string bytes = ToUtf8(s);    // each unit encoded on its own (1-3 bytes)
//   String t = FromUtf8("abc");       // for C strings from the OS and tests
//
// Every unit is encoded separately (no surrogate pairing), so any String,
// including one holding lone surrogates, survives a save and load unchanged.
#pragma once

#include <string>
#include <string_view>

using String = std::u16string;

// Appends the UTF-8 form of one 16-bit unit (1, 2 or 3 bytes).
void AppendUtf8Unit(std::string& out, char16_t unit);

// UTF-8 of every unit on its own.
std::string ToUtf8(std::u16string_view text);

// Decodes UTF-8 of one to three bytes per unit; invalid input falls back to
// one unit per byte (the rule text files follow).
String FromUtf8(std::string_view bytes);

// Each unit narrowed to its low byte (what error messages and URLs get).
std::string NarrowToBytes(std::u16string_view text);

// Plain decimal text of an int.
String IntToString(long long value);
