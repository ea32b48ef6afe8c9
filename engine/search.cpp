#include "engine/search.h"

#include "engine/move_sorter.h"
#include "rules/search_moves.h"

namespace lanterra {

int Search(SearchContext& ctx, int alpha, int beta, int depth, bool noNull) {
  Position& pos = *ctx.pos;

  // 1. Below the horizon only captures and check evasions are followed.
  if (depth <= 0) return Quiesce(ctx, alpha, beta);
  ctx.table.Prefetch(pos);
  // The null move's reply probes the table too, unless it drops straight
  // into the quiescence search; its slot starts loading now as well.
  if (depth - NULL_MOVE_REDUCTION - 1 > 0) ctx.table.Prefetch(pos.KeyAfterNullMove());

  // 2. A repeated position is decided by who kept checking, before anything
  //    else: its score depends on the path, not on the position.
  if (int status = pos.RepetitionStatus(1); status != 0) return pos.RepetitionScore(status);

  // 3. The ply limit bounds recursion and the killer table.
  if (pos.distance == MAX_PLY) return pos.StaticScore();

  // 4. Transposition table: a usable score ends the node; a matching entry
  //    at least supplies the move to try first.
  Move hashMove = 0;
  if (int hashScore = ctx.table.Probe(pos, alpha, beta, depth, hashMove); hashScore > -SCORE_MATE)
    return hashScore;

  // 5. Null move: if passing still fails high, a real move would too. Not
  //    in check, not twice in a row, and not with too little material, where
  //    zugzwang makes passing a poor guide.
  if (!noNull && pos.LastRecord().inCheck == 0 && pos.NullMoveAllowed()) {
    SearchMoves::DoNullMove(pos);
    int score = -Search(ctx, -beta, 1 - beta, depth - NULL_MOVE_REDUCTION - 1, true);
    SearchMoves::UndoNullMove(pos);
    if (score >= beta) return score;
  }

  // 6. Moves in the sorter's order. What checks the side to move is worked
  //    out once for all of them.
  MoveSorter sorter(ctx, hashMove);
  int best = -SCORE_MATE;
  Move bestMove = 0;
  int bound = BOUND_UPPER;
  const int checkSources = SearchMoves::MoverCheckSources(pos);

  // 7. Principal-variation search: the first legal move gets the full
  //    window, the others a null window and a re-search when they beat alpha.
  while (Move mv = sorter.NextMove()) {
    // Past depth 1 every reply probes the table: its slot starts loading
    // while the move is made, and the slot of the move after it while this
    // one is searched, which is long enough for it to arrive.
    if (depth > 1) {
      ctx.table.Prefetch(pos.KeyAfter(mv));
      if (Move upcoming = sorter.Upcoming()) ctx.table.Prefetch(pos.KeyAfter(upcoming));
    }
    // The sums the move changes, put back as they were when it is taken back.
    const PositionSums before = pos.Sums();
    if (!SearchMoves::DoMove(pos, mv, checkSources)) continue;
    // A checking move is searched one ply deeper.
    int newDepth = pos.LastRecord().inCheck ? depth : depth - 1;
    int score;
    if (best == -SCORE_MATE) {
      score = -Search(ctx, -beta, -alpha, newDepth, false);
    } else {
      score = -Search(ctx, -alpha - 1, -alpha, newDepth, false);
      if (score > alpha && score < beta) score = -Search(ctx, -beta, -alpha, newDepth, false);
    }
    SearchMoves::UndoMove(pos, before);

    if (score > best) {
      best = score;
      if (score >= beta) {
        bound = BOUND_LOWER;
        bestMove = mv;
        break;
      }
      if (score > alpha) {
        bound = BOUND_EXACT;
        bestMove = mv;
        alpha = score;
      }
    }
  }

  // 8. No legal move: mated or stalemated, both lost.
  if (best == -SCORE_MATE) return pos.distance - SCORE_MATE;

  // 9. Remember the result; only a node that found a best move teaches the
  //    ordering tables.
  ctx.table.Store(pos, bound, best, depth, bestMove);
  if (bestMove != 0) RecordBestMove(ctx, bestMove, depth);
  return best;
}

int Quiesce(SearchContext& ctx, int alpha, int beta) {
  Position& pos = *ctx.pos;

  // 1. Only quiescence nodes count towards the level's budget.
  ++ctx.nodeCount;

  // 2. Repetition, as in the full-width search.
  if (int status = pos.RepetitionStatus(1); status != 0) return pos.RepetitionScore(status);

  // 3. The ply limit, as in the full-width search.
  if (pos.distance == MAX_PLY) return pos.StaticScore();

  // 4. No score yet; which moves follow depends on check.
  int best = -SCORE_MATE;
  Move moves[MAX_MOVES_PER_POSITION];
  int count;
  int checkSources = 0;

  if (pos.LastRecord().inCheck) {
    // 5. In check every evasion is searched and standing pat is no option.
    //    The evasions come in the history order of all moves, with the
    //    moves DoMove would refuse already left out.
    Move all[MAX_MOVES_PER_POSITION];
    checkSources = CheckSources(pos, pos.side);
    count = LegalByHistory(ctx.historyScores, pos, checkSources, all, pos.ListMoves(all, 0), moves);
  } else {
    // 6. Stand pat: the side to move may decline every capture.
    int eval = pos.StaticScore();
    if (eval > best) {
      if (eval >= beta) return eval;
      best = eval;
      if (eval > alpha) alpha = eval;
    }
    count = pos.ListMoves(moves, 1);
    SortByCaptureValue(pos, moves, count);
  }

  // 7. The moves in order; one that reaches beta ends the node.
  for (int i = 0; i < count; ++i) {
    const PositionSums before = pos.Sums();
    if (!SearchMoves::DoMove(pos, moves[i], checkSources)) continue;
    int score = -Quiesce(ctx, -beta, -alpha);
    SearchMoves::UndoMove(pos, before);
    if (score > best) {
      if (score >= beta) return score;
      best = score;
      if (score > alpha) alpha = score;
    }
  }

  // 8. Only a side in check can end up without any score: it is mated.
  return best == -SCORE_MATE ? pos.distance - SCORE_MATE : best;
}

int RootSearch(SearchContext& ctx, int depth) {
  Position& pos = *ctx.pos;

  // 1. The previous iteration's choice is tried first.
  MoveSorter sorter(ctx, ctx.chosenMove);
  int best = -SCORE_MATE;

  // 2. The root has no beta; later moves must beat the (noisy) best.
  const int checkSources = SearchMoves::MoverCheckSources(pos);
  while (Move mv = sorter.NextMove()) {
    if (!SearchMoves::DoMove(pos, mv, checkSources)) continue;
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

  // 3. The iteration's result teaches the table and the ordering tables,
  //    as any node's best move does.
  ctx.table.Store(pos, BOUND_EXACT, best, depth, ctx.chosenMove);
  RecordBestMove(ctx, ctx.chosenMove, depth);
  return best;
}

}  // namespace lanterra
