#include "notation/text.h"

#include <cstdio>

namespace lanterra {

size_t DecodeUtf8Char(std::string_view text, size_t at, char32_t& cp) {
  unsigned char c = static_cast<unsigned char>(text[at]);
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (length == 0 || text.size() - at < length) return 0;
  char32_t value = c & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    unsigned char next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  constexpr char32_t SHORTEST[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < SHORTEST[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  cp = value;
  return length;
}

namespace {

// C1 controls, and the marks that reorder or hide the text around them.
bool IsControlCharacter(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0x200B && cp <= 0x200F) ||
         (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2060 && cp <= 0x206F) || cp == 0xFEFF;
}

}  // namespace

std::string Printable(std::string_view text, size_t limit, Charset charset) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    size_t length = DecodeUtf8Char(text, i, cp);
    bool shown = length != 0 && !IsControlCharacter(cp) && (length == 1 || charset == Charset::UTF8);
    if (!shown) length = 1;
    if (i + length > limit) break;
    if (shown) {
      out.append(text.substr(i, length));
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i]));
      out += escape;
    }
    i += length;
  }
  if (i < text.size()) out += "...";
  return out;
}

}  // namespace lanterra
