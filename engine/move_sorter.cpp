#include "engine/move_sorter.h"

#include "engine/move_sort.h"
#include "engine/search_context.h"

namespace lanterra {

void SortByHistory(const int32_t* historyScores, Move* moves, int count) {
  SortMoves(moves, count, [historyScores](Move a, Move b) {
    return historyScores[a & 0xFFFF] > historyScores[b & 0xFFFF];
  });
}

static int CaptureKey(const Position& pos, Move mv) {
  // Codes are 8 + kind or 16 + kind; an empty square would read as kind 0,
  // so it is kept apart and counts nothing.
  auto value = [](PieceCode code) { return code == 0 ? 0 : CAPTURE_VALUE[code & 7]; };
  return 8 * value(pos.squares[MoveTo(mv)]) - value(pos.squares[MoveFrom(mv)]);
}

void SortByCaptureValue(const Position& pos, Move* moves, int count) {
  SortMoves(moves, count,
            [&pos](Move a, Move b) { return CaptureKey(pos, a) > CaptureKey(pos, b); });
}

void RecordBestMove(SearchContext& ctx, Move mv, int depth) {
  ctx.historyScores[mv & 0xFFFF] += depth * depth;
  Move* killers = ctx.killerMoves[ctx.pos->distance];
  if (killers[0] != mv) {
    killers[1] = killers[0];
    killers[0] = mv;
  }
}

MoveSorter::MoveSorter(const SearchContext& context, Move hash)
    : hashMove(hash),
      killer1(context.killerMoves[context.pos->distance][0]),
      killer2(context.killerMoves[context.pos->distance][1]),
      ctx(context) {}

Move MoveSorter::NextMove() {
  const Position& pos = *ctx.pos;
  switch (phase) {
    case PHASE_HASH:
      phase = PHASE_KILLER_1;
      // A matching table entry vouches for its move; no legality test.
      if (hashMove != 0) return hashMove;
      [[fallthrough]];
    case PHASE_KILLER_1:
      phase = PHASE_KILLER_2;
      if (killer1 != 0 && killer1 != hashMove && pos.IsPseudoLegal(killer1)) return killer1;
      [[fallthrough]];
    case PHASE_KILLER_2:
      phase = PHASE_GENERATE;
      // The update rule never leaves two equal killers, so killer2 needs no
      // comparison with killer1.
      if (killer2 != 0 && killer2 != hashMove && pos.IsPseudoLegal(killer2)) return killer2;
      [[fallthrough]];
    case PHASE_GENERATE:
      phase = PHASE_REST;
      count = pos.ListMoves(moves, 0);
      SortByHistory(ctx.historyScores, moves, count);
      index = 0;
      [[fallthrough]];
    case PHASE_REST:
      index = SkipTried(index);
      return index < count ? moves[index++] : 0;
    default:
      return 0;
  }
}

int MoveSorter::SkipTried(int i) const {
  while (i < count && (moves[i] == hashMove || moves[i] == killer1 || moves[i] == killer2)) ++i;
  return i;
}

Move MoveSorter::Upcoming() const {
  if (phase != PHASE_REST) return 0;
  const int i = SkipTried(index);
  return i < count ? moves[i] : 0;
}

}  // namespace lanterra
