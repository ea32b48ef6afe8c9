// The position record: board, side to move, running piece-square sums, key
// and a stack of move records that lets every move be taken back and lets
// repetitions be found. Everything is updated incrementally; only setting up
// and mirroring walk the whole board.
#pragma once

#include <cstdint>

#include "rules/types.h"
#include "rules/zobrist.h"

namespace lanterra {

struct MoveRecord {
  uint16_t move = 0;      // 0 in the base record and in a null-move record
  uint8_t captured = 0;   // the piece the move took, 0 if none
  uint8_t inCheck = 0;    // 1 if the side to move after this move is in check
  uint32_t keyBefore = 0; // key of the position the move was made in
};

// Bits of a repetition status.
inline constexpr int REP_SEEN = 1;
inline constexpr int REP_OWN_PERPETUAL = 2;
inline constexpr int REP_OPPONENT_PERPETUAL = 4;

// A plain record: callers copy it whole for snapshots.
struct Position {
  Side side = SIDE_RED;
  PieceCode squares[256] = {};
  int32_t redScore = 0;
  int32_t blackScore = 0;
  int32_t distance = 0;
  int32_t historyCount = 1;
  MoveRecord history[MOVE_HISTORY_CAPACITY] = {};
  ZobristKey zobrist;

  // --- Setting up ---
  void ClearPosition();
  void PlacePiece(Square sq, PieceCode code);
  void RemovePiece(Square sq, PieceCode code);
  void SetUpStart(int setup);
  void CollapseHistory();
  void MirrorInto(Position& target) const;

  // --- Making moves ---
  PieceCode ApplyBoardMove(Move mv);
  void RevertBoardMove(Move mv, PieceCode captured);
  void ToggleSide();
  // Plays mv and returns true, or returns false and changes nothing when the move
  // would leave the mover's king attacked. The movement rule is not tested.
  bool DoMove(Move mv);
  void UndoMove();
  void DoNullMove();
  void UndoNullMove();

  // --- Queries ---
  int StaticScore() const;
  bool NullMoveAllowed() const;
  const MoveRecord& LastRecord() const { return history[historyCount - 1]; }
  // Whether the king of the side to move is attacked; kings facing each
  // other on an open file count as check.
  bool IsInCheck() const;
  // Pseudo-legal moves of the side to move in the fixed generation order;
  // moves must have room for MAX_MOVES_PER_POSITION entries.
  int ListMoves(Move* moves, bool capturesOnly) const;
  // Whether mv obeys the movement rule of the side to move's piece.
  bool IsPseudoLegal(Move mv) const;
  // Whether no move leaves the side to move's king safe (mate or stalemate).
  bool IsMated();
  int RepetitionStatus(int recurrences) const;
  int RepetitionScore(int status) const;
  int DrawScore() const { return (distance & 1) ? SCORE_DRAW : -SCORE_DRAW; }

  // Recomputes scores and keys from scratch and checks them and the history
  // against the incremental values. Used by tests and debug builds.
  bool IsConsistent() const;
};

// Value of a piece on a square, read from black's side for black pieces.
int PieceValue(PieceCode code, Square sq);

// The moves of the side to move that DoMove accepts, in generation order;
// moves needs room for MAX_MOVES_PER_POSITION. Each is played and taken back
// on pos, which needs one free history record.
int LegalMoves(Position& pos, Move* moves);

}  // namespace lanterra
