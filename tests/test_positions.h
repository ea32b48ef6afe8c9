// Helpers shared by the tests: positions from FEN, moves from ICCS, and
// seeded random play.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "notation/fen_iccs.h"
#include "rules/long_game.h"
#include "rules/position.h"

namespace lanterra::test {

inline Position FromFen(std::string_view fen) {
  Position pos;
  std::string error;
  EXPECT_TRUE(ParseFen(fen, pos, error)) << fen << ": " << error;
  return pos;
}

inline Move Iccs(const char* text) {
  Move mv = ParseIccsMove(text);
  EXPECT_NE(mv, 0) << text;
  return mv;
}

// Square by rank and file written as in the tables: 0xC7 is rank 12 file 7.
constexpr Square Sq(int hex) { return Square(hex); }

// The pieces of mv moved on pos's board with the setup operations alone, and
// nothing else changed: the side to move is still the mover, so IsInCheck
// then asks whether the move exposed its own king. The slow and plain
// legality test the fast ones are checked against. Returns what mv took.
inline PieceCode PutOnBoard(Position& pos, Move mv) {
  const Square from = Square(MoveFrom(mv)), to = Square(MoveTo(mv));
  const PieceCode piece = pos.squares[from], captured = pos.squares[to];
  if (captured != 0) pos.RemovePiece(to, captured);
  pos.RemovePiece(from, piece);
  pos.PlacePiece(to, piece);
  return captured;
}

// Takes PutOnBoard(pos, mv) back; captured is what it returned.
inline void TakeOffBoard(Position& pos, Move mv, PieceCode captured) {
  const Square from = Square(MoveFrom(mv)), to = Square(MoveTo(mv));
  const PieceCode piece = pos.squares[to];
  pos.RemovePiece(to, piece);
  pos.PlacePiece(from, piece);
  if (captured != 0) pos.PlacePiece(to, captured);
}

// Plays up to plies random legal moves from pos, keeping the history as the
// tools do in long games. Stops early at mate.
inline void RandomPlay(Position& pos, std::mt19937& rng, int plies) {
  for (int i = 0; i < plies; ++i) {
    Move legal[MAX_MOVES_PER_POSITION];
    int n = LegalMoves(pos, legal);
    if (n == 0) return;
    PlayLongGameMove(pos, legal[rng() % n]);
  }
}

}  // namespace lanterra::test
