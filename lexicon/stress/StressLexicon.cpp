#include "StressLexicon.h"

#include <cstdlib>

#include "EmbeddedModel.h"
#include "StressDictionary.h"
#include "StressText.h"
#include "UserVocabulary.h"
#include "platform/CodePage.h"
#include "platform/Messages.h"
#include "platform/Registry.h"

namespace lexicon {

struct StressLexicon::Impl {
    StressDictionary dictionary;
    StressDictionary builtIn;  // the model alone, for when the dictionary is missing
    UserVocabulary vocabulary;
    bool reported = false;  // a dictionary failure is told once
};

StressLexicon::StressLexicon() : impl_(std::make_unique<Impl>()) {
    const EmbeddedBytes model = EmbeddedModel();
    if (model.size > 0) impl_->builtIn.AttachView(model.data, model.size, nullptr);
}
StressLexicon::~StressLexicon() = default;

bool StressLexicon::OpenDictionary(const std::string& path, std::string* error) {
    std::string why;
    if (impl_->dictionary.Open(path, &why)) return true;
    if (!impl_->reported) {
        impl_->reported = true;
        vox::MessageBox("Glossor Module",
                        "the stress dictionary cannot be used (" + why +
                            "); stress comes from the built-in model only. "
                            "'voxamen lexicon build' compiles the dictionary.",
                        vox::MessageIcon::Warning);
    }
    if (error) *error = why;
    return false;
}

bool StressLexicon::HasDictionary() const {
    return impl_->dictionary.IsOpen();
}

bool StressLexicon::LoadUserVocabulary(const std::string& path, std::string* error) {
    return impl_->vocabulary.Load(path, error);
}

std::string StressLexicon::Stress(std::string_view word) const {
    return Stress(word, nullptr);
}

std::string StressLexicon::Stress(std::string_view word, Source* source) const {
    auto from = [&](Source s) {
        if (source) *source = s;
    };
    from(Source::None);
    const std::string lower = vox::ToLower1251(word);
    std::string out;
    if (impl_->vocabulary.Match(lower, out)) {
        from(Source::User);
        return out;
    }
    size_t stress = 0;
    if (impl_->dictionary.Find(lower, out, stress)) {
        from(Source::Dictionary);
        return MarkStress(out, stress);
    }
    const StressDictionary& model = impl_->dictionary.IsOpen() ? impl_->dictionary : impl_->builtIn;
    stress = model.Predict(lower);
    if (stress == std::string_view::npos) return lower;
    from(Source::Model);
    return MarkStress(lower, stress);
}

std::string DefaultDictionaryPath() {
    if (const char* env = std::getenv("VOXAMEN_STRESS_DICTIONARY"); env && *env) return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else
        base = ".";
    return base + "/voxamen/lexicon/ru-stress.vxs";
}

std::string UserVocabularyPathFromRegistry() {
    vox::reg::Key key;
    if (vox::reg::Key::Open(vox::reg::Root::LocalMachine,
                            "Software\\Vostrelin\\Glossor Module\\419",
                            key) != vox::reg::Status::Ok)
        return {};
    std::string path;
    if (key.QueryText("AccentorBase", path, 260) != vox::reg::Status::Ok) return {};
    return path;
}

}  // namespace lexicon
