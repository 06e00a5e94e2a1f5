// The tables a benchmark program measures on: one per kind and size, built
// on first use in a temporary folder of the program's own, which Remove
// deletes with everything in it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace vesk::bench {

class TableFolder {
 public:
  // Builds the table of records records at path; throws when it cannot.
  using Build = std::function<void(const std::string& path, int64_t records)>;

  // program names the folder ("vesk-<program>-XXXXXX").
  explicit TableFolder(std::string program) : program_(std::move(program)) {}

  // The path of the table of this kind ("engine", "sqlite") and size,
  // built now unless it is already there; the build time goes to stderr.
  // The file name ends in extension.
  const std::string& Table(const std::string& kind, int64_t records, const Build& build,
                           const std::string& extension = "");
  void Remove();

 private:
  std::string program_;
  std::string folder_;  // empty until the first table
  std::map<std::pair<std::string, int64_t>, std::string> tables_;
};

}  // namespace vesk::bench
