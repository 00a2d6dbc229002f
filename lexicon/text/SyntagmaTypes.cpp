#include "text/SyntagmaTypes.h"

#include <string>
#include <unordered_set>

#include "text/Charset.h"

namespace lexicon {

const char* SyntagmaType(Boundary b) {
    switch (b) {
        case Boundary::Period:
            return "(.)|(.)";
        case Boundary::Ellipsis:
            return "(..)|(..)";
        case Boundary::Exclamation:
            return "(!)|(!.)";
        case Boundary::GeneralQuestion:
            return "(?)|(?.)";
        case Boundary::SpecialQuestion:
            return "(?.)|(?.)";
        case Boundary::Comma:
            return "(,)|(,)";
        case Boundary::Semicolon:
            return "(;)|(;)";
        case Boundary::Colon:
            return "(:)|(:)";
        case Boundary::Dash:
            return "(-)|(-)";
        case Boundary::Parenthesis:
            return "(())|(())";
        case Boundary::Split:
            return "(,,)|(,,)";
    }
    return "(.)|(.)";
}

bool IsQuestionWord(std::string_view word) {
    static const std::unordered_set<std::string> words = [] {
        std::unordered_set<std::string> s;
        for (const char* w :
             {"кто",     "что",     "где",    "куда",   "откуда", "когда", "почему",  "зачем",
              "как",     "какой",   "какая",  "какое",  "какие",  "каких", "какого",  "каком",
              "какую",   "сколько", "чей",    "чья",    "чьё",    "чьи",   "который", "которая",
              "которое", "которые", "отчего", "докуда", "кого",   "кому",  "чего",    "чему",
              "чем",     "ком",     "каков",  "какова"})
            s.insert(W(w));
        return s;
    }();
    return words.count(std::string(word)) != 0;
}

}  // namespace lexicon
