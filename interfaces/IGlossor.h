// The lexical component's interfaces and records: text analysis into
// sentences, syntagmas and words with stressed transcriptions.
// Binary contract: method order, signatures and record layouts are fixed.
// The records keep the members and order of their 32-bit originals with
// natural LP64 alignment; docs/formats/glossor-records.md gives the offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ComTypes.h"

// A named, positioned span of the analysis text ("Pron=…", "Spell",
// "Stress", "Punc", "Context=…", "About"). Name is owned by the caller.
struct GlossorAttribute {
    char* Name;
    uint32_t Reserved0;
    int64_t Position;  // characters from the start of the analysis text
    int32_t Length;    // characters
    uint32_t Reserved1;
};

// One word of a syntagma. Texts are CoTaskMemAlloc'd, 8-bit in the
// component's code page, and freed by the caller.
struct GlossorWord {
    char* Transcription;  // phonemes joined by ",", no "#" or "_" ("M,O0,R',E2")
    char* SecondText;     // the word as read, lower case, "+" after the stressed vowel
    int32_t Value;        // not read by the adapter
    uint32_t Reserved0;
    int64_t SourcePosition;  // position of the text the word came from
    int32_t SourceLength;    // length of that text (all words of "1999" share it)
    uint32_t Reserved1;
};

// One syntagma: its words and its type, a phrase mark and a final pause
// mark joined by "|" ("(.)|(.)"). Words and Type are CoTaskMemAlloc'd.
struct GlossorSyntagma {
    uint32_t Value0;  // not read by the adapter
    uint32_t Value1;  // not read by the adapter
    GlossorWord* Words;
    int32_t WordCount;
    char* Type;
};

static_assert(sizeof(GlossorAttribute) == 32);
static_assert(offsetof(GlossorAttribute, Name) == 0);
static_assert(offsetof(GlossorAttribute, Reserved0) == 8);
static_assert(offsetof(GlossorAttribute, Position) == 16);
static_assert(offsetof(GlossorAttribute, Length) == 24);
static_assert(offsetof(GlossorAttribute, Reserved1) == 28);

static_assert(sizeof(GlossorWord) == 40);
static_assert(offsetof(GlossorWord, Transcription) == 0);
static_assert(offsetof(GlossorWord, SecondText) == 8);
static_assert(offsetof(GlossorWord, Value) == 16);
static_assert(offsetof(GlossorWord, Reserved0) == 20);
static_assert(offsetof(GlossorWord, SourcePosition) == 24);
static_assert(offsetof(GlossorWord, SourceLength) == 32);
static_assert(offsetof(GlossorWord, Reserved1) == 36);

static_assert(sizeof(GlossorSyntagma) == 32);
static_assert(offsetof(GlossorSyntagma, Value0) == 0);
static_assert(offsetof(GlossorSyntagma, Value1) == 4);
static_assert(offsetof(GlossorSyntagma, Words) == 8);
static_assert(offsetof(GlossorSyntagma, WordCount) == 16);
static_assert(offsetof(GlossorSyntagma, Type) == 24);

// {A3275A9E-51A4-4FDB-8B7F-22BF37BF7802}
inline constexpr IID IID_IGlossorText = {
    0xA3275A9E, 0x51A4, 0x4FDB, {0x8B, 0x7F, 0x22, 0xBF, 0x37, 0xBF, 0x78, 0x02}};
// {5B6BFFF2-0DCC-4C34-8527-6E3157A02670}
inline constexpr IID IID_IGlossorTextEx = {
    0x5B6BFFF2, 0x0DCC, 0x4C34, {0x85, 0x27, 0x6E, 0x31, 0x57, 0xA0, 0x26, 0x70}};
// {A9C7A79D-CD6A-42A4-9205-517637A98B8F}
inline constexpr IID IID_IGlossorUserBase = {
    0xA9C7A79D, 0xCD6A, 0x42A4, {0x92, 0x05, 0x51, 0x76, 0x37, 0xA9, 0x8B, 0x8F}};
