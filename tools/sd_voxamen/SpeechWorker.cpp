#include "tools/sd_voxamen/SpeechWorker.h"

#include <algorithm>
#include <cstdio>

namespace sdvox {

// Forwards the engine's audio and marks to the server, in order, and turns
// a pause request into a stop at the next server mark.
class SpeechWorker::Output final : public SynthesisOutput {
  public:
    Output(ProtocolChannel& channel, std::atomic<bool>& stop, std::atomic<bool>& pause)
        : channel_(channel), stop_(stop), pause_(pause) {}

    void Audio(const int16_t* samples, size_t count, int sample_rate) override {
        for (size_t at = 0; at < count && !StopRequested(); at += kAudioChunkSamples) {
            size_t n = std::min(kAudioChunkSamples, count - at);
            channel_.Write(EncodeAudioEvent(samples + at, n, sample_rate));
        }
    }

    void Mark(std::string_view name) override {
        if (StopRequested()) return;
        channel_.Write("700-" + std::string(name) + "\n700 INDEX MARK\n");
        if (pause_.load() && name.substr(0, 6) == "__spd_") paused_ = true;
    }

    bool StopRequested() const override { return stop_.load() || paused_ || channel_.Closed(); }

    bool Paused() const { return paused_; }

  private:
    ProtocolChannel& channel_;
    std::atomic<bool>& stop_;
    std::atomic<bool>& pause_;
    bool paused_ = false;
};

SpeechWorker::SpeechWorker(Synthesizer& synthesizer, ProtocolChannel& channel)
    : synthesizer_(synthesizer), channel_(channel), thread_([this] { Run(); }) {}

SpeechWorker::~SpeechWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SpeechWorker::Start(SpeechJob job) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (busy_ || pending_) {
        stop_ = true;
        changed_.wait(lock, [this] { return !busy_ && !pending_; });
    }
    stop_ = false;
    pause_ = false;
    pending_ = std::move(job);
    busy_ = true;
    lock.unlock();
    changed_.notify_all();
}

void SpeechWorker::Stop() {
    stop_ = true;
}

void SpeechWorker::Pause() {
    pause_ = true;
}

void SpeechWorker::WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_ && !pending_; });
}

void SpeechWorker::Run() {
    for (;;) {
        SpeechJob job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return quit_ || pending_.has_value(); });
            if (quit_) return;
            job = std::move(*pending_);
            pending_.reset();
        }
        SpeakJob(job);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
        }
        changed_.notify_all();
    }
}

void SpeechWorker::SpeakJob(SpeechJob& job) {
    channel_.Write("701 BEGIN\n");
    Output output(channel_, stop_, pause_);
    if (!job.icon.empty()) channel_.Write("706-" + job.icon + "\n706 ICON\n");
    if (job.speak && !output.StopRequested()) {
        std::string error;
        if (!synthesizer_.Speak(job.utterance, output, &error))
            std::fprintf(stderr, "sd_voxamen: %s\n", error.c_str());  // the server's log
    }
    if (output.Paused())
        channel_.Write("704 PAUSE\n");
    else if (stop_.load())
        channel_.Write("703 STOP\n");
    else
        channel_.Write("702 END\n");
}

}  // namespace sdvox
