#include "tools/sd_voxamen/ModuleSession.h"

#include <charconv>

#include "tools/sd_voxamen/KeyNames.h"

namespace sdvox {

namespace {
constexpr const char* kBadSyntax = "302 ERROR BAD SYNTAX\n";
constexpr const char* kBadValue = "303 ERROR INVALID PARAMETER OR VALUE\n";

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += lines[i];
    }
    return text;
}

bool SameLanguage(const std::string& wanted, const std::string& language) {
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    std::string w = lower(wanted), l = lower(language);
    return w == l || l.substr(0, l.find('-')) == w;
}
}  // namespace

ModuleSession::ModuleSession(Synthesizer& synthesizer, ProtocolChannel& channel)
    : synthesizer_(synthesizer), channel_(channel), worker_(synthesizer, channel) {}

ModuleSession::~ModuleSession() {
    worker_.Stop();
    if (debug_file_) std::fclose(debug_file_);
}

int ModuleSession::Run() {
    while (!ended_) {
        std::optional<std::string> line = channel_.ReadLine();
        if (!line) break;  // the server has gone: end quietly
        if (debug_file_) std::fprintf(debug_file_, "< %s\n", line->c_str());
        const std::string& command = *line;
        if (command == "INIT")
            Init();
        else if (command == "AUDIO")
            Audio();
        else if (command == "LOGLEVEL")
            LogLevel();
        else if (command.rfind("LIST VOICES", 0) == 0)
            ListVoices(command);
        else if (command == "SET")
            Set();
        else if (command == "SPEAK")
            Speak(MessageKind::Text);
        else if (command == "CHAR")
            Speak(MessageKind::Char);
        else if (command == "KEY")
            Speak(MessageKind::Key);
        else if (command == "SOUND_ICON")
            Speak(MessageKind::SoundIcon);
        else if (command == "STOP")
            worker_.Stop();
        else if (command == "PAUSE")
            worker_.Pause();
        else if (command.rfind("DEBUG", 0) == 0)
            Debug(command);
        else if (command == "QUIT") {
            worker_.Stop();
            worker_.WaitIdle();
            channel_.Write("210 OK QUIT\n");
            return 0;
        } else
            channel_.Write("300 ERR UNKNOWN COMMAND\n");
    }
    worker_.Stop();
    worker_.WaitIdle();
    return 0;
}

void ModuleSession::Init() {
    std::string message;
    if (synthesizer_.Init(&message)) {
        channel_.Write("299-" + (message.empty() ? std::string("Voxamen ready") : message) +
                       "\n299 OK LOADED SUCCESSFULLY\n");
    } else {
        channel_.Write("399-" + message + "\n399 ERR CANT INIT MODULE\n");
    }
}

template <typename Apply>
bool ModuleSession::ReadParameters(const char* acknowledgement, Apply apply) {
    channel_.Write(acknowledgement);
    std::optional<std::vector<std::string>> block = channel_.ReadBlock();
    if (!block) {
        ended_ = true;
        return false;
    }
    const char* error = nullptr;
    for (const std::string& line : *block) {
        SetResult result = apply(line);
        if (result == SetResult::BadSyntax)
            error = kBadSyntax;
        else if (result == SetResult::BadValue && !error)
            error = kBadValue;
    }
    if (error) channel_.Write(error);
    return error == nullptr;
}

void ModuleSession::Audio() {
    // Audio goes back to the server ("705 AUDIO"); the module plays nothing itself.
    bool ok = ReadParameters("207 OK RECEIVING AUDIO SETTINGS\n", [](const std::string& line) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == line.size())
            return SetResult::BadSyntax;
        if (line.substr(0, eq) != "audio_output_method") return SetResult::BadValue;
        return line.substr(eq + 1) == "server" ? SetResult::Ok : SetResult::BadValue;
    });
    if (ok) channel_.Write("203 OK AUDIO INITIALIZED\n");
}

