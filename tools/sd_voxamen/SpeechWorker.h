// Speaks messages on a thread of its own, so that the protocol thread can
// answer "STOP" and "PAUSE" at once. Reports 701 BEGIN, the audio (705),
// index marks (700) and sound icons (706), then 702 END, 703 STOP or
// 704 PAUSE.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "tools/sd_voxamen/ProtocolChannel.h"
#include "tools/sd_voxamen/Synthesizer.h"

namespace sdvox {

struct SpeechJob {
    Utterance utterance;
    std::string icon;   // a sound icon to report before the speech ("" for none)
    bool speak = true;  // false for a message that is only an icon
};

class SpeechWorker {
  public:
    SpeechWorker(Synthesizer& synthesizer, ProtocolChannel& channel);
    ~SpeechWorker();  // stops and joins
    SpeechWorker(const SpeechWorker&) = delete;
    SpeechWorker& operator=(const SpeechWorker&) = delete;

    // Starts a message; one still speaking is stopped first (it reports
    // 703 STOP before this one's 701 BEGIN).
    void Start(SpeechJob job);
    // Ends the current message at the next word (703 STOP).
    void Stop();
    // Ends the current message at the next server index mark (704 PAUSE).
    void Pause();
    // Waits until no message is being spoken.
    void WaitIdle();

  private:
    class Output;
    void Run();
    void SpeakJob(SpeechJob& job);

    Synthesizer& synthesizer_;
    ProtocolChannel& channel_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<SpeechJob> pending_;
    bool busy_ = false;
    bool quit_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> pause_{false};
    std::thread thread_;
};

}  // namespace sdvox
