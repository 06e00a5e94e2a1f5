#include "toolkit/data/stream.h"

namespace vesk {

void TStream::SetSize(int32_t /*size*/) {}

int32_t TStream::Size() {
  const int32_t position = Seek(0, soCurrent);
  const int32_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

std::string TStream::ReadRest() {
  std::string bytes;
  char chunk[4096];
  for (;;) {
    const int32_t got = Read(chunk, sizeof chunk);
    if (got <= 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  return bytes;
}

bool TStream::WriteAll(std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int32_t put = Write(bytes.data() + done, static_cast<int32_t>(bytes.size() - done));
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

}  // namespace vesk
