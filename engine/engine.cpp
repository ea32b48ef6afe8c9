// The move decision: opening book, forced moves, then iterative deepening of
// the root search within the level's node budget.
#include "engine/engine.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/book.h"
#include "engine/search.h"
#include "engine/search_context.h"

namespace lanterra {

namespace {

// DoMove writes records past historyCount that UndoMove leaves behind. The
// decision promises the caller its position back unchanged, so the few
// records a search can reach are put back as they were.
class HistoryTailGuard {
 public:
  explicit HistoryTailGuard(Position& p)
      : pos(p),
        first(p.historyCount),
        count(std::min(SAVED_RECORDS, MOVE_HISTORY_CAPACITY - p.historyCount)) {
    std::copy_n(pos.history + first, count, saved.begin());
  }
  ~HistoryTailGuard() { std::copy_n(saved.begin(), count, pos.history + first); }
  HistoryTailGuard(const HistoryTailGuard&) = delete;
  HistoryTailGuard& operator=(const HistoryTailGuard&) = delete;

 private:
  Position& pos;
  int first;
  int count;
  // The book test adds one record, a search line at most MAX_PLY.
  static constexpr int SAVED_RECORDS = MAX_PLY + 1;
  std::array<MoveRecord, SAVED_RECORDS> saved;
};

}  // namespace

Engine::Engine(std::span<const uint8_t> book, uint32_t seed)
    : search_(std::make_unique<SearchContext>()), book_(std::make_unique<Book>()) {
  ReadBook(*book_, book);
  search_->random.Seed(seed);
}

Engine::~Engine() = default;

bool Engine::SetLevel(int level) {
  if (level < 0 || level > MAX_LEVEL) return false;
  level_ = level;
  return true;
}

void Engine::Seed(uint32_t seed) { search_->random.Seed(seed); }

int Engine::NextRandom() { return search_->random.Next(); }

uint32_t Engine::RandomState() const { return search_->random.State(); }

void Engine::SetRandomState(uint32_t state) { search_->random.Seed(state); }

Decision Engine::Decide(Position& pos, const SearchLimits& limits, const IterationReport& report) {
  Decision decision;
  // A search line would run off the end of the history.
  if (pos.historyCount > MAX_DECISION_HISTORY) return decision;
  SearchContext& ctx = *search_;
  HistoryTailGuard guard(pos);
  ctx.pos = &pos;

  // 1. Nothing learnt in an earlier decision is carried over.
  std::memset(ctx.historyScores, 0, sizeof(ctx.historyScores));
  std::memset(ctx.killerMoves, 0, sizeof(ctx.killerMoves));
  ctx.table.Clear();

  // 2. The current position becomes the root.
  pos.distance = 0;

  // 3. Book: a book move is played unless it would complete a threefold
  //    repetition. A book move DoMove refuses was never made, so there is
  //    nothing to take back; it is simply dropped. A book switched off
  //    draws nothing from the generator, as an empty one.
  ctx.chosenMove = useBook_ ? LookupBook(*book_, pos, ctx.random) : 0;
  if (ctx.chosenMove != 0 && pos.DoMove(ctx.chosenMove)) {
    int status = pos.RepetitionStatus(3);
    pos.UndoMove();
    if (status == 0) {
      decision.move = ctx.chosenMove;
      return decision;
    }
  }

  // 4. Forced move: one legal move needs no search. Otherwise the last
  //    legal move in generation order opens the first iteration.
  Move legal[MAX_MOVES_PER_POSITION];
  const int count = LegalMoves(pos, legal);
  ctx.chosenMove = count > 0 ? legal[count - 1] : 0;
  decision.move = ctx.chosenMove;
  if (count <= 1) return decision;

  // 5. Deepening until a decided score or the spent budget; an iteration is
  //    never cut short, so depth 1 always completes. A depth limit alone
  //    still stops past MAX_SEARCH_NODES, long before the node counter could
  //    overflow.
  const int32_t budget = limits.nodes > 0   ? limits.nodes
                         : limits.depth > 0 ? MAX_SEARCH_NODES
                                            : NodeBudget(level_);
  const int lastDepth = limits.depth > 0 && limits.depth < MAX_PLY ? limits.depth : MAX_PLY;
  ctx.nodeCount = 0;
  for (int depth = 1; depth <= lastDepth; ++depth) {
    int score = RootSearch(ctx, depth);
    decision = {ctx.chosenMove, depth, score, ctx.nodeCount};
    if (report) report(decision);
    if (score > SCORE_WIN || score < -SCORE_WIN) break;
    if (ctx.nodeCount > budget) break;
  }
  return decision;
}

}  // namespace lanterra
