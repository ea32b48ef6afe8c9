// The engine protocols other xiangqi programs speak to us in: UCCI, the
// protocol of Chinese xiangqi programs, and UCI as Pikafish and most xiangqi
// GUIs use it. Both run through one loop; a dialect only renames commands and
// options and formats scores its own way.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string_view>

#include "engine/search_context.h"

namespace lanterra::tool {

enum class Dialect { UCCI, UCI };

// Limits of one `go`. A zero field is not set: with neither set, the level's
// node budget decides, exactly as in the game.
struct SearchLimits {
  int depth = 0;       // stop after this iteration
  int32_t nodes = 0;   // stop once more than this many nodes are spent
};

// The most nodes a limited search may be given: eight times the top level's
// budget. A bigger figure would let the node counter overflow in the
// iteration that crosses it.
inline constexpr int32_t MAX_SEARCH_NODES = 8 * NodeBudget(MAX_LEVEL);
static_assert(MAX_SEARCH_NODES == 134217728);

// Called after every completed iteration with ctx.completedDepth,
// ctx.rootScore, ctx.nodeCount and ctx.chosenMove filled in.
using IterationReport = std::function<void(const SearchContext&)>;

// The game's move decision with optional extra limits. Without limits it
// makes the same choice as ThinkMove, draws the same random values and
// counts the same nodes; the tests hold it to that. pos is left as it was,
// except distance, which becomes 0, and the unused records past its history,
// which the search overwrites (ThinkMove puts those back; callers here search
// a copy).
void ThinkWithLimits(SearchContext& ctx, Position& pos, const SearchLimits& limits,
                     const IterationReport& report);

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
