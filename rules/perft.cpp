#include "rules/perft.h"

namespace lanterra {

uint64_t Perft(Position& pos, int depth) {
  if (depth <= 0) return 1;
  Move moves[MAX_MOVES_PER_POSITION];
  const int count = pos.ListMoves(moves, 0);
  uint64_t nodes = 0;
  for (int i = 0; i < count; ++i) {
    if (!pos.DoMove(moves[i])) continue;
    nodes += depth == 1 ? 1 : Perft(pos, depth - 1);
    pos.UndoMove();
  }
  return nodes;
}

}  // namespace lanterra
