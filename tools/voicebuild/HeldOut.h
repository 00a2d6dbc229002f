// The utterances a build left out ("--hold-out N": every N-th prompt of the
// corpus), kept in the voice folder as "held-out.txt" so that
// `voxamen voice report --prosody` can speak them and compare the result
// with their recordings. One syntagma per line, tab-separated:
//   ID  WAV  MARK  PHONEMES  TIMES
// PHONEMES is the engine's phoneme list ("#,M,A1,…,#"); TIMES gives, per
// phoneme, "START:END" in seconds of the recording, "-" where the phoneme
// has no audio of its own ("#", "_", unaligned). Lines starting with "#"
// are comments. See docs/voice-building.md.
#pragma once

#include <string>
#include <vector>

namespace vox::voicebuild {

inline constexpr const char* kHeldOutFile = "held-out.txt";

struct HeldOutSyntagma {
    std::string id, wavPath;
    std::string mark;  // "(.)", "(?)", "(!)" or "(,)"
    std::vector<std::string> phonemes;
    std::vector<double> starts, ends;  // seconds; end <= start where there is no audio

    bool HasAudio(size_t i) const { return ends[i] > starts[i]; }
};

// True when the prompt at `index` (0-based, in the order of the prompt file)
// is held out by "--hold-out every"; 0 holds out nothing.
bool IsHeldOut(size_t index, size_t every);

std::string HeldOutText(const std::vector<HeldOutSyntagma>& syntagmas);

// The syntagmas of a held-out file; bad lines are skipped with
// "path:line: what" in `problems`.
std::vector<HeldOutSyntagma> ParseHeldOut(const std::string& text, const std::string& path,
                                          std::vector<std::string>& problems);

}  // namespace vox::voicebuild