void ModuleSession::LogLevel() {
    int level = log_level_;
    bool ok = ReadParameters("207 OK RECEIVING LOGLEVEL SETTINGS\n", [&](const std::string& line) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == line.size())
            return SetResult::BadSyntax;
        if (line.substr(0, eq) != "log_level") return SetResult::BadValue;
        const char* first = line.data() + eq + 1;
        const char* last = line.data() + line.size();
        auto [end, ec] = std::from_chars(first, last, level);
        return ec == std::errc() && end == last && level >= 0 && level <= 5 ? SetResult::Ok
                                                                            : SetResult::BadValue;
    });
    if (ok) {
        log_level_ = level;
        channel_.Write("203 OK LOGLEVEL SET\n");
    }
}

void ModuleSession::ListVoices(const std::string& line) {
    // "LIST VOICES [language [variant]]"
    std::vector<std::string> words;
    for (size_t at = 0; at < line.size();) {
        size_t end = line.find(' ', at);
        if (end == std::string::npos) end = line.size();
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    std::string reply;
    for (const VoiceEntry& voice : synthesizer_.Voices()) {
        if (words.size() >= 3 && !SameLanguage(words[2], voice.language)) continue;
        if (words.size() >= 4 && words[3] != voice.variant) continue;
        reply += "200-" + voice.name + "\t" + voice.language + "\t" + voice.variant + "\n";
    }
    channel_.Write(reply.empty() ? std::string("304 CANT LIST VOICES\n")
                                 : reply + "200 OK VOICE LIST SENT\n");
}

void ModuleSession::Set() {
    SpeechSettings changed = settings_;
    bool ok = ReadParameters("203 OK RECEIVING SETTINGS\n",
                             [&](const std::string& line) { return ApplySetting(changed, line); });
    // Good lines of a block with a bad one still take effect, as the
    // server's own modules do; the error tells the server which kind.
    settings_ = changed;
    if (ok) channel_.Write("203 OK SETTINGS RECEIVED\n");
}

void ModuleSession::Speak(MessageKind kind) {
    channel_.Write("202 OK RECEIVING MESSAGE\n");
    bool too_long = false;
    std::optional<std::vector<std::string>> lines = channel_.ReadBlock(&too_long);
    if (!lines) {
        ended_ = true;
        return;
    }
    std::string text = Join(*lines);
    if (too_long || text.empty()) {
        channel_.Write("301 ERROR CANT SPEAK\n");
        return;
    }
    if (kind != MessageKind::Text && lines->size() > 1) {
        channel_.Write("305 DATA MORE THAN ONE LINE\n");
        return;
    }
    SpeechJob job;
    job.utterance.settings = settings_;
    job.utterance.ssml = kind == MessageKind::Text;
    switch (kind) {
        case MessageKind::Text:
            job.utterance.text = text;
            break;
        case MessageKind::Char: {
            bool capital = false;
            job.utterance.text = CharacterName(text, &capital);
            if (capital && settings_.capitals == CapitalLetters::Spell)
                job.utterance.text = "большая " + job.utterance.text;
            if (capital && settings_.capitals == CapitalLetters::Icon) job.icon = "capital";
            break;
        }
        case MessageKind::Key:
            job.utterance.text = KeyName(text);
            break;
        case MessageKind::SoundIcon:
            job.icon = text;
            job.speak = false;
            break;
    }
    // A single character or key is read as it is named, never spelled or
    // punctuated again.
    if (kind == MessageKind::Char || kind == MessageKind::Key) {
        job.utterance.settings.spelling = false;
        job.utterance.settings.punctuation = PunctuationMode::None;
    }
    channel_.Write("200 OK SPEAKING\n");
    worker_.Start(std::move(job));
}

void ModuleSession::Debug(const std::string& line) {
    if (line == "DEBUG OFF") {
        if (debug_file_) std::fclose(debug_file_);
        debug_file_ = nullptr;
        channel_.Write("200 OK DEBUGGING OFF\n");
        return;
    }
    if (line.rfind("DEBUG ON ", 0) == 0 && line.size() > 9) {
        std::FILE* file = std::fopen(line.substr(9).c_str(), "a");
        if (!file) {
            channel_.Write("303 CANT OPEN CUSTOM DEBUG FILE\n");
            return;
        }
        if (debug_file_) std::fclose(debug_file_);
        debug_file_ = file;
        channel_.Write("200 OK DEBUGGING ON\n");
        return;
    }
    channel_.Write(kBadSyntax);
}

}  // namespace sdvox
