#include "notation/chinese_notation.h"

#include <array>
#include <optional>
#include <vector>

#include "notation/text.h"

namespace lanterra {

namespace {

// What one character of a move text can mean.
enum class Token { PIECE, NUMBER, VERB, QUALIFIER };

enum Qualifier { FRONT, MIDDLE, BACK };

struct Symbol {
  char32_t ch;
  Token token;
  int value;  // kind, number 1..9, verb +1/-1/0 or qualifier
};

// Both character sets, the red-only forms some records use (俥, 傌, 帥),
// and the three ways digits are written.
constexpr Symbol SYMBOLS[] = {
    {U'車', Token::PIECE, ROOK},      {U'车', Token::PIECE, ROOK},     {U'俥', Token::PIECE, ROOK},
    {U'馬', Token::PIECE, KNIGHT},    {U'马', Token::PIECE, KNIGHT},   {U'傌', Token::PIECE, KNIGHT},
    {U'炮', Token::PIECE, CANNON},    {U'砲', Token::PIECE, CANNON},   {U'包', Token::PIECE, CANNON},
    {U'相', Token::PIECE, BISHOP},    {U'象', Token::PIECE, BISHOP},   {U'仕', Token::PIECE, ADVISOR},
    {U'士', Token::PIECE, ADVISOR},   {U'帥', Token::PIECE, KING},     {U'帅', Token::PIECE, KING},
    {U'將', Token::PIECE, KING},      {U'将', Token::PIECE, KING},     {U'兵', Token::PIECE, PAWN},
    {U'卒', Token::PIECE, PAWN},      {U'進', Token::VERB, 1},         {U'进', Token::VERB, 1},
    {U'退', Token::VERB, -1},         {U'平', Token::VERB, 0},         {U'前', Token::QUALIFIER, FRONT},
    {U'中', Token::QUALIFIER, MIDDLE}, {U'後', Token::QUALIFIER, BACK}, {U'后', Token::QUALIFIER, BACK},
    {U'一', Token::NUMBER, 1},        {U'二', Token::NUMBER, 2},       {U'三', Token::NUMBER, 3},
    {U'四', Token::NUMBER, 4},        {U'五', Token::NUMBER, 5},       {U'六', Token::NUMBER, 6},
    {U'七', Token::NUMBER, 7},        {U'八', Token::NUMBER, 8},       {U'九', Token::NUMBER, 9},
    {U'１', Token::NUMBER, 1},        {U'２', Token::NUMBER, 2},       {U'３', Token::NUMBER, 3},
    {U'４', Token::NUMBER, 4},        {U'５', Token::NUMBER, 5},       {U'６', Token::NUMBER, 6},
    {U'７', Token::NUMBER, 7},        {U'８', Token::NUMBER, 8},       {U'９', Token::NUMBER, 9},
    {U'1', Token::NUMBER, 1},         {U'2', Token::NUMBER, 2},        {U'3', Token::NUMBER, 3},
    {U'4', Token::NUMBER, 4},         {U'5', Token::NUMBER, 5},        {U'6', Token::NUMBER, 6},
    {U'7', Token::NUMBER, 7},         {U'8', Token::NUMBER, 8},        {U'9', Token::NUMBER, 9},
};

std::optional<Symbol> Lookup(char32_t ch) {
  for (const Symbol& s : SYMBOLS)
    if (s.ch == ch) return s;
  return std::nullopt;
}

// Decodes UTF-8, dropping spaces; false on a malformed sequence.
bool DecodeUtf8(std::string_view text, std::vector<char32_t>& out) {
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    size_t length = DecodeUtf8Char(text, i, cp);
    if (length == 0) return false;
    i += length;
    if (cp != U' ' && cp != U'\t' && cp != U'\u3000') out.push_back(cp);
  }
  return true;
}

// Files are counted from the mover's right, so red's first file is board
// file 11 and black's is board file 3.
int FileNumber(int sq, Side side) { return side == SIDE_RED ? 12 - FileOf(sq) : FileOf(sq) - 2; }
// How far a square lies from the mover's home rank: larger is further forward.
int Progress(int sq, Side side) { return side == SIDE_RED ? 12 - RankOf(sq) : RankOf(sq) - 3; }

// Knights, advisors and bishops change file on every move, so their number
// names the target file; the straight movers give the distance instead.
bool MovesDiagonally(int kind) { return kind == KNIGHT || kind == ADVISOR || kind == BISHOP; }

// Where the piece on sq stands among the mover's same pieces on its file:
// index 0 is the front one.
struct FileRank {
  int index = 0;
  int count = 0;
};

FileRank RankOnFile(const Position& pos, int sq) {
  FileRank r;
  PieceCode code = pos.squares[sq];
  int file = FileOf(sq);
  for (int rank = 3; rank <= 12; ++rank) {
    int other = SquareAt(rank, file);
    if (pos.squares[other] != code) continue;
    ++r.count;
    if (Progress(other, pos.side) > Progress(sq, pos.side)) ++r.index;
  }
  return r;
}

// True when another file than sq's holds two or more of the mover's pawns,
// so that a qualifier alone would not say which file is meant.
bool OtherFileHasPawnPair(const Position& pos, int sq) {
  PieceCode pawn = PieceCode(SideBit(pos.side) + PAWN);
  for (int file = 3; file <= 11; ++file) {
    if (file == FileOf(sq)) continue;
    int n = 0;
    for (int rank = 3; rank <= 12; ++rank) n += pos.squares[SquareAt(rank, file)] == pawn;
    if (n >= 2) return true;
  }
  return false;
}

// The parts of a move text; a part the text leaves out stays unset.
struct MoveText {
  int kind = -1;
  int file = 0;
  int qualifier = -1;  // FRONT, MIDDLE or BACK
  int ordinal = 0;     // 1..5 counted from the front
  int verb = 0;
  int number = 0;
};

// Accepted shapes, by token: piece file verb number ("炮二平五"),
// qualifier piece ... ("前車進一"), ordinal piece ... ("二兵平四"),
// qualifier or ordinal with a file instead of the piece ("前七進一"), and
// qualifier piece file ... ("前兵七進一").
bool SplitText(const std::vector<char32_t>& chars, MoveText& text) {
  std::vector<Symbol> syms;
  for (char32_t ch : chars) {
    auto s = Lookup(ch);
    if (!s) return false;
    syms.push_back(*s);
  }
  size_t n = syms.size();
  if (n < 4 || n > 5) return false;
  if (syms[n - 2].token != Token::VERB || syms[n - 1].token != Token::NUMBER) return false;
  text.verb = syms[n - 2].value;
  text.number = syms[n - 1].value;
  const Symbol& a = syms[0];
  const Symbol& b = syms[1];
  if (n == 4) {
    if (a.token == Token::PIECE && b.token == Token::NUMBER) {
      text.kind = a.value;
      text.file = b.value;
      return true;
    }
    if (a.token == Token::QUALIFIER) text.qualifier = a.value;
    else if (a.token == Token::NUMBER && a.value <= 5) text.ordinal = a.value;
    else return false;
    if (b.token == Token::PIECE) {
      text.kind = b.value;
    } else if (b.token == Token::NUMBER) {
      // Only pawns come doubled on two files at once.
      text.kind = PAWN;
      text.file = b.value;
    } else {
      return false;
    }
    return true;
  }
  const Symbol& c = syms[2];
  if (b.token != Token::PIECE || c.token != Token::NUMBER) return false;
  if (a.token == Token::QUALIFIER) text.qualifier = a.value;
  else if (a.token == Token::NUMBER && a.value <= 5) text.ordinal = a.value;
  else return false;
  text.kind = b.value;
  text.file = c.value;
  return true;
}

bool Matches(const Position& pos, Move mv, const MoveText& text) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const Side side = pos.side;
  int kind = pos.squares[from] - SideBit(side);
  if (text.kind >= 0 && kind != text.kind) return false;
  if (text.file && FileNumber(from, side) != text.file) return false;
  if (text.qualifier >= 0 || text.ordinal) {
    FileRank r = RankOnFile(pos, from);
    if (r.count < 2) return false;
    if (text.qualifier == FRONT && r.index != 0) return false;
    if (text.qualifier == BACK && r.index != r.count - 1) return false;
    if (text.qualifier == MIDDLE && (r.count != 3 || r.index != 1)) return false;
    if (text.ordinal && r.index != text.ordinal - 1) return false;
  }
  int advance = Progress(to, side) - Progress(from, side);
  int verb = advance > 0 ? 1 : advance < 0 ? -1 : 0;
  if (verb != text.verb) return false;
  int number = verb == 0 || MovesDiagonally(kind) ? FileNumber(to, side) : (advance < 0 ? -advance : advance);
  return number == text.number;
}

