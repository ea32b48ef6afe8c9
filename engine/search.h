// Full-width alpha-beta search and quiescence search on ctx.pos, in place.
// Both are fail-soft and return with the position exactly as they found it.
#pragma once

#include "engine/search_context.h"

namespace lanterra {

inline constexpr int NULL_MOVE_REDUCTION = 2;

// Scores ctx.pos to the remaining depth for the side to move. noNull forbids
// a null move at this node.
int Search(SearchContext& ctx, int alpha, int beta, int depth, bool noNull);

// Follows captures, and every reply to a check, until the position is quiet.
// Each call counts one node.
int Quiesce(SearchContext& ctx, int alpha, int beta);

// One iteration of deepening at the root of ctx.pos: searches every root
// move to depth, leaves the best in ctx.chosenMove and returns its score
// with the root noise added.
int RootSearch(SearchContext& ctx, int depth);

}  // namespace lanterra
