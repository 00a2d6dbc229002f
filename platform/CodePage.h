// Windows-1251 text: conversion to and from UTF-8, and case mapping by a
// fixed table (never by the process locale, which no component changes).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vox {

// Characters that Windows-1251 cannot hold become "?". Invalid UTF-8 bytes
// are replaced one by one.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);

// The offset of the first byte that is not part of a well-formed UTF-8
// sequence (overlong forms, surrogates and values past U+10FFFF included);
// nothing when the whole text is UTF-8.
std::optional<size_t> FirstInvalidUtf8(std::string_view text);

char ToLower1251(char c);
char ToUpper1251(char c);
std::string ToLower1251(std::string_view text);
std::string ToUpper1251(std::string_view text);

// Letters of the Russian alphabet and Latin letters in Windows-1251.
bool IsLetter1251(char c);

}  // namespace vox
