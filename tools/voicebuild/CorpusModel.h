// What the builder knows about the corpus between its passes: the prepared
// utterances (transcribed, aligned, named) and every phoneme with audio as a
// candidate instance of its unit name, with the facts instance selection
// weighs.
#pragma once

#include <string>
#include <vector>

#include "tools/voicebuild/LabelReader.h"
#include "tools/voicebuild/SoundClass.h"

namespace vox::voicebuild {

// Which pitch pulse a voiced edge is cut before: the nearest to the label
// boundary (either side), or only one inside the sound (a start at or after
// the boundary, an end at or before it), which leaves out the neighbour's
// last or first period of the recording.
enum class CutSide { Nearest, Inside };

struct Instance {
    std::string name;  // allophone name given by the module
    std::string phoneme;
    SoundClass cls = SoundClass::Pause;
    bool intonable = false;
    int utterance = 0;   // index into the prepared utterances
    int position = 0;    // phoneme index in the utterance
    double start = 0.0;  // seconds, refined
    double end = 0.0;

    // Label facts.
    bool labelAgrees = true;        // the label phone is this phoneme (vowels: this letter)
    bool atAlignerMinimum = false;  // label segment of the aligner's minimum length
    bool nextToPause = false;       // a pause segment touches it
    bool beforePause = false;       // … the one after it
    bool afterPause = false;        // … the one before it
    bool contextIsPause = false;    // its name's context is "#"
    bool inFinalWord = false;       // in the last word before a pause
    float alignCost = 0.0f;         // cost of its own alignment step

    // Acoustic facts, filled by the analysis pass.
    float f0 = 0.0f;       // median over its voiced frames, Hz (0: none)
    float levelDb = 0.0f;  // mean level of its middle half above the floor
    float voicedShare = 0.0f;
    float markRegularity = 1.0f;              // share of mark intervals within ±20 % of the period
    float leadingQuiet = 0.0f;                // seconds from its start until its level comes within
    float trailingQuiet = 0.0f;               // 20 dB of its middle, and back from its end
    std::vector<float> startBands, endBands;  // band levels of its first and last frame
    // The same where an edge cut inside the sound lies elsewhere (empty: the
    // same place, or no pulse inside within a period).
    std::vector<float> insideStartBands, insideEndBands;
    // A cut variant of instance `primary` (-1: the instance itself), cut
    // with these sides; selection weighs variants like instances.
    int primary = -1;
    CutSide startSide = CutSide::Nearest, endSide = CutSide::Nearest;
    std::string nextPhoneme;       // the sound that follows with no pause between ("": none)
    float distanceToNext = -1.0f;  // spectral distance across its end to that sound

    double Duration() const { return end - start; }
};

struct PreparedUtterance {
    std::string id;
    std::string wavPath;
    std::string labPath;
    std::vector<LabelSegment> labels;
    std::vector<std::string> phonemes;  // phrase, with "#" where the speaker paused
    std::vector<std::string> names;     // one allophone per phoneme
    std::vector<int> segmentOf;         // per phoneme: label segment or -1
    std::vector<int> instanceOf;        // per phoneme: instance index or -1
    double alignCostPerPhone = 0.0;
};

// Analysis results of one utterance kept for the cutting pass.
struct UtteranceMarks {
    int rate = 0;             // analysis rate
    std::vector<long> marks;  // pitch marks, samples at that rate
    size_t intervals = 0;     // pitch-mark agreement with the f0 track
    size_t intervalsWithin = 0;
};

}  // namespace vox::voicebuild
