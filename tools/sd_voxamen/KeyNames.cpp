#include "tools/sd_voxamen/KeyNames.h"

#include <string_view>
#include <utility>

namespace sdvox {

namespace {

struct Name {
    std::string_view text;
    std::string_view spoken;
};

// Russian letters are named as Russian readers spell them; Latin letters by
// their English names in Russian letters, as Russian speakers say them.
constexpr Name kCharacters[] = {
    {"а", "а"},
    {"б", "бэ"},
    {"в", "вэ"},
    {"г", "гэ"},
    {"д", "дэ"},
    {"е", "е"},
    {"ё", "ё"},
    {"ж", "жэ"},
    {"з", "зэ"},
    {"и", "и"},
    {"й", "и краткое"},
    {"к", "ка"},
    {"л", "эль"},
    {"м", "эм"},
    {"н", "эн"},
    {"о", "о"},
    {"п", "пэ"},
    {"р", "эр"},
    {"с", "эс"},
    {"т", "тэ"},
    {"у", "у"},
    {"ф", "эф"},
    {"х", "ха"},
    {"ц", "цэ"},
    {"ч", "чэ"},
    {"ш", "ша"},
    {"щ", "ща"},
    {"ъ", "твёрдый знак"},
    {"ы", "ы"},
    {"ь", "мягкий знак"},
    {"э", "э"},
    {"ю", "ю"},
    {"я", "я"},
    {"a", "эй"},
    {"b", "би"},
    {"c", "си"},
    {"d", "ди"},
    {"e", "и"},
    {"f", "эф"},
    {"g", "джи"},
    {"h", "эйч"},
    {"i", "ай"},
    {"j", "джей"},
    {"k", "кей"},
    {"l", "эл"},
    {"m", "эм"},
    {"n", "эн"},
    {"o", "оу"},
    {"p", "пи"},
    {"q", "кью"},
    {"r", "ар"},
    {"s", "эс"},
    {"t", "ти"},
    {"u", "ю"},
    {"v", "ви"},
    {"w", "дабл ю"},
    {"x", "экс"},
    {"y", "уай"},
    {"z", "зед"},
    {"0", "ноль"},
    {"1", "один"},
    {"2", "два"},
    {"3", "три"},
    {"4", "четыре"},
    {"5", "пять"},
    {"6", "шесть"},
    {"7", "семь"},
    {"8", "восемь"},
    {"9", "девять"},
    {" ", "пробел"},
    {"\t", "табуляция"},
    {"\n", "новая строка"},
    {".", "точка"},
    {",", "запятая"},
    {"!", "восклицательный знак"},
    {"?", "вопросительный знак"},
    {":", "двоеточие"},
    {";", "точка с запятой"},
    {"-", "дефис"},
    {"—", "тире"},
    {"–", "тире"},
    {"(", "открывающая скобка"},
    {")", "закрывающая скобка"},
    {"[", "открывающая квадратная скобка"},
    {"]", "закрывающая квадратная скобка"},
    {"{", "открывающая фигурная скобка"},
    {"}", "закрывающая фигурная скобка"},
    {"\"", "кавычка"},
    {"'", "апостроф"},
    {"«", "открывающая кавычка"},
    {"»", "закрывающая кавычка"},
    {"/", "косая черта"},
    {"\\", "обратная косая черта"},
    {"|", "вертикальная черта"},
    {"@", "собака"},
    {"#", "решётка"},
    {"$", "доллар"},
    {"%", "процент"},
    {"^", "крышка"},
    {"&", "амперсанд"},
    {"*", "звёздочка"},
    {"+", "плюс"},
    {"=", "равно"},
    {"<", "меньше"},
    {">", "больше"},
    {"_", "подчёркивание"},
    {"`", "обратный апостроф"},
    {"~", "тильда"},
    {"№", "номер"},
    {"…", "многоточие"},
    {"€", "евро"},
    {"₽", "рубль"},
    {"°", "градус"},
    {"§", "параграф"},
    {"©", "копирайт"},
};

// Key names as speech-dispatcher sends them.
constexpr Name kKeys[] = {
    {"space", "пробел"},
    {"underscore", "подчёркивание"},
    {"double-quote", "кавычка"},
    {"alt", "альт"},
    {"control", "контрол"},
    {"hyper", "хайпер"},
    {"meta", "мета"},
    {"shift", "шифт"},
    {"super", "супер"},
    {"backspace", "забой"},
    {"break", "брейк"},
    {"delete", "удалить"},
    {"down", "вниз"},
    {"end", "конец"},
    {"enter", "ввод"},
    {"escape", "эскейп"},
    {"home", "начало"},
    {"insert", "вставка"},
    {"left", "влево"},
    {"menu", "меню"},
    {"next", "страница вниз"},
    {"num-lock", "нам лок"},
    {"pause", "пауза"},
    {"print", "принт скрин"},
    {"prior", "страница вверх"},
    {"return", "ввод"},
    {"right", "вправо"},
    {"scroll-lock", "скролл лок"},
    {"tab", "табуляция"},
    {"up", "вверх"},
    {"window", "виндоус"},
    {"caps-lock", "капс лок"},
    {"kp-enter", "ввод на цифровой клавиатуре"},
    {"kp-*", "звёздочка на цифровой клавиатуре"},
    {"kp-+", "плюс на цифровой клавиатуре"},
    {"kp--", "минус на цифровой клавиатуре"},
    {"kp-.", "точка на цифровой клавиатуре"},
    {"kp-/", "косая черта на цифровой клавиатуре"},
};

constexpr std::string_view kNumbers[] = {
    "ноль",         "один",         "два",          "три",        "четыре",      "пять",
    "шесть",        "семь",         "восемь",       "девять",     "десять",      "одиннадцать",
    "двенадцать",   "тринадцать",   "четырнадцать", "пятнадцать", "шестнадцать", "семнадцать",
    "восемнадцать", "девятнадцать", "двадцать"};

// Lower case of the upper-case letters that have a name here.
std::string_view LowerCase(std::string_view c, bool* capital) {
    static constexpr std::pair<std::string_view, std::string_view> kUpper[] = {
        {"А", "а"}, {"Б", "б"}, {"В", "в"}, {"Г", "г"}, {"Д", "д"}, {"Е", "е"}, {"Ё", "ё"},
        {"Ж", "ж"}, {"З", "з"}, {"И", "и"}, {"Й", "й"}, {"К", "к"}, {"Л", "л"}, {"М", "м"},
        {"Н", "н"}, {"О", "о"}, {"П", "п"}, {"Р", "р"}, {"С", "с"}, {"Т", "т"}, {"У", "у"},
        {"Ф", "ф"}, {"Х", "х"}, {"Ц", "ц"}, {"Ч", "ч"}, {"Ш", "ш"}, {"Щ", "щ"}, {"Ъ", "ъ"},
        {"Ы", "ы"}, {"Ь", "ь"}, {"Э", "э"}, {"Ю", "ю"}, {"Я", "я"}};
    *capital = false;
    if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') {
        static const std::string kLatin = "abcdefghijklmnopqrstuvwxyz";
        *capital = true;
        return std::string_view(kLatin).substr(static_cast<size_t>(c[0] - 'A'), 1);
    }
    for (const auto& [upper, lower] : kUpper)
        if (c == upper) {
            *capital = true;
            return lower;
        }
    return c;
}

// Splits UTF-8 text into characters (invalid bytes stand alone).
template <typename Fn>
void ForEachCharacter(std::string_view text, Fn fn) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t len = lead < 0x80         ? 1
                     : (lead >> 5) == 6  ? 2
                     : (lead >> 4) == 14 ? 3
                     : (lead >> 3) == 30 ? 4
                                         : 1;
        if (i + len > text.size()) len = 1;
        fn(text.substr(i, len));
        i += len;
    }
}

}  // namespace

