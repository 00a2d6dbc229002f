// The registered phonetic modules as the commands use them: created through
// the registry the way the engine creates them, and letters told apart from
// phoneme strings.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "interfaces/IPhonetic.h"
#include "platform/ComKit.h"

namespace vox::cli {

// The module registered under HKLM\SOFTWARE\Vostrelin\Phonetic\KEY: its
// CLSID, CoCreateInstance (IUnknown), OleRun, then a query for IPhonetic.
// Null after a message to `err` naming `command`.
ComPtr<IPhonetic> CreatePhoneticModule(const std::string& key, std::string_view command,
                                       std::ostream& err);

// True for text to read as letters: it has a non-ASCII character (Cyrillic
// in UTF-8) or a stress mark "+" or "-", which no phoneme string has.
bool LooksLikeLetters(std::string_view text);

// Owns a returned CoTaskMem string ("" for null).
std::string TakeString(char* block);

// Why `module` rejects the phrase, in the terms of the phrase rules: the
// unknown phoneme, or which framing rule the phrase breaks and where.
std::string PhraseRejection(IPhonetic& module, const std::string& phrase);

// False, after a message to `err` naming `command` and the byte offset, when
// `text` is not UTF-8 (it would otherwise be read as a word break).
bool CheckUtf8(std::string_view text, std::string_view command, std::ostream& err);

}  // namespace vox::cli
