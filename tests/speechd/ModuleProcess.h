// A running sd_voxamen on pipes, as the server runs it: for the tests and
// the benchmark that need the real module with an installed voice.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sdvox::test {

class ModuleProcess {
  public:
    // Starts the module and initialises it for server audio; throws when
    // it cannot start or has no voice.
    explicit ModuleProcess(const std::string& binary) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            execl(binary.c_str(), "sd_voxamen", "/nonexistent.conf", nullptr);
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_ = in[1];
        from_ = out[0];
        Send("INIT\n");
        if (!Await("299 OK LOADED SUCCESSFULLY\n")) throw std::runtime_error("no voice");
        Send("AUDIO\naudio_output_method=server\n.\n");
        Await("203 OK AUDIO INITIALIZED\n");
    }
    ~ModuleProcess() {
        Send("QUIT\n");
        Await("210 OK QUIT\n");
        close(to_);
        close(from_);
        waitpid(pid_, nullptr, 0);
    }
    ModuleProcess(const ModuleProcess&) = delete;
    ModuleProcess& operator=(const ModuleProcess&) = delete;

    void Send(const std::string& s) {
        if (write(to_, s.data(), s.size()) != static_cast<ssize_t>(s.size()))
            throw std::runtime_error("write");
    }
    // Reads until `what` appears; consumes the output up to its end and
    // returns it in *consumed. False on a 10 s time-out or a closed pipe.
    bool Await(const std::string& what, std::string* consumed = nullptr) {
        char buf[65536];
        for (;;) {
            size_t at = pending_.find(what);
            if (at != std::string::npos) {
                if (consumed) *consumed = pending_.substr(0, at + what.size());
                pending_.erase(0, at + what.size());
                return true;
            }
            pollfd p{from_, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) return false;
            ssize_t n = read(from_, buf, sizeof buf);
            if (n <= 0) return false;
            pending_.append(buf, static_cast<size_t>(n));
        }
    }
    // Speaks one message (after SET lines, if any) and returns its samples.
    std::vector<int16_t> Speak(const std::string& settings, const std::string& ssml) {
        if (!settings.empty()) {
            Send("SET\n" + settings + "\n.\n");
            Await("203 OK SETTINGS RECEIVED\n");
        }
        Send("SPEAK\n" + ssml + "\n.\n");
        std::string out;
        if (!Await("702 END\n", &out)) return {};
        return AudioOf(out);
    }
    long RssKiB() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        return -1;
    }

    // The samples of every "705" event of a transcript.
    static std::vector<int16_t> AudioOf(const std::string& transcript) {
        std::vector<int16_t> samples;
        for (size_t at = transcript.find("705-AUDIO"); at != std::string::npos;
             at = transcript.find("705-AUDIO", at + 1)) {
            size_t end = transcript.find("\n705 AUDIO\n", at);
            if (end == std::string::npos) break;
            std::vector<uint8_t> bytes;
            for (size_t i = at + 10; i < end; ++i) {
                uint8_t b = static_cast<uint8_t>(transcript[i]);
                bytes.push_back(
                    b == 0x7D && i + 1 < end ? static_cast<uint8_t>(transcript[++i]) ^ 0x20 : b);
            }
            for (size_t i = 0; i + 1 < bytes.size(); i += 2)
                samples.push_back(static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8));
            at = end;
        }
        return samples;
    }

  private:
    pid_t pid_ = -1;
    int to_ = -1, from_ = -1;
    std::string pending_;
};

}  // namespace sdvox::test