constexpr std::array<std::string_view, 7> RED_PIECES = {"帅", "仕", "相", "马", "车", "炮", "兵"};
constexpr std::array<std::string_view, 7> BLACK_PIECES = {"将", "士", "象", "马", "车", "炮", "卒"};
constexpr std::array<std::string_view, 10> CHINESE_NUMERALS = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr std::array<std::string_view, 10> WIDE_DIGITS = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

}  // namespace

bool IsNotationCharacter(char32_t ch) { return ch >= 0x80 && Lookup(ch).has_value(); }

Move ParseChineseMove(const Position& pos, std::string_view text, std::string& error) {
  std::vector<char32_t> chars;
  MoveText parts;
  if (!DecodeUtf8(text, chars) || !SplitText(chars, parts)) {
    error = "not a move in Chinese notation";
    return 0;
  }
  Move legal[MAX_MOVES_PER_POSITION];
  int n = LegalMoves(pos, legal);
  Move found = 0;
  int matches = 0;
  for (int i = 0; i < n; ++i) {
    if (Matches(pos, legal[i], parts)) {
      found = legal[i];
      ++matches;
    }
  }
  if (matches == 1) return found;
  error = matches == 0 ? "no legal move matches" : "matches " + std::to_string(matches) + " legal moves";
  return 0;
}

