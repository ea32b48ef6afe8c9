#include "rules/perft.h"

#include "rules/search_moves.h"

namespace lanterra {

uint64_t Perft(Position& pos, int depth) {
  if (depth <= 0) return 1;
  Move moves[MAX_MOVES_PER_POSITION];
  const int count = pos.ListMoves(moves, false);
  const int checkSources = SearchMoves::MoverCheckSources(pos);
  uint64_t nodes = 0;
  for (int i = 0; i < count; ++i) {
    // The last ply only counts the moves DoMove would play.
    if (depth == 1) {
      nodes += SearchMoves::IsLegal(pos, moves[i], checkSources);
      continue;
    }
    if (!SearchMoves::DoMove(pos, moves[i], checkSources)) continue;
    nodes += Perft(pos, depth - 1);
    pos.UndoMove();
  }
  return nodes;
}

}  // namespace lanterra
