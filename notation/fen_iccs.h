// Text forms of positions and moves: xiangqi FEN and ICCS coordinates.
#pragma once

#include <string>
#include <string_view>

#include "rules/position.h"

namespace lanterra {

inline constexpr std::string_view START_FEN =
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1";

// Reads a FEN into pos. On failure returns false, says what is wrong and
// where in error, and leaves pos untouched. Accepts E/H for bishop/knight and
// leaves the four trailing fields optional.
bool ParseFen(std::string_view fen, Position& pos, std::string& error);
std::string ToFen(const Position& pos);

// ICCS: files a..i from red's left, ranks 0..9 from red's side, so "h2e2"
// is red's right cannon to the centre file. Rank 0 is board rank 12.
Square ParseIccsSquare(std::string_view text);  // 0 if malformed
Move ParseIccsMove(std::string_view text);      // 0 if malformed
std::string IccsSquare(int sq);
std::string IccsMove(Move mv);

}  // namespace lanterra
