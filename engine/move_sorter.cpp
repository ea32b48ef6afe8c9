#include "engine/move_sorter.h"

#include <algorithm>

#include "engine/move_sort.h"
#include "engine/search_context.h"
#include "rules/search_moves.h"

namespace lanterra {

void SortByHistory(const int32_t* historyScores, Move* moves, int count) {
  SortMoves(moves, count, [historyScores](Move a, Move b) {
    return historyScores[a & 0xFFFF] > historyScores[b & 0xFFFF];
  });
}

int LegalByHistory(const int32_t* historyScores, Position& pos, int checkSources, Move* moves, int count,
                   Move* legal) {
  auto key = [historyScores](Move mv) { return historyScores[mv & 0xFFFF]; };
  int n = 0;
  for (int i = 0; i < count; ++i)
    if (SearchMoves::IsLegal(pos, moves[i], checkSources)) legal[n++] = moves[i];
  // The sort puts a higher key before a lower one wherever the two stand, so
  // legal moves whose keys all differ come out in the order of their keys
  // alone. Only the order among equal keys depends on the rest of the list:
  // then the whole list is sorted as before and the legal moves read off it.
  bool tie = false;
  for (int i = 1; i < n; ++i) {
    const Move mv = legal[i];
    int j = i;
    for (; j > 0 && key(legal[j - 1]) <= key(mv); --j) {
      tie = tie || key(legal[j - 1]) == key(mv);
      legal[j] = legal[j - 1];
    }
    legal[j] = mv;
  }
  if (!tie) return n;
  SortByHistory(historyScores, moves, count);
  int m = 0;
  for (int i = 0; i < count; ++i)
    if (std::find(legal, legal + n, moves[i]) != legal + n) moves[m++] = moves[i];
  std::copy(moves, moves + m, legal);
  return m;
}

static int CaptureKey(const Position& pos, Move mv) {
  // An empty square would read as a king, so it is kept apart and counts
  // nothing.
  auto value = [](PieceCode code) { return code == 0 ? 0 : CAPTURE_VALUE[KindOf(code)]; };
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
