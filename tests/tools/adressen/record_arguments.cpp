// A stand-in browser: writes its arguments, each ended by a NUL byte, to the
// file named by $VESK_RECORD (first to a side file, then renamed, so that a
// reader never sees half of them).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* target = std::getenv("VESK_RECORD");
  if (target == nullptr) return 2;
  std::string bytes;
  for (int i = 1; i < argc; ++i) bytes.append(argv[i]).push_back('\0');
  const std::string side = std::string(target) + ".part";
  FILE* file = std::fopen(side.c_str(), "wb");
  if (file == nullptr) return 1;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) return 1;
  return std::rename(side.c_str(), target) == 0 ? 0 : 1;
}
