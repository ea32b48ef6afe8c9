// Chinese move notation, as game records and players write it: piece, file,
// direction and number ("炮二平五", "馬８進７", "前車進一"). Reading needs the
// position, because the text names a piece by its file or by its place
// among same pieces on one file, never by its square.
#pragma once

#include <string>
#include <string_view>

#include "rules/position.h"

namespace lanterra {

// Reads one move in Chinese notation (UTF-8, traditional or simplified
// characters, red files as Chinese numerals, black files as full-width or
// ASCII digits). Returns the one legal move of pos that the text describes,
// or 0 with the reason in error when the text is malformed or describes no
// legal move or more than one.
Move ParseChineseMove(const Position& pos, std::string_view text, std::string& error);

// Writes a legal move of pos in simplified characters: Chinese numerals for
// red, full-width digits for black, 前/中/后 or 一..五 where several same
// pieces share a file.
std::string ChineseMove(const Position& pos, Move mv);

// True for the characters beyond ASCII that moves in Chinese notation are
// written with: pieces, verbs, qualifiers and numerals. Text in an unknown
// encoding is told apart by how many of them it holds once decoded.
bool IsNotationCharacter(char32_t ch);

}  // namespace lanterra
