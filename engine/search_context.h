// The engine's process-wide state and the move decision.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/book.h"
#include "engine/random.h"
#include "engine/transposition_table.h"
#include "rules/position.h"

namespace lanterra {

inline constexpr int MAX_LEVEL = 6;
// Root scores strictly inside the win band get up to +-7 of random noise.
inline constexpr int ROOT_NOISE_MASK = 7;

struct SearchContext {
  TranspositionTable table;             // 1,048,576 slots, allocated once
  int32_t historyScores[65536] = {};    // indexed by the whole 16-bit move
  Move killerMoves[MAX_PLY][2] = {};    // most recent killer first
  int32_t nodeCount = 0;                // quiescence nodes of this decision
  Book book;
  Move chosenMove = 0;
  int32_t completedDepth = 0;           // last finished iteration; 0: book, forced or no move
  int32_t rootScore = 0;                // that iteration's root score, noise included
  int level = 3;                        // 0..6: a budget of 64 << (3 * level) nodes
  PseudoRandom random;                  // the game's one generator
  Position* pos = nullptr;              // the position being searched
};

// Quiescence nodes a decision at level may spend before it stops deepening;
// levels outside 0..6 are taken as the nearest one.
constexpr int32_t NodeBudget(int level) {
  level = level < 0 ? 0 : level > MAX_LEVEL ? MAX_LEVEL : level;
  return int32_t(64) << (3 * level);
}
static_assert(NodeBudget(0) == 64 && NodeBudget(6) == 16777216);

// The context is large; make it on the heap once. The book starts empty and
// the generator unseeded: the program loads one and seeds the other.
std::unique_ptr<SearchContext> MakeSearchContext();

// Chooses a move for pos at ctx.level into ctx.chosenMove, or 0 when pos has
// no legal move. pos is left as it was, except distance, which becomes 0.
// pos must have room in its history for a search line: historyCount at most
// MOVE_HISTORY_CAPACITY - MAX_PLY - 2.
void ThinkMove(SearchContext& ctx, Position& pos);

// Limits the engine protocols put on a decision in place of the level's
// budget. A zero field is not set; with neither set, the decision is the
// game's own.
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

// ThinkMove with limits and a report after each iteration. Without limits it
// makes the same choice, draws the same random values and counts the same
// nodes as ThinkMove.
void ThinkMove(SearchContext& ctx, Position& pos, const SearchLimits& limits, const IterationReport& report);

// One iteration of deepening at the root of ctx.pos: searches every root
// move to depth, leaves the best in ctx.chosenMove and returns its score
// with the root noise added.
int RootSearch(SearchContext& ctx, int depth);

}  // namespace lanterra