std::string CharacterName(std::string_view c, bool* capital) {
    bool upper = false;
    std::string_view lower = LowerCase(c, &upper);
    if (capital) *capital = upper;
    for (const Name& n : kCharacters)
        if (n.text == lower) return std::string(n.spoken);
    return std::string(c);
}

std::string KeyName(std::string_view key) {
    for (const Name& n : kKeys)
        if (n.text == key) return std::string(n.spoken);
    // Modifier combinations: "shift_a", "control_alt_delete".
    size_t sep = key.find('_');
    if (sep != std::string_view::npos && sep > 0 && sep + 1 < key.size()) {
        std::string_view first = key.substr(0, sep);
        for (const Name& n : kKeys)
            if (n.text == first) return std::string(n.spoken) + " " + KeyName(key.substr(sep + 1));
    }
    // Function keys "f1" … "f24" and numeric pad digits "kp-0" … "kp-9".
    if (key.size() >= 2 && key.size() <= 3 && key[0] == 'f' &&
        key.find_first_not_of("0123456789", 1) == std::string_view::npos) {
        int number = key[1] - '0';
        if (key.size() == 3) number = number * 10 + (key[2] - '0');
        if (number >= 1 && number <= 20) return "эф " + std::string(kNumbers[number]);
        if (number > 20 && number <= 24) return "эф двадцать " + std::string(kNumbers[number - 20]);
    }
    if (key.size() == 4 && key.substr(0, 3) == "kp-" && key[3] >= '0' && key[3] <= '9')
        return std::string(kNumbers[key[3] - '0']) + " на цифровой клавиатуре";
    // A single character, or an unknown name read character by character.
    std::string out;
    size_t count = 0;
    ForEachCharacter(key, [&](std::string_view) { ++count; });
    if (count == 1) return CharacterName(key);
    ForEachCharacter(key, [&](std::string_view c) {
        if (!out.empty()) out += ' ';
        out += CharacterName(c);
    });
    return out;
}

}  // namespace sdvox