std::string ChineseMove(const Position& pos, Move mv) {
  const int from = MoveFrom(mv), to = MoveTo(mv);
  const Side side = pos.side;
  int kind = pos.squares[from] - SideBit(side);
  if (kind < 0 || kind > PAWN) return "?";
  const auto& pieces = side == SIDE_RED ? RED_PIECES : BLACK_PIECES;
  const auto& numbers = side == SIDE_RED ? CHINESE_NUMERALS : WIDE_DIGITS;
  std::string out;
  FileRank r = RankOnFile(pos, from);
  // Advisors and bishops on one file never need a qualifier: one goes
  // forward and the other back, so the direction tells them apart.
  if (r.count < 2 || kind == ADVISOR || kind == BISHOP) {
    out += pieces[kind];
    out += numbers[FileNumber(from, side)];
  } else {
    if (r.count >= 4) out += CHINESE_NUMERALS[r.index + 1];
    else if (r.index == 0) out += "前";
    else if (r.index == r.count - 1) out += "后";
    else out += "中";
    if (kind == PAWN && OtherFileHasPawnPair(pos, from)) out += numbers[FileNumber(from, side)];
    else out += pieces[kind];
  }
  int advance = Progress(to, side) - Progress(from, side);
  out += advance > 0 ? "进" : advance < 0 ? "退" : "平";
  int number = advance == 0 || MovesDiagonally(kind) ? FileNumber(to, side) : (advance < 0 ? -advance : advance);
  out += numbers[number];
  return out;
}

}  // namespace lanterra
