#include "tools/book_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace lanterra::tool {

namespace {

// Reads at most limit bytes of a regular file and gives its whole size.
// Anything else is refused: a directory fails the read part way, and a
// device such as /dev/zero never ends.
bool ReadBinaryFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes, uintmax_t& size,
                    std::string& error) {
  std::error_code code;
  std::filesystem::file_status status = std::filesystem::status(path, code);
  if (code) return error = code.message(), false;
  if (!std::filesystem::is_regular_file(status)) return error = "not a regular file", false;
  size = std::filesystem::file_size(path, code);
  if (code) return error = code.message(), false;
  std::ifstream in(path, std::ios::binary);
  bytes.resize(size_t(std::min<uintmax_t>(size, limit)));
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
    return error = "cannot read", false;
  return true;
}

}  // namespace

bool LoadBookFile(const std::string& path, Book& book, BookFileLoss& loss) {
  std::vector<uint8_t> bytes;
  uintmax_t size = 0;
  std::string error;
  if (!ReadBinaryFile(path, size_t(BOOK_CAPACITY) * 8, bytes, size, error)) {
    std::fprintf(stderr, "lanterra book: %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  loss.trailingBytes = size_t(size % 8);
  loss.cutEntries = size_t(std::max<uintmax_t>(size / 8, BOOK_CAPACITY) - BOOK_CAPACITY);
  if (loss.trailingBytes)
    std::fprintf(stderr, "lanterra book: %s: %zu trailing bytes ignored\n", path.c_str(), loss.trailingBytes);
  if (loss.cutEntries)
    std::fprintf(stderr, "lanterra book: %s: %ju entries, only the first %d are used\n", path.c_str(), size / 8,
                 BOOK_CAPACITY);
  ReadBook(book, bytes);
  return true;
}

bool WriteBookFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

}  // namespace lanterra::tool
