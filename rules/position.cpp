#include "rules/position.h"

#include <array>
#include <cassert>

#include "rules/attacks.h"
#include "rules/board_tables.h"
#include "rules/search_moves.h"

namespace lanterra {

namespace {

// The value of each piece code on each square, read from black's side for
// black codes: PIECE_SQUARE_VALUES in one lookup, without the side test.
// Row 0 (no piece) is all zero.
constexpr std::array<std::array<uint8_t, 256>, 23> CODE_VALUES = [] {
  std::array<std::array<uint8_t, 256>, 23> t{};
  for (int kind = 0; kind < 7; ++kind)
    for (int sq = 0; sq < 256; ++sq) {
      t[8 + kind][sq] = PIECE_SQUARE_VALUES[kind][sq];
      t[16 + kind][sq] = PIECE_SQUARE_VALUES[kind][FlipSquare(sq)];
    }
  return t;
}();
static_assert(CODE_VALUES[8 + KING][0xC7] == 15 && CODE_VALUES[16 + KING][0x37] == 15);

inline int ValueOf(PieceCode code, int sq) { return CODE_VALUES[code][sq]; }

// What a move changes in the scores and the key: the same as its
// RemovePiece and PlacePiece steps together. Taking the move back subtracts
// the same values and XORs the same triples again.
struct MoveEffect {
  int mover = 0;     // added to the moving side's score
  int captured = 0;  // taken from the other side's score
  ZobristKey key;
};

inline MoveEffect EffectOf(int from, int to, PieceCode piece, PieceCode captured) {
  MoveEffect e;
  e.mover = ValueOf(piece, to) - ValueOf(piece, from);
  e.captured = ValueOf(captured, to);
  e.key = ZOBRIST.pieceKeys[ZobristIndex(piece)][from];
  e.key.Xor(ZOBRIST.pieceKeys[ZobristIndex(piece)][to]);
  if (captured != 0) e.key.Xor(ZOBRIST.pieceKeys[ZobristIndex(captured)][to]);
  return e;
}

}  // namespace

void Position::ClearPosition() {
  side = SIDE_RED;
  for (PieceCode& c : squares) c = 0;
  redScore = blackScore = 0;
  distance = 0;
  zobrist = ZobristKey{};
  index = BoardIndex{};
}

void Position::PlacePiece(Square sq, PieceCode code) {
  squares[sq] = code;
  index.Set(sq, code);
  (SideOf(code) == SIDE_RED ? redScore : blackScore) += ValueOf(code, sq);
  zobrist.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
}

void Position::RemovePiece(Square sq, PieceCode code) {
  squares[sq] = 0;
  index.Clear(sq, code);
  (SideOf(code) == SIDE_RED ? redScore : blackScore) -= ValueOf(code, sq);
  zobrist.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
}

void Position::SetUpStart(int setup) {
  ClearPosition();
  for (int sq = 0; sq < 256; ++sq) {
    if (PieceCode code = START_SETUPS[setup][sq]) PlacePiece(Square(sq), code);
  }
  CollapseHistory();
}

void Position::ToggleSide() {
  side = Opponent(side);
  zobrist.Xor(ZOBRIST.sideKey);
}

bool Position::DoMove(Move mv) { return DoMove(mv, SearchMoves::MoverCheckSources(*this)); }

// The legality test reads only the board, so the board moves first and the
// scores and key follow only for a move that is kept. A king move changes
// where the attacks are looked for, so it gets the whole test; any other
// move is judged by what it changed. Most moves of a side in check leave an
// attack where it was; those are refused before the board changes at all.
bool Position::MoveOnBoardIfSafe(int from, int to, PieceCode piece, PieceCode captured, int checkSources) {
  const bool kingMove = KindOf(piece) == KING;
  if (checkSources != 0 && !kingMove && KeepsAttack(*this, from, to, checkSources)) return false;
  MoveOnBoard(from, to, piece, captured);
  const bool exposed = kingMove ? KingAttacked(*this, side) : ExposedAfter(*this, from, to, checkSources);
  if (exposed) TakeBackOnBoard(from, to, piece, captured);
  return !exposed;
}

bool Position::DoMove(Move mv, int checkSources) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const PieceCode piece = squares[from], captured = squares[to];
  if (!MoveOnBoardIfSafe(from, to, piece, captured, checkSources)) return 0;
  const uint32_t keyBefore = zobrist.key;
  const MoveEffect e = EffectOf(from, to, piece, captured);
  // Chosen by value rather than by branch: the side alternates from move
  // to move, which no branch predictor follows.
  redScore += side == SIDE_RED ? e.mover : -e.captured;
  blackScore += side == SIDE_RED ? -e.captured : e.mover;
  zobrist.Xor(e.key);
  ToggleSide();
  MoveRecord& r = history[historyCount++];
  r.move = uint16_t(mv);
  r.captured = captured;
  // The opponent, not in check before the move, is in check now only
  // through the squares the move changed.
  r.inCheck = uint8_t(AttackedAfter(*this, side, from, to, piece));
  r.keyBefore = keyBefore;
  ++distance;
  // Debug builds recompute scores and keys after every move.
  assert(IsConsistent());
  return 1;
}

