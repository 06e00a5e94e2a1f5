// INI profile services: sections "[name]" holding "key=value" lines. Section
// and key names compare without regard to case; values are trimmed of blanks
// around them and one pair of double quotes around a value is taken off, as
// the Windows profile services do; bytes are kept as they are. Every write
// replaces the file atomically.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vesk {

// The value, or fallback when the file, section or key is missing.
std::string ProfileReadString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback);
// Creates file and section as needed; replaces the key's value in place or
// appends the key at the end of its section. False when the file cannot be written.
bool ProfileWriteString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
// As ProfileWriteString; raises vesk::Exception "nach <file> kann nicht
// geschrieben werden" when the file cannot be written.
void ProfileWriteStringOrRaise(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value);
// Removes the key from its section; true also when file, section or key is
// missing. False when the file cannot be read or written.
bool ProfileDeleteKey(const std::string& file, const std::string& section, const std::string& key);
// Gives the file mode 0600, creating it empty when it is missing; later
// writes keep the mode. False when that fails.
bool ProfileMakePrivate(const std::string& file);
// All keys of the section with their values, in file order (a key that
// occurs twice: its first occurrence). Missing file or section: empty.
std::vector<std::pair<std::string, std::string>> ProfileReadSection(const std::string& file,
                                                                    const std::string& section);

}  // namespace vesk
