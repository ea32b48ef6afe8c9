#include "notation/move_notation.h"

#include <iterator>

#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "notation/move_description.h"
#include "notation/wxf_notation.h"

namespace lanterra {

namespace {

// Spaces around a typed move are not part of it.
std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

Move ReadIccsMove(const Position& pos, std::string_view text, std::string& error) {
  const Move mv = ParseIccsMove(text);
  if (mv == 0) {
    error = "not a move in ICCS coordinates";
    return 0;
  }
  Move legal[MAX_MOVES_PER_POSITION];
  const int n = LegalMoves(pos, legal);
  for (int i = 0; i < n; ++i)
    if (legal[i] == mv) return mv;
  error = "not a legal move";
  return 0;
}

}  // namespace

std::optional<Notation> NotationNamed(std::string_view name) {
  for (size_t i = 0; i < std::size(NOTATION_NAMES); ++i)
    if (NOTATION_NAMES[i] == name) return Notation(i);
  return std::nullopt;
}

std::string WriteMove(const Position& pos, Move mv, Notation notation) {
  switch (notation) {
    case Notation::CHINESE:
      return ChineseMove(pos, mv, ChineseScript::TRADITIONAL);
    case Notation::SIMPLIFIED:
      return ChineseMove(pos, mv, ChineseScript::SIMPLIFIED);
    case Notation::WXF:
      return WxfMove(pos, mv);
    case Notation::ICCS:
      break;
  }
  // ICCS names squares, so it needs no position, but it too is written only
  // for a move of the side to move.
  if (!DescribeMove(pos, mv)) return {};
  return IccsMove(mv);
}

Move ReadMove(const Position& pos, std::string_view text, Notation notation, std::string& error) {
  text = Trimmed(text);
  switch (notation) {
    case Notation::CHINESE:
    case Notation::SIMPLIFIED:
      return ParseChineseMove(pos, text, error);
    case Notation::WXF:
      return ParseWxfMove(pos, text, error);
    case Notation::ICCS:
      break;
  }
  return ReadIccsMove(pos, text, error);
}

Move ReadMove(const Position& pos, std::string_view text, std::string& error) {
  const std::optional<Notation> notation = DetectNotation(text);
  if (!notation) {
    error = "not a move in Chinese, WXF or ICCS notation";
    return 0;
  }
  return ReadMove(pos, text, *notation, error);
}

std::optional<Notation> DetectNotation(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return Notation::CHINESE;
  // No text has both shapes: an ICCS move is four characters with a file
  // letter third or five with a dash third, a WXF move four with a
  // direction third.
  text = Trimmed(text);
  if (ParseIccsMove(text) != 0) return Notation::ICCS;
  if (LooksLikeWxfMove(text)) return Notation::WXF;
  return std::nullopt;
}

}  // namespace lanterra
