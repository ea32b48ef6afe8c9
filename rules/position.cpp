#include "rules/position.h"

#include <cassert>

#include "rules/board_tables.h"

namespace lanterra {

int PieceValue(PieceCode code, Square sq) {
  return code < 16 ? PIECE_SQUARE_VALUES[code - 8][sq] : PIECE_SQUARE_VALUES[code - 16][FlipSquare(sq)];
}

void Position::ClearPosition() {
  side = SIDE_RED;
  for (PieceCode& c : squares) c = 0;
  redScore = blackScore = 0;
  distance = 0;
  zobrist = ZobristKey{};
}

void Position::PlacePiece(Square sq, PieceCode code) {
  squares[sq] = code;
  if (code < 16)
    redScore += PIECE_SQUARE_VALUES[code - 8][sq];
  else
    blackScore += PIECE_SQUARE_VALUES[code - 16][FlipSquare(sq)];
  zobrist.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
}

void Position::RemovePiece(Square sq, PieceCode code) {
  squares[sq] = 0;
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
  side = Opponent(side);
  zobrist.Xor(ZOBRIST.sideKey);
}

bool Position::DoMove(Move mv) {
  uint32_t keyBefore = zobrist.key;
  PieceCode captured = ApplyBoardMove(mv);
  if (IsInCheck()) {
    RevertBoardMove(mv, captured);
    return 0;
  }
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

bool Position::IsInCheck() const {
  const int own = SideBit(side), opp = OpponentBit(side);
  // The king never leaves its palace, so only those nine squares are scanned;
  // this finds the same square as a scan of the whole board.
  const int firstRank = side == 0 ? 10 : 3;
  int king = 0;
  for (int r = firstRank; r < firstRank + 3 && king == 0; ++r) {
    for (int f = 6; f <= 8; ++f) {
      if (squares[SquareAt(r, f)] == own + KING) {
        king = SquareAt(r, f);
        break;
      }
    }
  }
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

  for (int d : KING_STEPS) {
    int s = king + d;
    while (ON_BOARD[s] && squares[s] == 0) s += d;
    if (!ON_BOARD[s]) continue;
    // Kings facing each other on an open file count as check.
    if (squares[s] == opp + ROOK || squares[s] == opp + KING) return 1;
    s += d;
    while (ON_BOARD[s] && squares[s] == 0) s += d;
    if (ON_BOARD[s] && squares[s] == opp + CANNON) return 1;
  }
  return 0;
}

bool Position::IsConsistent() const {
  int red = 0, black = 0;
  ZobristKey k{};
  int kings[2] = {0, 0};
  for (int sq = 0; sq < 256; ++sq) {
    PieceCode code = squares[sq];
    if (code == 0) continue;
    if (!ON_BOARD[sq]) return false;
    if (!((code >= 8 && code <= 14) || (code >= 16 && code <= 22))) return false;
    if (code == 8) ++kings[0];
    if (code == 16) ++kings[1];
    (code < 16 ? red : black) += PieceValue(code, Square(sq));
    k.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
  }
  if (side == 1) k.Xor(ZOBRIST.sideKey);
  if (side != 0 && side != 1) return false;
  if (kings[0] > 1 || kings[1] > 1) return false;
  if (red != redScore || black != blackScore || !(k == zobrist)) return false;
  if (historyCount < 1 || historyCount > MOVE_HISTORY_CAPACITY || history[0].move != 0) return false;
  if (LastRecord().inCheck != IsInCheck()) return false;
  return true;
}

}  // namespace lanterra
