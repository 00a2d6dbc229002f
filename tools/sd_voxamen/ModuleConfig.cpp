#include "tools/sd_voxamen/ModuleConfig.h"

#include <charconv>
#include <fstream>

namespace sdvox {

namespace {
std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last + 1 - first);
}
}  // namespace

ModuleConfig ReadModuleConfig(const std::string& path, std::vector<std::string>* warnings) {
    ModuleConfig config;
    std::ifstream in(path);
    if (!in) return config;
    std::string line;
    int number = 0;
    auto warn = [&](const std::string& what) {
        if (warnings) warnings->push_back(path + ":" + std::to_string(number) + ": " + what);
    };
    while (std::getline(in, line) && number < 10000) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        size_t space = line.find_first_of(" \t");
        if (space == std::string::npos) {
            warn("a setting needs a value");
            continue;
        }
        std::string name = line.substr(0, space);
        std::string value = Trim(line.substr(space));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (name == "VoxamenDefaultVoice") {
            config.default_voice = value;
        } else if (name == "VoxamenRegistryDir") {
            config.registry_dir = value;
        } else if (name == "VoxamenRateOffset") {
            int rate = 0;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), rate);
            if (ec != std::errc() || end != value.data() + value.size() || rate < -100 ||
                rate > 100)
                warn("VoxamenRateOffset takes a whole number from -100 to 100");
            else
                config.rate_offset = rate;
        } else {
            warn("unknown setting \"" + name + "\"");
        }
    }
    return config;
}

}  // namespace sdvox
