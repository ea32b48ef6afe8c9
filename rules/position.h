// The position record: board, side to move, running piece-square sums, key
// and a stack of move records that lets every move be taken back and lets
// repetitions be found. Everything is updated incrementally; only setting up
// and mirroring walk the whole board.
#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>

#include "rules/types.h"
#include "rules/zobrist.h"

namespace lanterra {

struct MoveRecord {
  uint16_t move = 0;      // 0 in the base record and in a null-move record
  uint8_t captured = 0;   // the piece the move took, 0 if none
  uint8_t inCheck = 0;    // 1 if the side to move after this move is in check
  uint32_t keyBefore = 0; // key of the position the move was made in
};

// Functions of a board's squares alone, kept beside the board by the
// position's PlacePiece and RemovePiece and checked by IsConsistent. They let
// the generator visit only occupied squares and let line walks jump straight
// to the next piece instead of stepping over empty squares.
struct BoardIndex {
  uint64_t sidePieces[2][4] = {};    // per side: bit sq & 63 of word sq >> 6 set when sq holds its piece
  uint16_t fileBits[16] = {};        // occupied squares of each file
  int32_t kingSquares[2] = {};       // each side's king, 0 when it has none

  // sq must be a playing square; Set expects it empty, Clear to hold code.
  void Set(int sq, PieceCode code);
  void Clear(int sq, PieceCode code);
  // Clear(from, code) and Set(to, code) in one.
  void Shift(int from, int to, PieceCode code);
  friend bool operator==(const BoardIndex&, const BoardIndex&) = default;

  // The occupied squares of a rank: its 16 bits of both sides' sets.
  unsigned RankBits(int rank) const {
    const int word = rank >> 2, shift = (rank & 3) * 16;
    return unsigned((sidePieces[0][word] | sidePieces[1][word]) >> shift) & 0xFFFF;
  }
};

inline void BoardIndex::Set(int sq, PieceCode code) {
  const int rank = RankOf(sq), file = FileOf(sq);
  sidePieces[SideOf(code)][sq >> 6] |= uint64_t(1) << (sq & 63);
  fileBits[file] |= uint16_t(1u << rank);
  if (KindOf(code) == KING) kingSquares[SideOf(code)] = sq;
}

inline void BoardIndex::Clear(int sq, PieceCode code) {
  const int rank = RankOf(sq), file = FileOf(sq);
  sidePieces[SideOf(code)][sq >> 6] &= ~(uint64_t(1) << (sq & 63));
  fileBits[file] &= uint16_t(~(1u << rank));
  if (KindOf(code) == KING && kingSquares[SideOf(code)] == sq) kingSquares[SideOf(code)] = 0;
}

inline void BoardIndex::Shift(int from, int to, PieceCode code) {
  uint64_t* own = sidePieces[SideOf(code)];
  own[from >> 6] &= ~(uint64_t(1) << (from & 63));
  own[to >> 6] |= uint64_t(1) << (to & 63);
  fileBits[FileOf(from)] &= uint16_t(~(1u << RankOf(from)));
  fileBits[FileOf(to)] |= uint16_t(1u << RankOf(to));
  if (KindOf(code) == KING) kingSquares[SideOf(code)] = to;
}

// The running values a move changes besides the board and the history: the
// two sides' piece-square sums and the key.
struct PositionSums {
  int32_t redScore = 0;
  int32_t blackScore = 0;
  ZobristKey zobrist;
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
  BoardIndex index;  // kept beside the board, see above

  // --- Setting up ---
  void ClearPosition();
  void PlacePiece(Square sq, PieceCode code);
  void RemovePiece(Square sq, PieceCode code);
  void SetUpStart(int setup);
  // Gives the move to the other side, key included; the history is left
  // alone, so a caller setting up a position ends with CollapseHistory.
  void ToggleSide();
  void CollapseHistory();
  void MirrorInto(Position& target) const;

  // --- Making moves ---
  // Plays mv and returns true, or returns false and changes nothing when the move
  // would leave the mover's king attacked. The movement rule is not tested.
  // The position must be one the rules can reach, as every position set up,
  // read from a FEN or reached by moves and the search's null moves is: the
  // side that has just moved is not in check, and LastRecord().inCheck tells
  // whether the side to move is (IsConsistent checks both).
  bool DoMove(Move mv);
  // Takes back the last move DoMove played.
  void UndoMove();

