#include "rules/position.h"

#include <cassert>
#include <cstring>

#include "rules/board_tables.h"

namespace lanterra {

int PieceValue(PieceCode code, Square sq) {
  return code < 16 ? PIECE_SQUARE_VALUES[code - 8][sq] : PIECE_SQUARE_VALUES[code - 16][FlipSquare(sq)];
}

void Position::ClearPosition() {
  side = 0;
  for (PieceCode& c : squares) c = 0;
  redScore = blackScore = 0;
  distance = 0;
  zobrist = ZobristKey{};
  for (auto& words : pieceBits)
    for (uint64_t& w : words) w = 0;
  for (uint16_t& b : rankBits) b = 0;
  for (uint16_t& b : fileBits) b = 0;
  kingSquares[0] = kingSquares[1] = 0;
}

// Red codes are 8..14 and black codes 16..22, so bit 4 of a code is its side
// and its low three bits its kind.
static constexpr int SideOfCode(PieceCode code) { return code >> 4; }

void Position::SetSquare(int sq, PieceCode code) {
  squares[sq] = code;
  pieceBits[SideOfCode(code)][sq >> 6] |= uint64_t(1) << (sq & 63);
  rankBits[RankOf(sq)] |= uint16_t(1u << FileOf(sq));
  fileBits[FileOf(sq)] |= uint16_t(1u << RankOf(sq));
  if ((code & 7) == KING) kingSquares[SideOfCode(code)] = sq;
}

void Position::ClearSquare(int sq, PieceCode code) {
  squares[sq] = 0;
  pieceBits[SideOfCode(code)][sq >> 6] &= ~(uint64_t(1) << (sq & 63));
  rankBits[RankOf(sq)] &= uint16_t(~(1u << FileOf(sq)));
  fileBits[FileOf(sq)] &= uint16_t(~(1u << RankOf(sq)));
  if ((code & 7) == KING && kingSquares[SideOfCode(code)] == sq) kingSquares[SideOfCode(code)] = 0;
}

void Position::PlacePiece(Square sq, PieceCode code) {
  SetSquare(sq, code);
  if (code < 16)
    redScore += PIECE_SQUARE_VALUES[code - 8][sq];
  else
    blackScore += PIECE_SQUARE_VALUES[code - 16][FlipSquare(sq)];
  zobrist.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
}

void Position::RemovePiece(Square sq, PieceCode code) {
  ClearSquare(sq, code);
  if (code < 16)
    redScore -= PIECE_SQUARE_VALUES[code - 8][sq];
  else
    blackScore -= PIECE_SQUARE_VALUES[code - 16][FlipSquare(sq)];
  zobrist.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
}

void Position::SetUpStart(int setup) {
  ClearPosition();
  for (int sq = 0; sq < 256; ++sq) {
    if (PieceCode code = START_SETUPS[setup][sq]) PlacePiece(Square(sq), code);
  }
  CollapseHistory();
}

PieceCode Position::ApplyBoardMove(Move mv) {
  Square from = Square(MoveFrom(mv)), to = Square(MoveTo(mv));
  PieceCode captured = squares[to];
  if (captured != 0) RemovePiece(to, captured);
  PieceCode piece = squares[from];
  RemovePiece(from, piece);
  PlacePiece(to, piece);
  return captured;
}

void Position::RevertBoardMove(Move mv, PieceCode captured) {
  Square from = Square(MoveFrom(mv)), to = Square(MoveTo(mv));
  PieceCode piece = squares[to];
  RemovePiece(to, piece);
  PlacePiece(from, piece);
  if (captured != 0) PlacePiece(to, captured);
}

void Position::ToggleSide() {
  side = 1 - side;
  zobrist.Xor(ZOBRIST.sideKey);
}

int Position::DoMove(Move mv) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const PieceCode piece = squares[from], captured = squares[to];
  // The legality test reads only the board, so the board moves first and the
  // scores and key follow only for a move that is kept. The end state is the
  // same as ApplyBoardMove's, and a refused move leaves nothing to revert
  // but the board.
  if (captured != 0) ClearSquare(to, captured);
  ClearSquare(from, piece);
  SetSquare(to, piece);
  if (IsInCheck()) {
    ClearSquare(to, piece);
    SetSquare(from, piece);
    if (captured != 0) SetSquare(to, captured);
    return 0;
  }
  const uint32_t keyBefore = zobrist.key;
  const auto& keys = ZOBRIST.pieceKeys;
  if (piece < 16) {
    redScore += PIECE_SQUARE_VALUES[piece - 8][to] - PIECE_SQUARE_VALUES[piece - 8][from];
    if (captured != 0) blackScore -= PIECE_SQUARE_VALUES[captured - 16][FlipSquare(to)];
  } else {
    blackScore += PIECE_SQUARE_VALUES[piece - 16][FlipSquare(to)] - PIECE_SQUARE_VALUES[piece - 16][FlipSquare(from)];
    if (captured != 0) redScore -= PIECE_SQUARE_VALUES[captured - 8][to];
  }
  zobrist.Xor(keys[ZobristIndex(piece)][from]);
  zobrist.Xor(keys[ZobristIndex(piece)][to]);
  if (captured != 0) zobrist.Xor(keys[ZobristIndex(captured)][to]);
  ToggleSide();
  MoveRecord& r = history[historyCount++];
  r.move = uint16_t(mv);
  r.captured = captured;
  r.inCheck = uint8_t(IsInCheck());
  r.keyBefore = keyBefore;
  ++distance;
  // Debug builds recompute scores and keys after every move.
  assert(IsConsistent());
  return 1;
}

