// The move decision: opening book, forced moves, then iterative deepening of
// the root search within the level's node budget.
#include <algorithm>
#include <array>
#include <cstring>

#include "engine/move_sorter.h"
#include "engine/search.h"
#include "engine/search_context.h"

namespace lanterra {

std::unique_ptr<SearchContext> MakeSearchContext() { return std::make_unique<SearchContext>(); }

int RootSearch(SearchContext& ctx, int depth) {
  Position& pos = *ctx.pos;

  // 1. The previous iteration's choice is tried first.
  MoveSorter sorter(ctx, ctx.chosenMove);
  int best = -SCORE_MATE;

  // 2. The root has no beta; later moves must beat the (noisy) best.
  const int checkSources = pos.LastRecord().inCheck ? pos.CheckSources() : 0;
  while (Move mv = sorter.NextMove()) {
    if (!pos.DoMove(mv, checkSources)) continue;
    int newDepth = pos.LastRecord().inCheck ? depth : depth - 1;
    int score;
    if (best == -SCORE_MATE) {
      score = -Search(ctx, -SCORE_MATE, SCORE_MATE, newDepth, true);
    } else {
      score = -Search(ctx, -best - 1, -best, newDepth, false);
      if (score > best) score = -Search(ctx, -SCORE_MATE, -best, newDepth, true);
    }
    pos.UndoMove();

    if (score > best) {
      best = score;
      ctx.chosenMove = mv;
      // A little noise varies the play between games; decided results
      // (mates, perpetual-check rulings) keep their exact value.
      if (score > -SCORE_WIN && score < SCORE_WIN) {
        int r1 = ctx.random.Next();
        int r2 = ctx.random.Next();
        best = score + (r1 & ROOT_NOISE_MASK) - (r2 & ROOT_NOISE_MASK);
      }
    }
  }

  // 3.
  ctx.table.Store(pos, BOUND_EXACT, best, depth, ctx.chosenMove);
  RecordBestMove(ctx, ctx.chosenMove, depth);

  // 4.
  return best;
}

namespace {

// DoMove writes records past historyCount that UndoMove leaves behind. The
// decision promises the caller its position back unchanged, so the few
// records a search can reach are put back as they were.
class HistoryTailGuard {
 public:
  explicit HistoryTailGuard(Position& p)
      : pos(p),
        first(p.historyCount),
        count(std::min<int>(int(saved.size()), MOVE_HISTORY_CAPACITY - p.historyCount)) {
    std::copy_n(pos.history + first, count, saved.begin());
  }
  ~HistoryTailGuard() { std::copy_n(saved.begin(), count, pos.history + first); }
  HistoryTailGuard(const HistoryTailGuard&) = delete;
  HistoryTailGuard& operator=(const HistoryTailGuard&) = delete;

 private:
  Position& pos;
  int first;
  int count;
  // The book or forced-move test adds one record, a search line at most
  // MAX_PLY.
  std::array<MoveRecord, MAX_PLY + 1> saved;
};

}  // namespace

void ThinkMove(SearchContext& ctx, Position& pos) { ThinkMove(ctx, pos, SearchLimits{}, nullptr); }

void ThinkMove(SearchContext& ctx, Position& pos, const SearchLimits& limits, const IterationReport& report) {
  HistoryTailGuard guard(pos);
  ctx.pos = &pos;

  // 1. Nothing learnt in an earlier decision is carried over.
  std::memset(ctx.historyScores, 0, sizeof(ctx.historyScores));
  std::memset(ctx.killerMoves, 0, sizeof(ctx.killerMoves));
  ctx.table.Clear();

  // 2. The current position becomes the root.
  pos.distance = 0;
  ctx.completedDepth = 0;
  ctx.rootScore = 0;

  // 3. + 4. A book move is played unless it would complete a threefold
  //    repetition. A book move DoMove refuses was never made, so there is
  //    nothing to take back; it is simply dropped.
  ctx.chosenMove = LookupBook(ctx.book, pos, ctx.random);
  if (ctx.chosenMove != 0 && pos.DoMove(ctx.chosenMove)) {
    int status = pos.RepetitionStatus(3);
    pos.UndoMove();
    if (status == 0) return;
  }

  // 5. A forced move needs no search. Otherwise the last legal move in
  //    generation order opens the first iteration.
  Move moves[MAX_MOVES_PER_POSITION];
  int count = pos.ListMoves(moves, 0);
  int legal = 0;
  ctx.chosenMove = 0;
  for (int i = 0; i < count; ++i) {
    if (!pos.DoMove(moves[i])) continue;
    pos.UndoMove();
    ++legal;
    ctx.chosenMove = moves[i];
  }
  if (legal <= 1) return;

  // 6. Deepen until a decided score or the spent budget; an iteration is
  //    never cut short, so depth 1 always completes. A depth limit alone
  //    still stops past MAX_SEARCH_NODES, long before the node counter could
  //    overflow.
  const int32_t budget = limits.nodes > 0   ? limits.nodes
                         : limits.depth > 0 ? MAX_SEARCH_NODES
                                            : NodeBudget(ctx.level);
  const int lastDepth = limits.depth > 0 && limits.depth < MAX_PLY ? limits.depth : MAX_PLY;
  ctx.nodeCount = 0;
  for (int depth = 1; depth <= lastDepth; ++depth) {
    int score = RootSearch(ctx, depth);
    ctx.completedDepth = depth;
    ctx.rootScore = score;
    if (report) report(ctx);
    if (score > SCORE_WIN || score < -SCORE_WIN) break;
    if (ctx.nodeCount > budget) break;
  }

  // 7. ctx.chosenMove holds the decision.
}

}  // namespace lanterra
