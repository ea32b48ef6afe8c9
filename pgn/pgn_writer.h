// Game records written as PGN with ICCS moves, which the game-record reader
// reads back.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/position.h"

namespace lanterra {

using PgnTags = std::vector<std::pair<std::string, std::string>>;

// One tag pair as "[Name "value"]", quotes and backslashes in the value
// escaped so that it reads back the same.
std::string FormatTagPair(std::string_view name, std::string_view value);

// The tag pairs in the order given (quotes and backslashes in values
// escaped), a blank line, then the moves from the normal start as "1. H2-E2
// H9-G7 2. ...", the comment in braces unless it is empty (a closing brace
// in it written as \x7D) and the result token, in lines of at most 79
// characters; a blank line ends the game.
std::string FormatIccsPgn(const PgnTags& tags, const std::vector<Move>& moves, std::string_view comment,
                          std::string_view result);

}  // namespace lanterra
