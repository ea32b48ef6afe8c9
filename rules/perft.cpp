#include "rules/perft.h"

namespace lanterra {

uint64_t Perft(Position& pos, int depth) {
  if (depth <= 0) return 1;
  Move moves[MAX_MOVES_PER_POSITION];
  const int count = pos.ListMoves(moves, 0);
  const int checkSources = pos.MoverCheckSources();
  uint64_t nodes = 0;
  for (int i = 0; i < count; ++i) {
    // The last ply only counts the moves DoMove would play.
    if (depth == 1) {
      nodes += pos.IsLegal(moves[i], checkSources);
      continue;
    }
    if (!pos.DoMove(moves[i], checkSources)) continue;
    nodes += Perft(pos, depth - 1);
    pos.UndoMove();
  }
  return nodes;
}

}  // namespace lanterra
