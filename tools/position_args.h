// Shared by the commands that take an optional FEN and a move list.
#pragma once

#include <string>

#include "notation/number.h"
#include "rules/position.h"
#include "tools/command.h"

namespace lanterra::tool {

// Reads "[FEN] [moves m1 m2 ...]" starting at args[first]. The FEN may be
// given as one argument or as its space-separated fields. Prints the error
// and returns false on bad input.
bool ReadPositionArgs(const Args& args, size_t first, Position& pos);

}  // namespace lanterra::tool
