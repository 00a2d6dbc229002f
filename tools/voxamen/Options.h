// A small option parser for the subcommands: "--name value", "--name=value",
// flags, "--help", and positional arguments.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vox::cli {

class Options {
  public:
    // `valued` options take a value; `flags` take none. "--help"/"-h" is always known.
    Options(std::set<std::string> valued, std::set<std::string> flags = {});

    // False with `error` set for an unknown option or a missing value.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    bool Help() const { return help_; }
    bool Has(const std::string& name) const;
    std::optional<std::string> Get(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

  private:
    std::set<std::string> valued_, flags_;
    std::map<std::string, std::string> values_;
    std::set<std::string> seenFlags_;
    std::vector<std::string> positional_;
    bool help_ = false;
};

}  // namespace vox::cli