// {D9581901-0955-44E0-A2C2-806C9D8DD38F}
inline constexpr IID IID_IGlossorSublanguage = {
    0xD9581901, 0x0955, 0x44E0, {0xA2, 0xC2, 0x80, 0x6C, 0x9D, 0x8D, 0xD3, 0x8F}};
// The lexical component of this system, class Glossor.
// {6E0C3B52-8F4D-4A27-9C1E-2B7D5A9E4F13}
inline constexpr CLSID CLSID_Glossor = {
    0x6E0C3B52, 0x8F4D, 0x4A27, {0x9C, 0x1E, 0x2B, 0x7D, 0x5A, 0x9E, 0x4F, 0x13}};

// The text interface. Sentences are counted from 0 in the text given to
// SetText; GetNextSentence walks them from the current one.
struct IGlossorText : IUnknown {
    // 1: the analysis text (8-bit, component code page, zero-terminated)
    // and its attributes; an empty list is null with count 0.
    virtual HRESULT SetText(const char* Text, const GlossorAttribute* Attributes,
                            int32_t Count) = 0;
    // 2: length of the text given to SetText, in characters.
    virtual HRESULT GetTextLength(int32_t* Length) = 0;
    // 3: back to the first sentence.
    virtual HRESULT Reset() = 0;
    // 4: skip Count items of the kind Unit ("Sentence"); Count may be
    // negative; Skipped receives how many were skipped (signed).
    virtual HRESULT Skip(const char* Unit, int32_t Count, int32_t* Skipped) = 0;
    // 5: index of the sentence GetNextSentence returns next.
    virtual HRESULT GetCurrentSentence(int32_t* Index) = 0;
    // 6: make Index the current sentence.
    virtual HRESULT SetCurrentSentence(int32_t Index) = 0;
    // 7: number of sentences; 0 means nothing to speak.
    virtual HRESULT GetSentenceCount(int32_t* Count) = 0;
    // 8: length in characters of sentence Index in the analysis text.
    virtual HRESULT GetSentenceLength(int32_t Index, int32_t* Length) = 0;
    // 9: position of sentence Index in the analysis text.
    virtual HRESULT GetSentenceOffset(int32_t Index, int64_t* Offset) = 0;

  protected:
    ~IGlossorText() = default;
};

struct IGlossorTextEx : IGlossorText {
    // 10: the current sentence as syntagmas, then advance. Syntagmas is a
    // CoTaskMemAlloc'd array of Count records; MoreFollow is 1 while
    // sentences remain after this one. At the end: S_FALSE, null, 0, 0.
    virtual HRESULT GetNextSentence(GlossorSyntagma** Syntagmas, int32_t* Count,
                                    int32_t* MoreFollow) = 0;

  protected:
    ~IGlossorTextEx() = default;
};

struct IGlossorUserBase : IUnknown {
    // 1: code page of every 8-bit text (1251).
    virtual HRESULT GetCodePage(uint32_t* CodePage) = 0;
    // 2: re-read the user stress vocabulary named by "AccentorBase".
    virtual HRESULT ReloadUserVocabulary() = 0;

  protected:
    ~IGlossorUserBase() = default;
};

struct IGlossorSublanguage : IUnknown {
    // 1: the phonetic module variant (419.N) the transcriptions are for.
    virtual HRESULT SetSublanguage(int32_t Sublanguage) = 0;

  protected:
    ~IGlossorSublanguage() = default;
};

// Frees one sentence returned by GetNextSentence (every word's texts, the
// word arrays, the types and the array), as the adapter does.
// CoTaskMemAlloc blocks are C heap blocks, so free() releases them.
inline void FreeGlossorSentence(GlossorSyntagma* Syntagmas, int32_t Count) {
    if (!Syntagmas) return;
    for (int32_t s = 0; s < Count; ++s) {
        GlossorSyntagma& syntagma = Syntagmas[s];
        for (int32_t w = 0; syntagma.Words && w < syntagma.WordCount; ++w) {
            std::free(syntagma.Words[w].Transcription);
            std::free(syntagma.Words[w].SecondText);
        }
        std::free(syntagma.Words);
        std::free(syntagma.Type);
    }
    std::free(Syntagmas);
}
