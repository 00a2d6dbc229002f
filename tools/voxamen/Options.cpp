#include "tools/voxamen/Options.h"

namespace vox::cli {

Options::Options(std::set<std::string> valued, std::set<std::string> flags)
    : valued_(std::move(valued)), flags_(std::move(flags)) {}

bool Options::Parse(const std::vector<std::string>& args, std::string& error) {
    bool onlyPositional = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyPositional || a.size() < 2 || a[0] != '-' ||
            (a[1] != '-' && a != "-h" && a != "-o")) {
            positional_.push_back(a);
            continue;
        }
        if (a == "--") {
            onlyPositional = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            help_ = true;
            continue;
        }
        std::string name = a == "-o" ? "o" : a.substr(2);
        std::optional<std::string> inlineValue;
        if (size_t eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (flags_.count(name) != 0 && !inlineValue) {
            seenFlags_.insert(name);
        } else if (valued_.count(name) != 0) {
            if (inlineValue) {
                values_[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                values_[name] = args[++i];
            } else {
                error = "option " + a + " needs a value";
                return false;
            }
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    return true;
}

bool Options::Has(const std::string& name) const {
    return seenFlags_.count(name) != 0 || values_.count(name) != 0;
}

std::optional<std::string> Options::Get(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

}  // namespace vox::cli
