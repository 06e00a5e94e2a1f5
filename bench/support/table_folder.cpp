#include "bench/support/table_folder.h"

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace vesk::bench {

const std::string& TableFolder::Table(const std::string& kind, int64_t records, const Build& build,
                                      const std::string& extension) {
  const auto found = tables_.find({kind, records});
  if (found != tables_.end()) return found->second;
  if (folder_.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("vesk-" + program_ + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error(program_ + ": cannot make a temporary folder");
    folder_ = pattern;
  }
  const std::string path = folder_ + "/" + kind + "-" + std::to_string(records) + extension;
  const auto start = std::chrono::steady_clock::now();
  build(path, records);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "%s: built the %s table of %lld records in %.1f s\n", program_.c_str(), kind.c_str(),
               static_cast<long long>(records), took.count());
  return tables_.emplace(std::pair{kind, records}, path).first->second;
}

void TableFolder::Remove() {
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
  folder_.clear();
  tables_.clear();
}

}  // namespace vesk::bench
