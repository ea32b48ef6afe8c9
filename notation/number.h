// Whole decimal numbers in command lines and protocol commands.
#pragma once

#include <string_view>

namespace lanterra {

// Parses a whole decimal number into value; false if it is not one.
bool ParseNumber(std::string_view text, long long& value);

}  // namespace lanterra