bool Position::IsLegal(Move mv, int checkSources) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const PieceCode piece = squares[from], captured = squares[to];
  if (!MoveOnBoardIfSafe(from, to, piece, captured, checkSources)) return 0;
  TakeBackOnBoard(from, to, piece, captured);
  return 1;
}

uint32_t Position::KeyAfter(Move mv) const {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  return zobrist.key ^ ZOBRIST.sideKey.key ^ EffectOf(from, to, squares[from], squares[to]).key.key;
}

void Position::UndoMove() {
  const MoveRecord& r = history[--historyCount];
  ToggleSide();
  const int from = MoveFrom(r.move), to = MoveTo(r.move);
  const PieceCode piece = squares[to];
  TakeBackOnBoard(from, to, piece, r.captured);
  const MoveEffect e = EffectOf(from, to, piece, r.captured);
  redScore -= side == SIDE_RED ? e.mover : -e.captured;
  blackScore -= side == SIDE_RED ? -e.captured : e.mover;
  zobrist.Xor(e.key);
  --distance;
  assert(IsConsistent());
}

void Position::UndoMove(const PositionSums& before) {
  const MoveRecord& r = history[--historyCount];
  side = Opponent(side);
  const int from = MoveFrom(r.move), to = MoveTo(r.move);
  TakeBackOnBoard(from, to, squares[to], r.captured);
  redScore = before.redScore;
  blackScore = before.blackScore;
  zobrist = before.zobrist;
  --distance;
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
  if (side == SIDE_BLACK) target.ToggleSide();
  target.CollapseHistory();
}

bool Position::IsConsistent() const {
  int red = 0, black = 0;
  ZobristKey k{};
  int kings[2] = {0, 0};
  BoardIndex fresh;  // rebuilt from the squares in the same scan
  for (int sq = 0; sq < 256; ++sq) {
    PieceCode code = squares[sq];
    if (code == 0) continue;
    if (!ON_BOARD[sq]) return false;
    if (!((code >= 8 && code <= 14) || (code >= 16 && code <= 22))) return false;
    if (KindOf(code) == KING) ++kings[SideOf(code)];
    (SideOf(code) == SIDE_RED ? red : black) += ValueOf(code, sq);
    k.Xor(ZOBRIST.pieceKeys[ZobristIndex(code)][sq]);
    fresh.Set(sq, code);
  }
  if (side == SIDE_BLACK) k.Xor(ZOBRIST.sideKey);
  if (side != SIDE_RED && side != SIDE_BLACK) return false;
  if (kings[0] > 1 || kings[1] > 1) return false;
  if (red != redScore || black != blackScore || !(k == zobrist)) return false;
  if (historyCount < 1 || historyCount > MOVE_HISTORY_CAPACITY || history[0].move != 0) return false;
  if (!(fresh == index)) return false;
  // Last, as the check test relies on the cached king squares. DoMove
  // relies on both: the last record tells whether the side to move is in
  // check, and the side that has just moved is not.
  if (LastRecord().inCheck != IsInCheck()) return false;
  if (KingAttacked(*this, Opponent(side))) return false;
  return true;
}

}  // namespace lanterra
