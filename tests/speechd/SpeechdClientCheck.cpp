// A speech-dispatcher client for the end-to-end test, on libspeechd:
//   speechd-client-check SOCKET marks   speaks SSML with three marks through
//                                       the voxamen module; prints the marks
//                                       as they come back, then "end"
//   speechd-client-check SOCKET stop    speaks a long text, stops it 0.5 s
//                                       after it began; prints the time from
//                                       the stop to the server's answer
// Exits 0 when the server answered as expected within 20 s.
#include <libspeechd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::mutex mutex;
std::condition_variable changed;
std::vector<std::string> marks;
bool begun = false, ended = false, cancelled = false;

void OnEvent(size_t, size_t, SPDNotificationType type) {
    std::lock_guard<std::mutex> lock(mutex);
    if (type == SPD_EVENT_BEGIN) begun = true;
    if (type == SPD_EVENT_END) ended = true;
    if (type == SPD_EVENT_CANCEL) cancelled = true;
    changed.notify_all();
}

void OnMark(size_t, size_t, SPDNotificationType, char* name) {
    std::lock_guard<std::mutex> lock(mutex);
    marks.emplace_back(name ? name : "");
    changed.notify_all();
}

template <typename Pred>
bool WaitFor(Pred pred, int seconds = 20) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(seconds), pred);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: speechd-client-check SOCKET marks|stop\n");
        return 2;
    }
    SPDConnectionAddress address{};
    address.method = SPD_METHOD_UNIX_SOCKET;
    address.unix_socket_name = argv[1];
    char* error = nullptr;
    SPDConnection* c =
        spd_open2("voxamen-test", "main", "test", SPD_MODE_THREADED, &address, 0, &error);
    if (!c) {
        std::fprintf(stderr, "cannot connect: %s\n", error ? error : "?");
        return 1;
    }
    c->callback_begin = OnEvent;
    c->callback_end = OnEvent;
    c->callback_cancel = OnEvent;
    c->callback_im = OnMark;
    spd_set_notification_on(c, SPD_BEGIN);
    spd_set_notification_on(c, SPD_END);
    spd_set_notification_on(c, SPD_CANCEL);
    spd_set_notification_on(c, SPD_INDEX_MARKS);
    spd_set_output_module(c, "voxamen");
    spd_set_language(c, "ru");
    int status = 1;
    if (std::strcmp(argv[2], "marks") == 0) {
        spd_set_data_mode(c, SPD_DATA_SSML);
        spd_say(c, SPD_TEXT,
                "<speak>Первое предложение.<mark name=\"one\"/> Второе, короткое."
                "<mark name=\"two\"/> И третье.<mark name=\"three\"/></speak>");
        if (WaitFor([] { return ended || cancelled; })) {
            std::lock_guard<std::mutex> lock(mutex);
            for (const std::string& m : marks) std::printf("mark %s\n", m.c_str());
            std::printf("%s\n", ended ? "end" : "cancel");
            status = ended ? 0 : 1;
        } else {
            std::fprintf(stderr, "no end within 20 s\n");
        }
    } else if (std::strcmp(argv[2], "stop") == 0) {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "Это длинный текст, который читается без конца и без края. ";
        spd_say(c, SPD_TEXT, text.c_str());
        if (WaitFor([] { return begun; })) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            auto asked = std::chrono::steady_clock::now();
            spd_stop(c);
            if (WaitFor([] { return ended || cancelled; }, 5)) {
                auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - asked)
                              .count();
                std::printf("stopped after %lld ms\n", static_cast<long long>(ms));
                status = 0;
            } else {
                std::fprintf(stderr, "speech went on for 5 s after the stop\n");
            }
        } else {
            std::fprintf(stderr, "speech did not begin within 20 s\n");
        }
    }
    spd_close(c);
    return status;
}
