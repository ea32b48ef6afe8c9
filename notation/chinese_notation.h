// Chinese move notation, as game records and players write it: piece, file,
// direction and number ("炮二平五", "馬８進７", "前車進一"). Reading needs the
// position, because the text names a piece by its file or by its place
// among same pieces on one file, never by its square.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "notation/move_description.h"
#include "rules/position.h"

namespace lanterra {

// Reads one move in Chinese notation (UTF-8, traditional or simplified
// characters, red files as Chinese numerals, black files as full-width or
// ASCII digits). Returns the one legal move of pos that the text describes,
// or 0 with the reason in error when the text is malformed or describes no
// legal move or more than one.
Move ParseChineseMove(const Position& pos, std::string_view text, std::string& error);
// The same, for a caller that reads many texts in one position and so lists
// its legal moves (LegalMoves) once.
Move ParseChineseMove(const Position& pos, std::span<const Move> legal, std::string_view text, std::string& error);

// The character set a move is written in. Traditional is what game records
// of masters use; both are read.
enum class ChineseScript { TRADITIONAL, SIMPLIFIED };

// Writes a legal move of pos: Chinese numerals for red's files, full-width
// digits for black's, each counted from the mover's right ("炮二平五",
// "馬８進７"). Same pieces sharing a file are told apart as the official
// rules say, see the definition. Empty when mv does not move a piece of the
// side to move between two playing squares.
std::string ChineseMove(const Position& pos, Move mv, ChineseScript script = ChineseScript::TRADITIONAL);

// True for the characters beyond ASCII that moves in Chinese notation are
// written with: pieces, verbs, qualifiers and numerals. Text in an unknown
// encoding is told apart by how many of them it holds once decoded.
bool IsNotationCharacter(char32_t ch);

}  // namespace lanterra
