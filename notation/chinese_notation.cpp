#include "notation/chinese_notation.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

#include "notation/text.h"

namespace lanterra {

namespace {

// What one character of a move text can mean.
enum class Token { PIECE, NUMBER, VERB, QUALIFIER };

struct Symbol {
  char32_t ch;
  Token token;
  int value;  // kind, number 1..9, verb +1/-1/0 or Place
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
    {U'退', Token::VERB, -1},         {U'平', Token::VERB, 0},
    {U'前', Token::QUALIFIER, int(Place::FRONT)},  {U'中', Token::QUALIFIER, int(Place::MIDDLE)},
    {U'後', Token::QUALIFIER, int(Place::BACK)},   {U'后', Token::QUALIFIER, int(Place::BACK)},
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

// Every character of every move read is looked up, so the table is searched
// in character order.
constexpr auto SYMBOLS_BY_CHARACTER = [] {
  std::array<Symbol, std::size(SYMBOLS)> sorted{};
  std::copy(std::begin(SYMBOLS), std::end(SYMBOLS), sorted.begin());
  std::sort(sorted.begin(), sorted.end(), [](const Symbol& a, const Symbol& b) { return a.ch < b.ch; });
  return sorted;
}();

std::optional<Symbol> Lookup(char32_t ch) {
  const auto it = std::lower_bound(SYMBOLS_BY_CHARACTER.begin(), SYMBOLS_BY_CHARACTER.end(), ch,
                                   [](const Symbol& s, char32_t c) { return s.ch < c; });
  if (it == SYMBOLS_BY_CHARACTER.end() || it->ch != ch) return std::nullopt;
  return *it;
}

// A move text holds four or five symbols; spaces between them are dropped.
struct Symbols {
  std::array<Symbol, 5> at;
  size_t size = 0;
};

// False on malformed UTF-8, a character that is no symbol, or too many.
bool ReadSymbols(std::string_view text, Symbols& out) {
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const size_t length = DecodeUtf8Char(text, i, cp);
    if (length == 0) return false;
    i += length;
    if (cp == U' ' || cp == U'\t' || cp == U'\u3000') continue;
    const std::optional<Symbol> s = Lookup(cp);
    if (!s || out.size == out.at.size()) return false;
    out.at[out.size++] = *s;
  }
  return true;
}

// A qualifier (前, 中, 後) or an ordinal (一..五) leading a text.
bool ReadPlace(const Symbol& s, MovePattern& text) {
  if (s.token == Token::QUALIFIER) {
    text.place = Place(s.value);
  } else if (s.token == Token::NUMBER && s.value <= 5) {
    text.place = Place::ORDINAL;
    text.ordinal = s.value;
  } else {
    return false;
  }
  return true;
}

// Accepted shapes, by token: piece file verb number ("炮二平五"),
// qualifier piece ... ("前車進一"), ordinal piece ... ("二兵平四"),
// qualifier or ordinal with a file instead of the piece ("前七進一"), and
// qualifier piece file ... ("前兵七進一").
bool SplitText(const Symbols& syms, MovePattern& text) {
  const size_t n = syms.size;
  if (n < 4) return false;
  if (syms.at[n - 2].token != Token::VERB || syms.at[n - 1].token != Token::NUMBER) return false;
  text.verb = syms.at[n - 2].value;
  text.number = syms.at[n - 1].value;
  const Symbol& a = syms.at[0];
  const Symbol& b = syms.at[1];
  if (n == 4) {
    if (a.token == Token::PIECE && b.token == Token::NUMBER) {
      text.kind = a.value;
      text.file = b.value;
      return true;
    }
    if (!ReadPlace(a, text)) return false;
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
  const Symbol& c = syms.at[2];
  if (b.token != Token::PIECE || c.token != Token::NUMBER || !ReadPlace(a, text)) return false;
  text.kind = b.value;
  text.file = c.value;
  return true;
}

// The characters a move is written with, in one character set; verbs are
// indexed by direction + 1 (back, sideways, forward) and qualifiers by
// place among two or three (front, middle, back).
struct Characters {
  std::array<std::array<std::string_view, 7>, 2> pieces;
  std::array<std::string_view, 3> verbs;
  std::array<std::string_view, 3> qualifiers;
};

constexpr Characters TRADITIONAL_CHARACTERS = {
    {{{"帥", "仕", "相", "馬", "車", "炮", "兵"}, {"將", "士", "象", "馬", "車", "炮", "卒"}}},
    {"退", "平", "進"},
    {"前", "中", "後"},
};
constexpr Characters SIMPLIFIED_CHARACTERS = {
    {{{"帅", "仕", "相", "马", "车", "炮", "兵"}, {"将", "士", "象", "马", "车", "炮", "卒"}}},
    {"退", "平", "进"},
    {"前", "中", "后"},
};
constexpr std::array<std::string_view, 10> CHINESE_NUMERALS = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr std::array<std::string_view, 10> WIDE_DIGITS = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

}  // namespace

bool IsNotationCharacter(char32_t ch) { return ch >= 0x80 && Lookup(ch).has_value(); }

Move ParseChineseMove(const Position& pos, std::string_view text, std::string& error) {
  Move legal[MAX_MOVES_PER_POSITION];
  const int n = LegalMoves(pos, legal);
  return ParseChineseMove(pos, std::span<const Move>(legal, size_t(n)), text, error);
}

Move ParseChineseMove(const Position& pos, std::span<const Move> legal, std::string_view text, std::string& error) {
  Symbols symbols{};
  MovePattern pattern;
  if (!ReadSymbols(text, symbols) || !SplitText(symbols, pattern)) {
    error = "not a move in Chinese notation";
    return 0;
  }
  return FindDescribedMove(pos, legal, pattern, error);
}

// Same pieces on one file are told apart as the official rules write them:
// - two of a kind are always 前 and 後 (前炮平五), even where the file alone
//   would leave one legal move;
// - three pawns on a file are 前, 中 and 後;
// - four or five pawns on a file are counted from the front, 一..五
//   (二兵平六), in Chinese numerals for either side;
// - when another file holds two or more pawns as well, the pawn's file takes
//   the piece's place after the qualifier (前七進一), since 前兵 would fit a
//   pawn on either file;
// - two advisors or two bishops on a file take no qualifier: the front one
//   can only go back and the rear one only forward, so the verb tells them
//   apart.
std::string ChineseMove(const Position& pos, Move mv, ChineseScript script) {
  const std::optional<MoveDescription> d = DescribeMove(pos, mv);
  if (!d) return {};
  const Characters& characters = script == ChineseScript::TRADITIONAL ? TRADITIONAL_CHARACTERS : SIMPLIFIED_CHARACTERS;
  const std::string_view piece = characters.pieces[pos.side][d->kind];
  const auto& numbers = pos.side == SIDE_RED ? CHINESE_NUMERALS : WIDE_DIGITS;
  std::string out;
  if (d->count < 2 || d->kind == ADVISOR || d->kind == BISHOP) {
    out += piece;
    out += numbers[d->file];
  } else {
    if (d->count >= 4) out += CHINESE_NUMERALS[d->index + 1];
    else if (d->index == 0) out += characters.qualifiers[0];
    else if (d->index == d->count - 1) out += characters.qualifiers[2];
    else out += characters.qualifiers[1];
    out += d->pawnPairElsewhere ? numbers[d->file] : piece;
  }
  out += characters.verbs[d->verb + 1];
  out += numbers[d->number];
  return out;
}

}  // namespace lanterra
