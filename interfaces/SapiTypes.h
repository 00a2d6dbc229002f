// The speech platform's records and constants (SAPI 5 names, member order
// and values). Text the platform carries as UTF-16 stays 16-bit (char16_t).
// Binary contract: front ends, the adapter and outside engines rely on it.
#pragma once

#include <cstdint>

#include "ComTypes.h"
#include "WaveFormat.h"

using SPPHONEID = char16_t;

// Fragment actions.
enum SPVACTIONS : int32_t {
    SPVA_Speak = 0,
    SPVA_Silence = 1,
    SPVA_Pronounce = 2,
    SPVA_Bookmark = 3,
    SPVA_SpellOut = 4,
    SPVA_Section = 5,
    SPVA_ParseUnknownTag = 6,
};

// Parts of speech (the values of the platform's lexicon).
enum SPPARTOFSPEECH : int32_t {
    SPPS_NotOverriden = -1,
    SPPS_Unknown = 0,
    SPPS_Noun = 0x1000,
    SPPS_Verb = 0x2000,
    SPPS_Modifier = 0x3000,
    SPPS_Function = 0x4000,
    SPPS_Interjection = 0x5000,
};

struct SPVPITCH {
    int32_t MiddleAdj;  // -10 … 10
    int32_t RangeAdj;
};

struct SPVCONTEXT {
    const char16_t* pCategory;
    const char16_t* pBefore;
    const char16_t* pAfter;
};

// The state a fragment is spoken in.
struct SPVSTATE {
    SPVACTIONS eAction;
    uint16_t LangID;
    uint16_t wReserved;
    int32_t EmphAdj;  // 0, or 1 for emphasis
    int32_t RateAdj;  // -10 … 10, added to the site's rate
    uint32_t Volume;  // 0 … 100, percent of the site's volume
    SPVPITCH PitchAdj;
    uint32_t SilenceMSecs;
    const SPPHONEID* pPhoneIds;  // zero-terminated phone ids of a pronounce fragment
    SPPARTOFSPEECH ePartOfSpeech;
    SPVCONTEXT Context;
};

// One fragment of a Speak call's text: a singly linked list.
struct SPVTEXTFRAG {
    const SPVTEXTFRAG* pNext;
    SPVSTATE State;
    const char16_t* pTextStart;
    uint32_t ulTextLen;        // characters (16-bit units)
    uint32_t ulTextSrcOffset;  // position in the caller's text, in characters
};

// Events.
enum SPEVENTENUM : uint16_t {
    SPEI_UNDEFINED = 0,
    SPEI_START_INPUT_STREAM = 1,
    SPEI_END_INPUT_STREAM = 2,
    SPEI_VOICE_CHANGE = 3,
    SPEI_TTS_BOOKMARK = 4,
    SPEI_WORD_BOUNDARY = 5,
    SPEI_PHONEME = 6,
    SPEI_SENTENCE_BOUNDARY = 7,
    SPEI_VISEME = 8,
    SPEI_TTS_AUDIO_LEVEL = 9,
};

enum SPEVENTLPARAMTYPE : uint16_t {
    SPET_LPARAM_IS_UNDEFINED = 0,
    SPET_LPARAM_IS_TOKEN = 1,
    SPET_LPARAM_IS_OBJECT = 2,
    SPET_LPARAM_IS_POINTER = 3,
    SPET_LPARAM_IS_STRING = 4,
};

struct SPEVENT {
    uint16_t eEventId;              // SPEVENTENUM (a 16-bit field on the platform)
    uint16_t elParamType;           // SPEVENTLPARAMTYPE
    uint32_t ulStreamNum;           // filled by the platform
    uint64_t ullAudioStreamOffset;  // bytes of audio before the event
    uintptr_t wParam;
    intptr_t lParam;  // for SPET_LPARAM_IS_STRING a zero-terminated char16_t text
};

// Actions a site asks of the engine (GetActions).
inline constexpr uint32_t SPVES_CONTINUE = 0;
inline constexpr uint32_t SPVES_ABORT = 1;
inline constexpr uint32_t SPVES_SKIP = 2;
inline constexpr uint32_t SPVES_RATE = 4;
inline constexpr uint32_t SPVES_VOLUME = 8;

enum SPVSKIPTYPE : int32_t { SPVST_SENTENCE = 1 };

// Speak flags.
inline constexpr uint32_t SPF_DEFAULT = 0;
inline constexpr uint32_t SPF_ASYNC = 1;
inline constexpr uint32_t SPF_PURGEBEFORESPEAK = 2;
inline constexpr uint32_t SPF_IS_FILENAME = 4;
inline constexpr uint32_t SPF_IS_XML = 8;
inline constexpr uint32_t SPF_IS_NOT_XML = 0x10;
inline constexpr uint32_t SPF_PERSIST_XML = 0x20;
inline constexpr uint32_t SPF_NLP_SPEAK_PUNC = 0x40;

// Results.
inline constexpr HRESULT SPERR_ALREADY_INITIALIZED = static_cast<HRESULT>(0x80045002u);
inline constexpr HRESULT SPERR_UNINITIALIZED = static_cast<HRESULT>(0x80045001u);
inline constexpr HRESULT SPERR_NOT_FOUND = static_cast<HRESULT>(0x8004503Au);
// A site's Write returns it once the output has been stopped.
inline constexpr HRESULT SP_AUDIO_STOPPED = 0x00045065;

// Output format ids.
// {7CEEF9F9-3D13-11D2-9EE7-00C04F797396}
inline constexpr GUID SPDFID_Text = {
    0x7CEEF9F9, 0x3D13, 0x11D2, {0x9E, 0xE7, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
// {C31ADBAE-527F-4FF5-A230-F62BB61FF70C}
inline constexpr GUID SPDFID_WaveFormatEx = {
    0xC31ADBAE, 0x527F, 0x4FF5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}};

// Token categories, as registry paths.
inline constexpr const char16_t* SPCAT_VOICES =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";
inline constexpr const char16_t* SPCAT_PHONECONVERTERS =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\PhoneConverters";
