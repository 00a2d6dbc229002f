// Test doubles of the adapter's two servers, in one library loaded by path
// (build/test-lib/adapter-fakes.so) through the registry like real servers:
// a lexical component that splits text at blanks (sentences end at ".", "!"
// or "?", syntagmas at ","; a word's transcription is one phoneme per
// letter) and an engine that gives every phoneme 100 samples ("#" 50) at
// 22050 Hz, scaled to the format as the real engine does.
#pragma once

#include <cstdint>

#include "interfaces/ComTypes.h"

// {0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9}
inline constexpr CLSID CLSID_FakeGlossor = {
    0x0F1E2D3C, 0x4B5A, 0x4978, {0x86, 0x95, 0xA4, 0xB3, 0xC2, 0xD1, 0xE0, 0xF9}};

// What the fakes saw and how they behave, shared with the tests through
// the library's exported functions.
struct FakeState {
    char lastText[4096];
    int32_t attributeCount;
    char attributes[16][64];  // "name@position+length"
    int32_t reloads;
    int32_t speakCalls;
    int32_t failSpeakCall;  // 1-based engine Speak call that fails; 0 none
    int32_t failSetFormat;
    int32_t noSublanguage;
    char lastPhonemes[1024];
    int8_t lastRate[16], lastVolume[16], lastPitch[16];
    int32_t lastWords;
};

extern "C" {
using FakeStateFn = FakeState* (*)();
}