  // --- Queries ---
  int StaticScore() const { return (side == SIDE_RED ? redScore - blackScore : blackScore - redScore) + TEMPO_BONUS; }
  bool NullMoveAllowed() const { return (side == SIDE_RED ? redScore : blackScore) > NULL_MOVE_MARGIN; }
  PositionSums Sums() const { return {redScore, blackScore, zobrist}; }
  const MoveRecord& LastRecord() const { return history[historyCount - 1]; }
  // The key word the position would have after mv (which DoMove would
  // accept) or after a null move; nothing is changed.
  uint32_t KeyAfter(Move mv) const;
  uint32_t KeyAfterNullMove() const { return zobrist.key ^ ZOBRIST.sideKey.key; }
  // Whether the king of the side to move is attacked; kings facing each
  // other on an open file count as check (rules/attacks.h).
  bool IsInCheck() const;
  // Pseudo-legal moves of the side to move in the fixed generation order;
  // moves must have room for MAX_MOVES_PER_POSITION entries.
  int ListMoves(Move* moves, bool capturesOnly) const;
  // Whether mv obeys the movement rule of the side to move's piece.
  bool IsPseudoLegal(Move mv) const;
  // Whether no move leaves the side to move's king safe (mate or stalemate).
  // The position is left as it was.
  bool IsMated();
  int RepetitionStatus(int recurrences) const;
  int RepetitionScore(int status) const;
  int DrawScore() const { return (distance & 1) ? SCORE_DRAW : -SCORE_DRAW; }

  // Recomputes scores, keys and the data kept beside the board from scratch
  // and checks them and the history against the incremental values. Used by
  // tests and debug builds.
  bool IsConsistent() const;

  // The first occupied square met walking from sq in direction D (one of
  // KING_STEPS), or 0 when the walk leaves the board first. Margin squares
  // are never occupied, so the nearest set bit of the rank or file mask is
  // exactly the square a step-by-step walk would stop at.
  template <int D>
  int NextOccupied(int sq) const {
    static_assert(D == -16 || D == -1 || D == 1 || D == 16);
    const int rank = RankOf(sq), file = FileOf(sq);
    if constexpr (D == -16) {
      const unsigned bits = index.fileBits[file] & ((1u << rank) - 1);
      return bits ? SquareAt(std::bit_width(bits) - 1, file) : 0;
    } else if constexpr (D == 16) {
      const unsigned bits = index.fileBits[file] >> (rank + 1);
      return bits ? SquareAt(rank + 1 + std::countr_zero(bits), file) : 0;
    } else if constexpr (D == -1) {
      const unsigned bits = index.RankBits(rank) & ((1u << file) - 1);
      return bits ? SquareAt(rank, std::bit_width(bits) - 1) : 0;
    } else {
      const unsigned bits = index.RankBits(rank) >> (file + 1);
      return bits ? SquareAt(rank, file + 1 + std::countr_zero(bits)) : 0;
    }
  }

 private:
  // The search's fast paths, reached through SearchMoves (rules/search_moves.h).
  friend class SearchMoves;
  // DoMove for a caller that tries many moves in one position and so works
  // out the mover's CheckSources once; checkSources must be that value.
  bool DoMove(Move mv, int checkSources);
  // DoMove's answer for mv without playing it.
  bool IsLegal(Move mv, int checkSources);
  // UndoMove for a caller that kept Sums() from before the move: they are
  // put back as they were instead of being worked out from the move again.
  void UndoMove(const PositionSums& before);
  void DoNullMove();
  void UndoNullMove();

  // The board part of a move and of taking it back: squares and index, not
  // the scores or the key.
  void MoveOnBoard(int from, int to, PieceCode piece, PieceCode captured);
  // MoveOnBoard when the move leaves the mover's king safe, checkSources
  // being the mover's CheckSources; returns whether it did. A refused move
  // leaves the board as it was.
  bool MoveOnBoardIfSafe(int from, int to, PieceCode piece, PieceCode captured, int checkSources);
  void TakeBackOnBoard(int from, int to, PieceCode piece, PieceCode captured);
  template <bool CAPTURES_ONLY>
  int ListMovesOf(Move* moves) const;
};

inline void Position::MoveOnBoard(int from, int to, PieceCode piece, PieceCode captured) {
  if (captured != 0) index.Clear(to, captured);
  index.Shift(from, to, piece);
  squares[from] = 0;
  squares[to] = piece;
}

inline void Position::TakeBackOnBoard(int from, int to, PieceCode piece, PieceCode captured) {
  index.Shift(to, from, piece);
  if (captured != 0) index.Set(to, captured);
  squares[from] = piece;
  squares[to] = captured;
}

// Snapshots and tests compare positions byte for byte, so the record must
// hold no padding whose bytes a copy might not carry.
static_assert(std::has_unique_object_representations_v<Position>);

// The moves of the side to move that DoMove accepts, in generation order:
// the one list of legal moves for every caller. moves needs room for
// MAX_MOVES_PER_POSITION; pos is not changed.
int LegalMoves(const Position& pos, Move* moves);

}  // namespace lanterra
