#include "notation/number.h"

#include <charconv>

namespace lanterra {

bool ParseNumber(std::string_view text, long long& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace lanterra
