#include "notation/wxf_notation.h"

#include "notation/move_description.h"

namespace lanterra {

namespace {

// Indexed by PieceKind.
constexpr char LETTERS[] = "KAEHRCP";

// The kind a letter names, or -1. B (bishop) and N (knight) are the letters
// of chess and of other programs' move lists.
int KindOfLetter(char c) {
  if (c == 'B') return BISHOP;
  if (c == 'N') return KNIGHT;
  for (int kind = KING; kind <= PAWN; ++kind)
    if (LETTERS[kind] == c) return kind;
  return -1;
}

bool IsFileDigit(char c) { return c >= '1' && c <= '9'; }
bool IsSign(char c) { return c == '+' || c == '-'; }
Place PlaceOfSign(char c) { return c == '+' ? Place::PLUS : Place::MINUS; }

// The shapes read, after spaces are dropped and letters raised to upper case,
// by their first two characters: piece and file ("C2"), piece and sign
// ("C+"), sign and piece ("+C"), two signs for the outer pawns of four or
// five ("++", "--"), and a pawn's file with a sign, or with the file again
// for the middle of three ("3+", "33"). Then comes the direction, + - . or
// =, and a digit.
bool SplitText(std::string_view text, MovePattern& pattern) {
  char s[4];
  size_t n = 0;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    if (n == 4) return false;
    s[n++] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
  }
  if (n != 4 || !IsFileDigit(s[3])) return false;
  if (s[2] == '+') pattern.verb = 1;
  else if (s[2] == '-') pattern.verb = -1;
  else if (s[2] == '.' || s[2] == '=') pattern.verb = 0;
  else return false;
  pattern.number = s[3] - '0';

  const char a = s[0], b = s[1];
  if (KindOfLetter(a) >= 0) {
    pattern.kind = KindOfLetter(a);
    if (IsFileDigit(b)) {
      pattern.file = b - '0';
      pattern.place = Place::BY_FILE;
    } else if (IsSign(b)) {
      pattern.place = PlaceOfSign(b);
    } else {
      return false;
    }
  } else if (IsSign(a)) {
    if (b == a) {
      pattern.kind = PAWN;
      pattern.place = a == '+' ? Place::FOREMOST : Place::REARMOST;
    } else if (KindOfLetter(b) >= 0) {
      pattern.kind = KindOfLetter(b);
      pattern.place = PlaceOfSign(a);
    } else {
      return false;
    }
  } else if (IsFileDigit(a)) {
    pattern.kind = PAWN;
    pattern.file = a - '0';
    if (IsSign(b)) pattern.place = PlaceOfSign(b);
    else if (b == a) pattern.place = Place::BY_FILE;
    else return false;
  } else {
    return false;
  }
  return true;
}

}  // namespace

// Same pieces on one file, as the federation writes them:
// - two of a kind: + for the front one and - for the rear one in place of
//   the file (R+.3, C--1), even where the file alone would leave one legal
//   move;
// - three pawns: P+, the middle one by its file (P3.4), P-;
// - four pawns: ++, P+, P-, --; five: ++, P+, the middle one by its file,
//   P-, --;
// - when two files hold two or more pawns each, the file comes first and
//   then + or -, or for the middle of three the file again (3+.4, 33.4,
//   3-.4, 7+.6);
// - two advisors or two bishops on a file are written by the file, as in
//   Chinese notation: the front one can only go back and the rear one only
//   forward.
std::string WxfMove(const Position& pos, Move mv) {
  const std::optional<MoveDescription> d = DescribeMove(pos, mv);
  if (!d) return {};
  const char letter = LETTERS[d->kind];
  const char file = char('0' + d->file);
  std::string out;
  if (d->count < 2 || d->kind == ADVISOR || d->kind == BISHOP) {
    out = {letter, file};
  } else if (d->pawnPairElsewhere) {
    out = {file, d->index == 0 ? '+' : d->index == d->count - 1 ? '-' : file};
  } else if (d->count >= 4 && d->index == 0) {
    out = "++";
  } else if (d->count >= 4 && d->index == d->count - 1) {
    out = "--";
  } else {
    // Of four or five, + and - name the second from either end.
    const int outer = d->count >= 4 ? 1 : 0;
    out = {letter, d->index == outer ? '+' : d->index == d->count - 1 - outer ? '-' : file};
  }
  out += d->verb > 0 ? '+' : d->verb < 0 ? '-' : '.';
  out += char('0' + d->number);
  return out;
}

Move ParseWxfMove(const Position& pos, std::string_view text, std::string& error) {
  Move legal[MAX_MOVES_PER_POSITION];
  const int n = LegalMoves(pos, legal);
  return ParseWxfMove(pos, std::span<const Move>(legal, size_t(n)), text, error);
}

Move ParseWxfMove(const Position& pos, std::span<const Move> legal, std::string_view text, std::string& error) {
  MovePattern pattern;
  if (!SplitText(text, pattern)) {
    error = "not a move in WXF notation";
    return 0;
  }
  return FindDescribedMove(pos, legal, pattern, error);
}

bool LooksLikeWxfMove(std::string_view text) {
  MovePattern pattern;
  return SplitText(text, pattern);
}

}  // namespace lanterra
