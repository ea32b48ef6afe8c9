// Opening lines for a match, drawn from the opening book.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/book.h"

namespace lanterra {

// Up to count distinct opening lines of plies moves, drawn from the book with
// its weights; fewer when the book has fewer. An empty book gives one empty
// line (the normal start).
std::vector<std::vector<Move>> BookOpenings(const Book& book, int count, int plies, uint32_t seed);

}  // namespace lanterra
