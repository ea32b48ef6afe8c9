// Encodings every layer speaks: squares, moves, piece codes, sides, scores
// and the fixed capacities.
#pragma once

#include <cstdint>

namespace lanterra {

// A square indexes a 16 x 16 board: (rank << 4) + file. Ranks 3..12 and files
// 3..11 are the playing area; the rest is a margin that never holds a piece,
// so any step from a playing square still lands inside the array.
using Square = uint8_t;
// A move packs from + 256 * to. Lists carry it as a 32-bit integer, the move
// history in 16 bits. 0 means "no move"; square 0 is margin, so no real move
// encodes to it.
using Move = int32_t;
// 0 empty, 8 + kind for red, 16 + kind for black.
using PieceCode = uint8_t;

enum PieceKind : int {
  KING = 0,
  ADVISOR = 1,
  BISHOP = 2,
  KNIGHT = 3,
  ROOK = 4,
  CANNON = 5,
  PAWN = 6,
};

// Red moves first.
enum Side : int32_t { SIDE_RED = 0, SIDE_BLACK = 1 };

constexpr Side Opponent(Side side) { return Side(1 - side); }
// A pawn's step forward: up the board (towards rank 3) for red, down for
// black.
constexpr int ForwardStep(Side side) { return side == SIDE_RED ? -16 : 16; }

inline constexpr int SCORE_MATE = 10000;
inline constexpr int SCORE_BANNED = 9900;
inline constexpr int SCORE_WIN = 9800;
inline constexpr int SCORE_DRAW = 20;
inline constexpr int TEMPO_BONUS = 3;
inline constexpr int NULL_MOVE_MARGIN = 400;

inline constexpr int MAX_MOVES_PER_POSITION = 128;
inline constexpr int MOVE_HISTORY_CAPACITY = 256;
inline constexpr int MAX_PLY = 64;
inline constexpr int BOOK_CAPACITY = 16384;

constexpr int RankOf(int sq) { return sq >> 4; }
constexpr int FileOf(int sq) { return sq & 15; }
constexpr Square SquareAt(int rank, int file) { return Square((rank << 4) + file); }
// The same point seen from the other side of the board (a half turn).
constexpr Square FlipSquare(int sq) { return Square(254 - sq); }
// Left-right mirror: file f becomes 14 - f, the rank stays.
constexpr Square MirroredSquare(int sq) { return Square((sq & 0xF0) + 14 - (sq & 0x0F)); }
// Red's half is ranks 8..15, where bit 7 of the square is set.
constexpr bool OnOwnHalf(int sq, Side side) { return ((sq & 128) != 0) == (side == SIDE_RED); }

constexpr int MoveFrom(Move mv) { return mv & 255; }
constexpr int MoveTo(Move mv) { return (mv >> 8) & 255; }
constexpr Move MoveOf(int from, int to) { return from + to * 256; }
constexpr Move MirroredMove(Move mv) {
  return MoveOf(MirroredSquare(MoveFrom(mv)), MirroredSquare(MoveTo(mv)));
}

constexpr int SideBit(Side side) { return 8 + 8 * side; }
constexpr int OpponentBit(Side side) { return 16 - 8 * side; }
constexpr PieceCode PieceOf(Side side, PieceKind kind) { return PieceCode(SideBit(side) + kind); }
// The side and kind of a piece (not of an empty square). Red codes are
// 8..14 and black codes 16..22, so bit 4 of a code is its side and its low
// three bits its kind: one shift or one mask, no table and no branch.
constexpr Side SideOf(PieceCode code) { return Side(code >> 4); }
constexpr PieceKind KindOf(PieceCode code) { return PieceKind(code & 7); }
static_assert([] {
  for (int side = SIDE_RED; side <= SIDE_BLACK; ++side)
    for (int kind = KING; kind <= PAWN; ++kind) {
      const PieceCode code = PieceOf(Side(side), PieceKind(kind));
      if (SideOf(code) != side || KindOf(code) != kind) return false;
    }
  return true;
}());

}  // namespace lanterra
