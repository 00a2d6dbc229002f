// Plain-text tables with aligned columns for the command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vox::cli {

class Table {
  public:
    explicit Table(std::vector<std::string> header) : rows_{std::move(header)} {}
    void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    void Print(std::ostream& out) const;

  private:
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace vox::cli
