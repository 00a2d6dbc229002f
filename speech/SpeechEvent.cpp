#include "speech/SpeechEvent.h"

#include <cstdio>

namespace vox::speech {

namespace {

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace

const char* EventTypeName(EventType type) {
    switch (type) {
        case EventType::Sentence:
            return "sentence";
        case EventType::Word:
            return "word";
        case EventType::Phoneme:
            return "phoneme";
        case EventType::Viseme:
            return "viseme";
        case EventType::Bookmark:
            return "bookmark";
    }
    return "?";
}

std::string EventJson(const SpeechEvent& e) {
    std::string out = "{\"type\":\"";
    out += EventTypeName(e.type);
    out += "\",\"ms\":" + std::to_string(e.ms) + ",\"bytes\":" + std::to_string(e.bytes);
    switch (e.type) {
        case EventType::Sentence:
            out += ",\"pos\":" + std::to_string(e.pos) + ",\"len\":" + std::to_string(e.len);
            break;
        case EventType::Word:
            out += ",\"pos\":" + std::to_string(e.pos) + ",\"len\":" + std::to_string(e.len) +
                   ",\"text\":";
            AppendJsonString(out, e.text);
            break;
        case EventType::Phoneme:
            out += ",\"phoneme\":";
            AppendJsonString(out, e.phoneme);
            out += ",\"duration_ms\":" + std::to_string(e.durationMs);
            break;
        case EventType::Viseme:
            out += ",\"viseme\":" + std::to_string(e.code) +
                   ",\"duration_ms\":" + std::to_string(e.durationMs);
            break;
        case EventType::Bookmark:
            out += ",\"text\":";
            AppendJsonString(out, e.text);
            break;
    }
    out += '}';
    return out;
}

}  // namespace vox::speech
