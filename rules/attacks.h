// What attacks a king. The tests look outward from the king, at the few
// squares an attacker can stand on: three pawn squares, eight knight squares
// behind four legs, and the king's rank and file, where the first piece met
// attacks as a rook (or as the other king, since kings facing each other on
// an open file count as check) and the piece behind it as a cannon. They
// never generate the opponent's moves.
//
// Two kinds of caller use them. Anyone may ask whether a king is attacked
// (KingAttacked, CheckSources). Making a move asks only about the squares
// the move changed (KeepsAttack, ExposedAfter, AttackedAfter); that runs at
// every node of the search, so those tests and the parts they are built
// from are defined here, inline, rather than in attacks.cpp.
#pragma once

#include "rules/board_tables.h"
#include "rules/position.h"

namespace lanterra {

// Bits of CheckSources: what attacks a king.
inline constexpr int CHECK_BY_PAWN = 1;
inline constexpr int CHECK_BY_KNIGHT = 2;
inline constexpr int CHECK_ALONG_RANK = 4;  // a rook, or a cannon over one screen
inline constexpr int CHECK_ALONG_FILE = 8;  // the same, or the other king facing it

// --- Whether a king is attacked ---

// Whether side's king is attacked; false when side has no king.
bool KingAttacked(const Position& pos, Side side);
// The kinds of attack on side's king, CHECK_* bits; 0 exactly when
// KingAttacked is false.
int CheckSources(const Position& pos, Side side);

// --- What a move changed, for the making of moves ---

// Whether defender's king, not attacked before the move of piece from `from`
// to `to` that did not move it, is attacked once the move is on the board.
bool AttackedAfter(const Position& pos, Side defender, int from, int to, PieceCode piece);
// Whether a non-king move from `from` to `to` of the side to move, whose
// CheckSources are `before` (not 0), certainly leaves one of those attacks
// on its king; decided from the squares alone, before the move is made.
bool KeepsAttack(const Position& pos, int from, int to, int before);
// Whether the side to move's king, whose CheckSources were `before`, is
// attacked once its own non-king move from `from` to `to`, which
// KeepsAttack let through, is on the board.
bool ExposedAfter(const Position& pos, int from, int to, int before);

// The parts the tests above are built from, each for the king of side
// defender on square king.
namespace attacks_detail {

// An opponent pawn level with the king stands in the king's palace and so
// has crossed the river; one behind the king never attacks it.
inline bool PawnAttacks(const Position& pos, Side defender, int king) {
  const int pawn = OpponentBit(defender) + PAWN;
  return pos.squares[king + ForwardStep(defender)] == pawn || pos.squares[king - 1] == pawn ||
         pos.squares[king + 1] == pawn;
}

inline bool KnightAttacks(const Position& pos, Side defender, int king) {
  const int knight = OpponentBit(defender) + KNIGHT;
  for (int j = 0; j < 4; ++j) {
    if (pos.squares[king + ADVISOR_STEPS[j]] != 0) continue;  // the leg shields both squares
    if (pos.squares[king + KNIGHT_ATTACKER_STEPS[2 * j]] == knight ||
        pos.squares[king + KNIGHT_ATTACKER_STEPS[2 * j + 1]] == knight)
      return true;
  }
  return false;
}

// Along the king's rank or file the first piece met attacks as a rook, or as
// the king when the kings face each other; the piece behind that screen
// attacks as a cannon.
template <int D>
bool LineAttacks(const Position& pos, Side defender, int king) {
  const int opp = OpponentBit(defender);
  const int first = pos.NextOccupied<D>(king);
  if (first == 0) return false;
  if (pos.squares[first] == opp + ROOK || pos.squares[first] == opp + KING) return true;
  const int second = pos.NextOccupied<D>(first);
  return second != 0 && pos.squares[second] == opp + CANNON;
}

inline bool RankAttacks(const Position& pos, Side defender, int king) {
  return LineAttacks<-1>(pos, defender, king) || LineAttacks<1>(pos, defender, king);
}

inline bool FileAttacks(const Position& pos, Side defender, int king) {
  return LineAttacks<-16>(pos, defender, king) || LineAttacks<16>(pos, defender, king);
}

// Whether sq lies within two ranks and two files of king.
inline bool NearKing(int sq, int king) {
  const int dr = RankOf(sq) - RankOf(king), df = FileOf(sq) - FileOf(king);
  return dr >= -2 && dr <= 2 && df >= -2 && df <= 2;
}

}  // namespace attacks_detail

inline bool KingAttacked(const Position& pos, Side side) {
  using namespace attacks_detail;
  // The cached square is the one a scan of the board would find: a side has
  // at most one king (IsConsistent checks both).
  const int king = pos.index.kingSquares[side];
  if (king == 0) return false;
  return PawnAttacks(pos, side, king) || KnightAttacks(pos, side, king) || RankAttacks(pos, side, king) ||
         FileAttacks(pos, side, king);
}

// A move can attack the opponent's king, which was not attacked before, only
// through the squares it changed. A line attack needs a changed square on
// the king's rank or file: the vacated one (a discovered attack), the
// landing one (the moved piece attacks, or becomes a cannon's screen) or a
// captured piece gone there. A knight attack needs the knight itself to have
// moved, or its leg, a square diagonally next to the king, to have been
// vacated. A pawn attack needs the pawn itself to have moved. Everything
// else on the board attacks the king after the move exactly as before,
// which is not at all.
inline bool AttackedAfter(const Position& pos, Side defender, int from, int to, PieceCode piece) {
  using namespace attacks_detail;
  const int king = pos.index.kingSquares[defender];
  const int opp = OpponentBit(defender);
  const int rank = RankOf(king), file = FileOf(king);
  // The conditions are combined without branches (bitwise, on ints, which
  // Clang does not mistake for a typo of ||): for most moves all are false,
  // and one test then decides.
  const bool onRank = int(RankOf(from) == rank) | int(RankOf(to) == rank);
  const bool onFile = int(FileOf(from) == file) | int(FileOf(to) == file);
  const bool knights = (piece == opp + KNIGHT) | (STEP_SPAN[from - king + 256] == 2);
  const bool pawns = piece == opp + PAWN;
  if (!(onRank | onFile | knights | pawns) || king == 0) return false;
  return (onRank && RankAttacks(pos, defender, king)) || (onFile && FileAttacks(pos, defender, king)) ||
         (knights && KnightAttacks(pos, defender, king)) || (pawns && PawnAttacks(pos, defender, king));
}

// An attack on the mover's king that was there before the move stays unless
// the move changed a square it passes through: the king's rank or file for
// a line attack, or, for knights and pawns, the squares within two ranks and
// two files of the king, where their attackers and the knights' legs stand.
// This needs only the move's squares, not the board after it.
inline bool KeepsAttack(const Position& pos, int from, int to, int before) {
  using namespace attacks_detail;
  const int king = pos.index.kingSquares[pos.side];
  const int rank = RankOf(king), file = FileOf(king);
  const bool onRank = RankOf(from) == rank || RankOf(to) == rank;
  const bool onFile = FileOf(from) == file || FileOf(to) == file;
  if (((before & CHECK_ALONG_RANK) && !onRank) || ((before & CHECK_ALONG_FILE) && !onFile)) return king != 0;
  return (before & (CHECK_BY_KNIGHT | CHECK_BY_PAWN)) && !NearKing(from, king) && !NearKing(to, king) && king != 0;
}

// Once KeepsAttack has let the move through, every kind of attack is judged
// on its own. One that was not there appears only along the king's rank or
// file through the vacated or landing square, or through a vacated knight
// leg; the mover's own piece never attacks its king. Only the kinds a move
// could have changed are looked at again.
inline bool ExposedAfter(const Position& pos, int from, int to, int before) {
  using namespace attacks_detail;
  const Side side = pos.side;
  const int king = pos.index.kingSquares[side];
  const int rank = RankOf(king), file = FileOf(king);
  const bool onRank = int(RankOf(from) == rank) | int(RankOf(to) == rank);
  const bool onFile = int(FileOf(from) == file) | int(FileOf(to) == file);
  if (before == 0) {
    // Out of check, as in AttackedAfter; one test decides most moves.
    const bool legVacated = STEP_SPAN[from - king + 256] == 2;
    if (!(onRank | onFile | legVacated) || king == 0) return false;
    return (onRank && RankAttacks(pos, side, king)) || (onFile && FileAttacks(pos, side, king)) ||
           (legVacated && KnightAttacks(pos, side, king));
  }
  if (king == 0) return false;
  if (onRank && RankAttacks(pos, side, king)) return true;
  if (onFile && FileAttacks(pos, side, king)) return true;
  const bool nearKing = NearKing(from, king) || NearKing(to, king);
  const bool knightsChanged = (before & CHECK_BY_KNIGHT) ? nearKing : STEP_SPAN[from - king + 256] == 2;
  if (knightsChanged && KnightAttacks(pos, side, king)) return true;
  return (before & CHECK_BY_PAWN) && PawnAttacks(pos, side, king);
}

}  // namespace lanterra
