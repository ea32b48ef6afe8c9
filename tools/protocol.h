// The engine protocols other xiangqi programs speak to us in: UCCI, the
// protocol of Chinese xiangqi programs, and UCI as Pikafish and most xiangqi
// GUIs use it. Both run through one loop; a dialect only renames commands and
// options and formats scores its own way.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "engine/engine.h"

namespace lanterra::tool {

enum class Dialect { UCCI, UCI };

// Bounds a caller can put on every search of a session. The fuzzer uses them
// so that a million random inputs finish in minutes; the protocol commands
// run without them.
struct ProtocolCaps {
  int maxDepth = MAX_PLY;
};

// Reads commands from in until `quit` or the end of input, answering on out.
// A session starts at the normal start position, level 3, book on and the
// generator seeded from the clock. Returns the process exit code.
int RunProtocol(std::istream& in, std::ostream& out, Dialect dialect, const ProtocolCaps& caps = {});

// Longest command line the loop reads; the rest of a longer line is dropped
// and the line is refused.
inline constexpr size_t MAX_COMMAND_LINE = 64 * 1024;

}  // namespace lanterra::tool
