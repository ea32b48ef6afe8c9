// Game records as PGN: tag pairs, the moves numbered in pairs in any of the
// notations, and how the game ended. The game-file reader (pgn/) reads what
// is written here back as the same game. Only text is made here, no file is
// touched, so the page's move record can be saved with the same writer.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "notation/move_notation.h"
#include "rules/game_end.h"
#include "rules/position.h"

namespace lanterra {

using PgnTags = std::vector<std::pair<std::string, std::string>>;

// One tag pair as "[Name "value"]", quotes and backslashes in the value
// escaped so that it reads back the same.
std::string FormatTagPair(std::string_view name, std::string_view value);

// The tag pairs in the order given (quotes and backslashes in values
// escaped), a blank line, then the moves from the normal start as "1. H2-E2
// H9-G7 2. ...", the comment in braces unless it is empty, and the result
// token, in lines of at most 79 characters; a blank line ends the game.
std::string FormatIccsPgn(const PgnTags& tags, const std::vector<Move>& moves, std::string_view comment,
                          std::string_view result);

// What a record says of a game besides its moves. The result and the
// comment are the source's word on how the game ended; the rules overrule
// both when the last move ends the game.
struct GameHeader {
  std::string event, date, red, black;
  std::string result;   // "1-0", "0-1", "1/2-1/2" or "*"; anything else is written as "*"
  std::string comment;  // why the game ended, when the rules do not say
  PgnTags more;         // further tags, written after Result; none may repeat a name written here
};

// The words a record gives an ending other than NONE: "mate", "stalemate",
// "perpetual check", "repetition", "100-move limit".
std::string_view EndingName(Ending ending);

// The game that starts at start and plays moves, as a PGN record: the tags
// Game "Chinese Chess", Event, Date, Red, Black, Result, the further tags,
// and FEN (as ToFen writes it) unless the start is the normal one; a blank
// line; the moves in the notation, numbered in pairs ("1. 炮二平五 馬８進７",
// and "1. ... 馬８進７" for a game black begins); then the result token,
// after the comment in braces when there is one; a blank line ends the
// record. ICCS moves are laid out as FormatIccsPgn lays them out; the
// others one pair to a line, as game collections in Chinese notation are.
//
// The moves are judged as the game judges them (JudgeMove after each). When
// the last one ends the game, the ending's result and name stand in for the
// source's; a game that stops before any ending, or plays on past one under
// other rules, keeps the source's. Empty when a move does not play.
std::string FormatGameRecord(const GameHeader& header, const Position& start, std::span<const Move> moves,
                             Notation notation);

}  // namespace lanterra
