#include "notation/move_description.h"

#include "rules/board_tables.h"

namespace lanterra {

namespace {

// Files are counted from the mover's right, so red's first file is board
// file 11 and black's is board file 3.
int FileNumber(int sq, Side side) { return side == SIDE_RED ? 12 - FileOf(sq) : FileOf(sq) - 2; }
// How far a square lies from the mover's home rank: larger is further forward.
int Progress(int sq, Side side) { return side == SIDE_RED ? 12 - RankOf(sq) : RankOf(sq) - 3; }

// Knights, advisors and bishops change file on every move, so their number
// names the target file; the straight movers give the distance instead.
bool MovesDiagonally(int kind) { return kind == KNIGHT || kind == ADVISOR || kind == BISHOP; }

struct Step {
  int verb;
  int number;
};

Step StepOf(int kind, int from, int to, Side side) {
  const int advance = Progress(to, side) - Progress(from, side);
  const int verb = advance > 0 ? 1 : advance < 0 ? -1 : 0;
  return {verb, verb == 0 || MovesDiagonally(kind) ? FileNumber(to, side) : (advance < 0 ? -advance : advance)};
}

// Where the piece on sq stands among the mover's same pieces on its file:
// index 0 is the front one.
struct FileRank {
  int index = 0;
  int count = 0;
};

FileRank RankOnFile(const Position& pos, int sq) {
  FileRank r;
  const PieceCode code = pos.squares[sq];
  const int file = FileOf(sq);
  for (int rank = 3; rank <= 12; ++rank) {
    const int other = SquareAt(rank, file);
    if (pos.squares[other] != code) continue;
    ++r.count;
    if (Progress(other, pos.side) > Progress(sq, pos.side)) ++r.index;
  }
  return r;
}

// True when another file than sq's holds two or more of the mover's pawns.
bool OtherFileHasPawnPair(const Position& pos, int sq) {
  const PieceCode pawn = PieceOf(pos.side, PAWN);
  for (int file = 3; file <= 11; ++file) {
    if (file == FileOf(sq)) continue;
    int n = 0;
    for (int rank = 3; rank <= 12; ++rank) n += pos.squares[SquareAt(rank, file)] == pawn;
    if (n >= 2) return true;
  }
  return false;
}

bool PlaceFits(Place place, int ordinal, FileRank r) {
  const int index = r.index, count = r.count;
  switch (place) {
    case Place::ANY:
      return true;
    case Place::FRONT:
      return count >= 2 && index == 0;
    case Place::MIDDLE:
      return count == 3 && index == 1;
    case Place::BACK:
      return count >= 2 && index == count - 1;
    case Place::ORDINAL:
      return count >= 2 && index == ordinal - 1;
    case Place::PLUS:
      return count >= 2 && index == (count >= 4 ? 1 : 0);
    case Place::MINUS:
      return count >= 2 && index == count - (count >= 4 ? 2 : 1);
    case Place::FOREMOST:
      return count >= 4 && index == 0;
    case Place::REARMOST:
      return count >= 4 && index == count - 1;
    case Place::BY_FILE:
      return count % 2 == 0 || index == count / 2;
  }
  return false;
}

// The cheap tests come first: most legal moves differ from the text in
// their piece or their file, and only the rest need the file walked.
bool Fits(const Position& pos, Move mv, const MovePattern& pattern) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const Side side = pos.side;
  const int kind = pos.squares[from] - SideBit(side);
  if (pattern.kind >= 0 && kind != pattern.kind) return false;
  if (pattern.file && FileNumber(from, side) != pattern.file) return false;
  const Step step = StepOf(kind, from, to, side);
  if (step.verb != pattern.verb || step.number != pattern.number) return false;
  return pattern.place == Place::ANY || PlaceFits(pattern.place, pattern.ordinal, RankOnFile(pos, from));
}

}  // namespace

std::optional<MoveDescription> DescribeMove(const Position& pos, Move mv) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const Side side = pos.side;
  const PieceCode code = pos.squares[from];
  if (!ON_BOARD[from] || !ON_BOARD[to] || (code & SideBit(side)) == 0) return std::nullopt;
  MoveDescription d;
  d.kind = code - SideBit(side);
  d.file = FileNumber(from, side);
  const FileRank r = RankOnFile(pos, from);
  d.index = r.index;
  d.count = r.count;
  d.pawnPairElsewhere = d.kind == PAWN && r.count >= 2 && OtherFileHasPawnPair(pos, from);
  const Step step = StepOf(d.kind, from, to, side);
  d.verb = step.verb;
  d.number = step.number;
  return d;
}

Move FindDescribedMove(const Position& pos, std::span<const Move> legal, const MovePattern& pattern,
                       std::string& error) {
  Move found = 0;
  int matches = 0;
  for (Move mv : legal) {
    if (Fits(pos, mv, pattern)) {
      found = mv;
      ++matches;
    }
  }
  if (matches == 1) return found;
  error = matches == 0 ? "no legal move matches" : "matches " + std::to_string(matches) + " legal moves";
  return 0;
}

}  // namespace lanterra
