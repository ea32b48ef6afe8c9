// Move ordering: the staged picker of the full-width search and the root,
// the two sort orders, and the rule by which a best move teaches the history
// scores and killer moves.
#pragma once

#include <array>
#include <cstdint>

#include "rules/position.h"

namespace lanterra {

struct SearchContext;

// Ordering weight of a piece kind as a victim or an attacker; not the
// evaluation's piece values.
inline constexpr std::array<int, 7> CAPTURE_VALUE = {5, 1, 1, 3, 4, 3, 2};

// Higher history score first. The order among equal scores is whatever the
// engine's own sort (move_sort.h) leaves, and the engine's choices depend on
// it.
void SortByHistory(const int32_t* historyScores, Move* moves, int count);

// The moves of moves[0..count) that DoMove accepts on pos, whose side to
// move has CheckSources checkSources, in the order SortByHistory gives them,
// written to legal; returns how many. Nothing else of SortByHistory's order
// is kept, which lets a side in check, with a handful of legal replies among
// some thirty generated moves, usually skip the sort of the whole list.
int LegalByHistory(const int32_t* historyScores, Position& pos, int checkSources, Move* moves, int count,
                   Move* legal);

// Most valuable victim first, then least valuable attacker, by
// 8 * value(victim) - value(attacker) on pos's board.
void SortByCaptureValue(const Position& pos, Move* moves, int count);

// The history score grows by depth * depth; the move becomes the first killer
// of pos's distance unless it already is.
void RecordBestMove(SearchContext& ctx, Move mv, int depth);

// Hands out a node's moves: the hash move, the two killers of the node's
// distance when pseudo-legal here, then the remaining generated moves in
// history order. Lives in the node's frame; nothing is allocated.
class MoveSorter {
 public:
  enum Phase : int { PHASE_HASH = 0, PHASE_KILLER_1, PHASE_KILLER_2, PHASE_GENERATE, PHASE_REST };

  MoveSorter(const SearchContext& ctx, Move hashMove);

  // The next move to try, or 0 when there are no more. Moves still have to
  // pass DoMove.
  Move NextMove();
  // The move NextMove will return after the one it returned last, when the
  // generated moves are being handed out; otherwise 0. Nothing changes.
  Move Upcoming() const;

  Move hashMove;
  Move killer1;
  Move killer2;
  int phase = PHASE_HASH;
  int index = 0;
  int count = 0;
  Move moves[MAX_MOVES_PER_POSITION];

 private:
  // The first generated move at or after moves[i] that the earlier phases
  // have not handed out already; count when there is none.
  int SkipTried(int i) const;

  const SearchContext& ctx;
};

}  // namespace lanterra
