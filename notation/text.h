// Text helpers shared by the readers and the protocols: reading UTF-8 one character at a time,
// and quoting untrusted input in messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lanterra {

// Decodes the UTF-8 character that starts at text[at]. Returns its length in
// bytes (1 to 4) with the code point in cp, or 0 when the bytes there are not
// a well-formed character: a stray or missing continuation byte, an overlong
// form, a surrogate, a code point past U+10FFFF, or a sequence cut off by the
// end of text.
size_t DecodeUtf8Char(std::string_view text, size_t at, char32_t& cp);

enum class Charset {
  ASCII,  // only printable ASCII passes; for answers that must stay ASCII
  UTF8,   // printable UTF-8 characters pass as well
};

// Input quoted in a message could garble the terminal or the log it lands
// in, so every byte outside the charset, and every control or
// direction-changing character, is written as a \xNN escape. At most limit
// bytes of text are shown, never half a character, and "..." marks the cut.
std::string Printable(std::string_view text, size_t limit = 60, Charset charset = Charset::ASCII);

}  // namespace lanterra
