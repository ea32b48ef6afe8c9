// Opening book files on disk, for the book command: read as the game loads
// its resource, and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/book.h"

namespace lanterra::tool {

// What loading a book file drops: a remainder that is not a whole entry,
// and the entries beyond the book's capacity.
struct BookFileLoss {
  size_t trailingBytes = 0;
  size_t cutEntries = 0;
};

// Loads a book file the way the game loads its resource, and says on stderr
// and in loss what the loading drops. False, with the reason on stderr, for
// a file that cannot be read.
bool LoadBookFile(const std::string& path, Book& book, BookFileLoss& loss);

bool WriteBookFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace lanterra::tool
