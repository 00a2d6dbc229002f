// Russian names of single characters (the "CHAR" message) and of keys (the
// "KEY" message: names such as "space", "kp-enter", "shift_a").
#pragma once

#include <string>
#include <string_view>

namespace sdvox {

// The spoken name of one character given as UTF-8 («б» → «бэ», «.» →
// «точка», «A» → «эй»). *capital tells whether it is an upper-case letter.
// A character without a name comes back as it is.
std::string CharacterName(std::string_view utf8_char, bool* capital = nullptr);

// The spoken name of a key, modifiers joined by "_" ("control_alt_delete"
// → «контрол альт удалить»). An unknown key name is read as characters.
std::string KeyName(std::string_view key);

}  // namespace sdvox
