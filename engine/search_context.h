// The engine's process-wide state and the move decision.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/book.h"
#include "engine/random.h"
#include "engine/transposition_table.h"
#include "rules/position.h"

namespace lanterra {

struct SearchContext {
  TranspositionTable table;             // 1,048,576 slots, allocated once
  int32_t historyScores[65536] = {};    // indexed by the whole 16-bit move
  Move killerMoves[MAX_PLY][2] = {};    // most recent killer first
  int32_t nodeCount = 0;                // quiescence nodes of this decision
  Book book;
  Move chosenMove = 0;
  int level = 3;                        // 0..6: a budget of 64 << (3 * level) nodes
  PseudoRandom random;                  // the game's one generator
  Position* pos = nullptr;              // the position being searched
};

// The context is large; make it on the heap once.
std::unique_ptr<SearchContext> MakeSearchContext();

// Chooses a move for pos at ctx.level into ctx.chosenMove. pos is left as it
// was, except distance, which becomes 0.
void ThinkMove(SearchContext& ctx, Position& pos);

}  // namespace lanterra
