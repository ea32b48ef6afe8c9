// The search's working state, private to the engine object: what the
// full-width search, the quiescence search and the root share during one
// decision. Only the engine and the tests of its parts use it directly.
#pragma once

#include <cstdint>

#include "engine/random.h"
#include "engine/transposition_table.h"
#include "rules/position.h"

namespace lanterra {

// Root scores strictly inside the win band get up to +-7 of random noise.
inline constexpr int ROOT_NOISE_MASK = 7;

struct SearchContext {
  TranspositionTable table;             // 1,048,576 slots, allocated once
  int32_t historyScores[65536] = {};    // indexed by the whole 16-bit move
  Move killerMoves[MAX_PLY][2] = {};    // most recent killer first
  int32_t nodeCount = 0;                // quiescence nodes of this decision
  Move chosenMove = 0;                  // the root's best move so far
  PseudoRandom random;                  // the game's one generator
  Position* pos = nullptr;              // the position being searched
};

}  // namespace lanterra
