// WXF notation, the World Xiangqi Federation's letters for players who do
// not read Chinese: piece letter, file, direction and number ("C2.5",
// "H8+7", "R+.3"). It says what Chinese notation says, so reading it needs
// the position just as much.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "rules/position.h"

namespace lanterra {

// Writes a legal move of pos: K A E H R C P, the file 1..9 from the mover's
// right, + forward, - back, . sideways, then the target file or the
// distance. Empty when mv does not move a piece of the side to move between
// two playing squares.
std::string WxfMove(const Position& pos, Move mv);

// Reads one move in WXF notation and returns the one legal move of pos it
// describes, or 0 with the reason in error. Letters may be either case, B
// and N stand for E and H, = for ., and a sign may lead the piece letter
// ("+C.5" for "C+.5").
Move ParseWxfMove(const Position& pos, std::string_view text, std::string& error);
// The same, for a caller that reads many texts in one position and so lists
// its legal moves (LegalMoves) once.
Move ParseWxfMove(const Position& pos, std::span<const Move> legal, std::string_view text, std::string& error);

// Whether text has the shape of a WXF move, legal or not.
bool LooksLikeWxfMove(std::string_view text);

}  // namespace lanterra
