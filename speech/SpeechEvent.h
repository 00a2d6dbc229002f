// One event of spoken text, as front ends see it: where in the audio
// (bytes and milliseconds from the start of the output) and, by type, where
// in the input text (Unicode characters, markup included).
#pragma once

#include <cstdint>
#include <string>

namespace vox::speech {

enum class EventType { Sentence, Word, Phoneme, Viseme, Bookmark };

const char* EventTypeName(EventType type);  // "sentence", "word", …

struct SpeechEvent {
    EventType type = EventType::Word;
    uint64_t bytes = 0;  // audio offset
    uint64_t ms = 0;
    uint64_t pos = 0;         // sentence, word: position in the input
    uint64_t len = 0;         // sentence, word: length
    std::string text;         // word: its text; bookmark: its name (UTF-8)
    int32_t code = 0;         // phoneme or viseme code
    std::string phoneme;      // phoneme: its name ("" when unknown)
    uint32_t durationMs = 0;  // phoneme, viseme
};

// One JSON object on one line (no newline).
std::string EventJson(const SpeechEvent& event);

}  // namespace vox::speech
