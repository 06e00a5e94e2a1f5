// TStream: the byte stream through which blob fields are read and written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

enum TSeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
 public:
  virtual ~TStream() = default;
  // Bytes moved; fewer than count at the end or when nothing can be moved.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // The new position.
  virtual int32_t Seek(int32_t offset, TSeekOrigin origin) = 0;
  // Streams of fixed size ignore it.
  virtual void SetSize(int32_t size);

  int32_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int32_t position) { Seek(position, soBeginning); }
  // By seeking to the end and back.
  int32_t Size();

  // The bytes from the current position to the end.
  std::string ReadRest();
  // Writes all bytes; false when the stream took fewer.
  bool WriteAll(std::string_view bytes);
};

}  // namespace vesk
