// Locales compiled with localedef into a temporary folder of their own, with
// LOCPATH naming that folder while the object lives, so that tests under a
// regional format do not depend on the locales the machine has installed.
// The sources come with the Debian package locales (scripts/install-deps).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {

class GeneratedLocales {
 public:
  // names: "de_DE", "en_US" ...; each becomes name + ".UTF-8".
  explicit GeneratedLocales(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      const std::string target = folder_.File(name + ".UTF-8");
      const std::string command = "localedef -i " + name + " -f UTF-8 '" + target + "' >/dev/null 2>&1";
      // localedef warns (exit status 1) about some sources and still writes the locale.
      std::system(command.c_str());
      if (!std::filesystem::exists(target + "/LC_TIME")) missing_ += (missing_.empty() ? "" : ", ") + name;
    }
    locpath_ = std::make_unique<ScopedEnv>("LOCPATH", folder_.Path());
  }

  // The names that could not be compiled, or empty.
  const std::string& Missing() const { return missing_; }
  const std::string& Path() const { return folder_.Path(); }

 private:
  TempFolder folder_;
  std::string missing_;
  std::unique_ptr<ScopedEnv> locpath_;
};

}  // namespace vesk
