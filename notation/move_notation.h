// One door to the move notations, for the game's move list and move field
// and for the tool: write a move in the notation a player reads, and read a
// move typed in any of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rules/position.h"

namespace lanterra {

enum class Notation {
  CHINESE,     // traditional characters, as master games are recorded: 炮二平五
  SIMPLIFIED,  // simplified characters: 马８进７
  WXF,         // the World Xiangqi Federation's letters: C2.5
  ICCS,        // coordinates from red's left and side: h2e2
};

// The notations by the names the tool's --notation takes, in the order of
// the enum.
inline constexpr std::string_view NOTATION_NAMES[] = {"chinese", "simplified", "wxf", "iccs"};

// The notation of one of NOTATION_NAMES; nothing for any other text.
std::optional<Notation> NotationNamed(std::string_view name);

// Writes a legal move of pos. Empty when mv does not move a piece of the
// side to move between two playing squares.
std::string WriteMove(const Position& pos, Move mv, Notation notation);

// Reads text as a move of pos in the given notation (CHINESE and SIMPLIFIED
// both read either character set). Returns the one legal move it
// describes, or 0 with the reason in error.
Move ReadMove(const Position& pos, std::string_view text, Notation notation, std::string& error);
// The same for text in whichever notation it is written in.
Move ReadMove(const Position& pos, std::string_view text, std::string& error);

// The notation text is written in, judged by its shape alone: any character
// beyond ASCII makes it Chinese, then ICCS and WXF are tried. Nothing when it
// has the shape of none.
std::optional<Notation> DetectNotation(std::string_view text);

}  // namespace lanterra
