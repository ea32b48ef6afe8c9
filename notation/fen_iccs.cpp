#include "notation/fen_iccs.h"

#include <cctype>

#include "rules/attacks.h"
#include "rules/board_tables.h"

namespace lanterra {

namespace {

// FEN letters by kind: K A B N R C P. E and H are read as other programs
// write bishop and knight.
constexpr std::string_view FEN_LETTERS = "KABNRCP";

int KindOfLetter(char upper) {
  if (upper == 'E') return BISHOP;
  if (upper == 'H') return KNIGHT;
  size_t k = FEN_LETTERS.find(upper);
  return k == std::string_view::npos ? -1 : int(k);
}

// How many pieces of each kind one side may have.
constexpr int MAX_OF_KIND[7] = {1, 2, 2, 2, 2, 2, 5};

}  // namespace

bool ParseFen(std::string_view fen, Position& pos, std::string& error) {
  auto fail = [&](size_t at, const std::string& what) {
    error = "bad FEN at character " + std::to_string(at + 1) + ": " + what;
    return false;
  };
  size_t i = 0;
  while (i < fen.size() && fen[i] == ' ') ++i;

  PieceCode board[256] = {};
  int counts[2][7] = {};
  int rank = 3, file = 3;
  for (; i < fen.size() && fen[i] != ' '; ++i) {
    char c = fen[i];
    if (c == '/') {
      if (file != 12) return fail(i, "rank " + std::to_string(12 - rank) + " has " + std::to_string(file - 3) + " files, not 9");
      if (++rank > 12) return fail(i, "more than 10 ranks");
      file = 3;
    } else if (c >= '1' && c <= '9') {
      file += c - '0';
      if (file > 12) return fail(i, "rank " + std::to_string(12 - rank) + " is longer than 9 files");
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      int kind = KindOfLetter(char(std::toupper(static_cast<unsigned char>(c))));
      if (kind < 0) return fail(i, std::string("unknown piece letter '") + c + "'");
      if (file > 11) return fail(i, "rank " + std::to_string(12 - rank) + " is longer than 9 files");
      Side s = std::isupper(static_cast<unsigned char>(c)) ? SIDE_RED : SIDE_BLACK;
      if (++counts[s][kind] > MAX_OF_KIND[kind])
        return fail(i, std::string("too many pieces '") + c + "'");
      Square sq = SquareAt(rank, file);
      if (kind == KING && (!IN_PALACE[sq] || OnOwnHalf(sq, Opponent(s))))
        return fail(i, std::string(s == SIDE_RED ? "red" : "black") + " king outside its palace");
      const SquareTable* reach = kind == BISHOP ? &BISHOP_SQUARES : kind == ADVISOR ? &ADVISOR_SQUARES : nullptr;
      if (reach && (!(*reach)[sq] || !OnOwnHalf(sq, s)))
        return fail(i, std::string(s == SIDE_RED ? "red " : "black ") + (kind == BISHOP ? "bishop" : "advisor") + " on " +
                           IccsSquare(sq) + ", where none can stand");
      board[sq] = PieceCode(SideBit(s) + kind);
      ++file;
    } else {
      return fail(i, std::string("unexpected character '") + c + "'");
    }
  }
  if (rank != 12 || file != 12) return fail(i, "the board needs 10 ranks of 9 files");
  if (counts[0][KING] != 1 || counts[1][KING] != 1) return fail(i, "each side needs exactly one king");

  while (i < fen.size() && fen[i] == ' ') ++i;
  Side side = SIDE_RED;
  if (i < fen.size()) {
    char c = fen[i];
    if (c == 'w' || c == 'r')
      side = SIDE_RED;
    else if (c == 'b')
      side = SIDE_BLACK;
    else
      return fail(i, std::string("side to move must be 'w' or 'b', not '") + c + "'");
    ++i;
    if (i < fen.size() && fen[i] != ' ') return fail(i, "side to move must be one letter");
  }
  // The castling, en passant and counter fields carry nothing in xiangqi;
  // they are read over without checking beyond their count.
  int fields = 0;
  while (i < fen.size()) {
    while (i < fen.size() && fen[i] == ' ') ++i;
    if (i == fen.size()) break;
    if (++fields > 4) return fail(i, "too many fields");
    while (i < fen.size() && fen[i] != ' ') ++i;
  }

  Position p;
  p.ClearPosition();
  for (int sq = 0; sq < 256; ++sq) {
    if (board[sq]) p.PlacePiece(Square(sq), board[sq]);
  }
  if (side == SIDE_BLACK) p.ToggleSide();
  p.CollapseHistory();
  // The side that has just moved cannot have left its king attacked.
  if (KingAttacked(p, Opponent(side))) return fail(0, "the side not to move is in check");
  pos = p;
  error.clear();
  return true;
}

std::string ToFen(const Position& pos) {
  std::string fen;
  for (int rank = 3; rank <= 12; ++rank) {
    int empty = 0;
    for (int file = 3; file <= 11; ++file) {
      PieceCode code = pos.squares[SquareAt(rank, file)];
      if (code == 0) {
        ++empty;
        continue;
      }
      if (empty) fen += char('0' + empty);
      empty = 0;
      const char letter = FEN_LETTERS[KindOf(code)];
      fen += SideOf(code) == SIDE_RED ? letter : char(std::tolower(letter));
    }
    if (empty) fen += char('0' + empty);
    if (rank < 12) fen += '/';
  }
  fen += pos.side == SIDE_RED ? " w - - 0 1" : " b - - 0 1";
  return fen;
}

Square ParseIccsSquare(std::string_view text) {
  if (text.size() != 2) return 0;
  char f = char(std::tolower(static_cast<unsigned char>(text[0]))), r = text[1];
  if (f < 'a' || f > 'i' || r < '0' || r > '9') return 0;
  return SquareAt(12 - (r - '0'), 3 + (f - 'a'));
}

Move ParseIccsMove(std::string_view text) {
  // Both "h2e2" and the dashed "h2-e2" are common.
  size_t toAt = text.size() == 5 && text[2] == '-' ? 3 : 2;
  if (text.size() != toAt + 2) return 0;
  Square from = ParseIccsSquare(text.substr(0, 2)), to = ParseIccsSquare(text.substr(toAt, 2));
  if (from == 0 || to == 0 || from == to) return 0;
  return MoveOf(from, to);
}

std::string IccsSquare(int sq) {
  return {char('a' + FileOf(sq) - 3), char('0' + 12 - RankOf(sq))};
}

std::string IccsMove(Move mv) { return IccsSquare(MoveFrom(mv)) + IccsSquare(MoveTo(mv)); }

}  // namespace lanterra
