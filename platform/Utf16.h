// UTF-16 text of the speech platform: conversion to and from UTF-8, and to
// Windows-1251 one byte per 16-bit unit, so that positions in the converted
// text equal positions in the platform's text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vox {

// Invalid UTF-8 bytes become U+FFFD one by one.
std::u16string Utf8ToUtf16(std::string_view utf8);
// The same, with the UTF-16 offset of every byte offset (0 … size): the
// bytes of one character share the offset where the character starts.
std::u16string Utf8ToUtf16(std::string_view utf8, std::vector<uint32_t>& unitAtByte);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// One byte per unit; what Windows-1251 cannot hold (surrogate halves
// included) becomes "?".
std::string Utf16ToCp1251(std::u16string_view utf16);
std::u16string Cp1251ToUtf16(std::string_view cp1251);

// Length of a zero-terminated UTF-16 text.
size_t Utf16Length(const char16_t* text);

}  // namespace vox
