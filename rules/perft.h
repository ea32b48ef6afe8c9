// Perft: the number of leaf nodes of the legal move tree to a depth, counted
// with the same ListMoves and SearchMoves the engine's search uses (the last
// ply with IsLegal, DoMove's decision without the move). It is the first
// check of move generation against other engines' published counts.
#pragma once

#include <cstdint>

#include "rules/position.h"

namespace lanterra {

uint64_t Perft(Position& pos, int depth);

}  // namespace lanterra