void Position::UndoMove() {
  --distance;
  ToggleSide();
  --historyCount;
  RevertBoardMove(history[historyCount].move, history[historyCount].captured);
  assert(IsConsistent());
}

void Position::DoNullMove() {
  uint32_t keyBefore = zobrist.key;
  ToggleSide();
  history[historyCount++] = MoveRecord{0, 0, 0, keyBefore};
  ++distance;
}

void Position::UndoNullMove() {
  ToggleSide();
  --distance;
  --historyCount;
}

void Position::CollapseHistory() {
  history[0] = MoveRecord{0, 0, uint8_t(IsInCheck()), zobrist.key};
  historyCount = 1;
}

void Position::MirrorInto(Position& target) const {
  target.ClearPosition();
  for (int sq = 0; sq < 256; ++sq) {
    if (squares[sq] != 0) target.PlacePiece(MirroredSquare(sq), squares[sq]);
  }
  if (side == 1) target.ToggleSide();
  target.CollapseHistory();
}

int Position::StaticScore() const {
  return (side == 0 ? redScore - blackScore : blackScore - redScore) + TEMPO_BONUS;
}

bool Position::NullMoveAllowed() const { return (side == 0 ? redScore : blackScore) > NULL_MOVE_MARGIN; }

int Position::IsInCheck() const {
  const int opp = OpponentBit(side);
  // The cached square is the one a scan of the board would find: a side has
  // at most one king (IsConsistent checks both).
  const int king = kingSquares[side];
  if (king == 0) return 0;

  // An opponent pawn level with the king stands in the king's palace and so
  // has crossed the river; one behind the king never attacks it.
  const int pawn = opp + PAWN;
  if (squares[king + (side == 0 ? -16 : 16)] == pawn || squares[king - 1] == pawn || squares[king + 1] == pawn)
    return 1;

  const int knight = opp + KNIGHT;
  for (int j = 0; j < 4; ++j) {
    if (squares[king + ADVISOR_STEPS[j]] != 0) continue;  // the leg shields both squares
    if (squares[king + KNIGHT_ATTACKER_STEPS[2 * j]] == knight ||
        squares[king + KNIGHT_ATTACKER_STEPS[2 * j + 1]] == knight)
      return 1;
  }

  // Along each line the first piece met attacks as a rook, or as the king
  // when the kings face each other; the piece behind that screen attacks as a
  // cannon.
  const int rook = opp + ROOK, cannon = opp + CANNON, facing = opp + KING;
  auto lineAttacks = [&](int first, int second) {
    if (first == 0) return false;
    const int code = squares[first];
    return code == rook || code == facing || (second != 0 && squares[second] == cannon);
  };
  int s;
  if (s = NextOccupied<-16>(king); lineAttacks(s, s ? NextOccupied<-16>(s) : 0)) return 1;
  if (s = NextOccupied<-1>(king); lineAttacks(s, s ? NextOccupied<-1>(s) : 0)) return 1;
  if (s = NextOccupied<1>(king); lineAttacks(s, s ? NextOccupied<1>(s) : 0)) return 1;
  if (s = NextOccupied<16>(king); lineAttacks(s, s ? NextOccupied<16>(s) : 0)) return 1;
  return 0;
}

bool Position::IsConsistent() const {
  int red = 0, black = 0;
  ZobristKey k{};
  int kings[2] = {0, 0};
  // The data kept beside the board, rebuilt from the squares in the same scan.
  uint64_t bits[2][4] = {};
  uint16_t ranks[16] = {}, files[16] = {};
  int kingsAt[2] = {0, 0};
  for (int sq = 0; sq < 256; ++sq) {
    PieceCode code = squares[sq];
    if (code == 0) continue;
    if (!ON_BOARD[sq]) return false;
    if (!((code >= 8 && code <= 14) || (code >= 16 && code <= 22))) return false;
    if ((code & 7) == KING) {
      ++kings[SideOfCode(code)];
      kingsAt[SideOfCode(code)] = sq;
    }
    (code < 16 ? red : black) += PieceValue(code, Square(sq));
    k.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
    bits[SideOfCode(code)][sq >> 6] |= uint64_t(1) << (sq & 63);
    ranks[RankOf(sq)] |= uint16_t(1u << FileOf(sq));
    files[FileOf(sq)] |= uint16_t(1u << RankOf(sq));
  }
  if (side == 1) k.Xor(ZOBRIST.sideKey);
  if (side != 0 && side != 1) return false;
  if (kings[0] > 1 || kings[1] > 1) return false;
  if (red != redScore || black != blackScore || !(k == zobrist)) return false;
  if (historyCount < 1 || historyCount > MOVE_HISTORY_CAPACITY || history[0].move != 0) return false;
  if (std::memcmp(bits, pieceBits, sizeof bits) != 0 || std::memcmp(ranks, rankBits, sizeof ranks) != 0 ||
      std::memcmp(files, fileBits, sizeof files) != 0 || kingsAt[0] != kingSquares[0] || kingsAt[1] != kingSquares[1])
    return false;
  // Last, as the check test relies on the cached king squares.
  if (LastRecord().inCheck != IsInCheck()) return false;
  return true;
}

}  // namespace lanterra
