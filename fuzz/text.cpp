// The small readers of untrusted text: the outside engine's move texts,
// whole numbers, UTF-8 decoding and the quoting of input in messages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "match/outside_engine.h"
#include "notation/number.h"
#include "notation/text.h"
#include "rules/board_tables.h"

using namespace lanterra;

namespace {

std::string EncodeUtf8(char32_t cp) {
  if (cp < 0x80) return std::string(1, char(cp));
  if (cp < 0x800) return {char(0xC0 | cp >> 6), char(0x80 | (cp & 0x3F))};
  if (cp < 0x10000) return {char(0xE0 | cp >> 12), char(0x80 | (cp >> 6 & 0x3F)), char(0x80 | (cp & 0x3F))};
  return {char(0xF0 | cp >> 18), char(0x80 | (cp >> 12 & 0x3F)), char(0x80 | (cp >> 6 & 0x3F)),
          char(0x80 | (cp & 0x3F))};
}

bool IsDecimal(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // 1. An engine's move: on the board, and written back as it was read.
  for (int rankBase : {0, 1}) {
    const Move mv = ParseEngineMove(text, rankBase);
    if (mv == 0) continue;
    fuzz::Check(ON_BOARD[MoveFrom(mv)] && ON_BOARD[MoveTo(mv)] && MoveFrom(mv) != MoveTo(mv),
                "an engine's move joins two playing squares");
    fuzz::Check(EngineMoveText(mv, rankBase) == text, "an engine's move is written as it was read");
  }

  // 2. A number: only decimal text reads, and what is read writes back to
  //    the same value; a short decimal always reads.
  long long value = 0;
  const bool number = ParseNumber(text, value);
  fuzz::Check(!number || IsDecimal(text), "only decimal text reads as a number");
  long long again = 0;
  fuzz::Check(!number || (ParseNumber(std::to_string(value), again) && again == value), "a number writes back");
  fuzz::Check(number || !IsDecimal(text) || text.size() > 18, "a short decimal reads");

  // 3. UTF-8: a character decoded is the shortest form of a scalar value,
  //    and every scalar value the bytes spell out in three is decoded.
  for (size_t at = 0; at < text.size(); ++at) {
    char32_t cp = 0;
    const size_t length = DecodeUtf8Char(text, at, cp);
    if (length == 0) continue;
    fuzz::Check(cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF), "a decoded character is a scalar value");
    fuzz::Check(EncodeUtf8(cp) == text.substr(at, length), "a decoded character was in its shortest form");
  }
  if (size >= 3) {
    const char32_t cp = (char32_t(data[0]) << 16 | char32_t(data[1]) << 8 | data[2]) % 0x110000;
    if (cp < 0xD800 || cp > 0xDFFF) {
      const std::string encoded = EncodeUtf8(cp);
      char32_t decoded = 0;
      fuzz::Check(DecodeUtf8Char(encoded, 0, decoded) == encoded.size() && decoded == cp,
                  "every scalar value decodes");
    }
  }

  // 4. Quoting: printable, bounded, and text that needs no escape as it is.
  const size_t limit = size ? data[size - 1] : 60;
  for (Charset charset : {Charset::ASCII, Charset::UTF8}) {
    const std::string quoted = Printable(text, limit, charset);
    fuzz::Check(quoted.size() <= 4 * limit + 3, "a quotation is bounded");
    for (size_t at = 0; at < quoted.size();) {
      char32_t cp = 0;
      const size_t length = DecodeUtf8Char(quoted, at, cp);
      const bool control = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0x200B && cp <= 0x200F) ||
                           (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2060 && cp <= 0x206F) || cp == 0xFEFF;
      fuzz::Check(length != 0 && !control && (charset == Charset::UTF8 || cp < 0x80),
                  "a quotation is printable in its charset");
      at += length;
    }
    bool plain = text.size() <= limit;
    for (char c : text) plain = plain && c >= 0x20 && c < 0x7F;
    fuzz::Check(!plain || quoted == text, "plain text is quoted as it is");
  }
  return 0;
}
