// What Chinese and WXF notation both say about a move, in the mover's own
// terms: which piece moves (its kind, and its file or its place among same
// pieces on one file), whether it goes forward, back or sideways, and then a
// file or a distance. The two notations spell the same parts differently, so
// their writers share the description and their readers share the search
// for the one legal move a text describes.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "rules/position.h"

namespace lanterra {

// A move as the mover sees it. Files count 1..9 from the mover's right.
struct MoveDescription {
  int kind = 0;   // PieceKind of the moving piece
  int file = 0;   // the file it leaves
  int index = 0;  // its place among the mover's same pieces on that file, 0 the front one
  int count = 1;  // how many of them stand on that file, itself included
  // Another file holds two or more of the mover's pawns as well, so that a
  // place on a file does not say which file is meant.
  bool pawnPairElsewhere = false;
  int verb = 0;    // +1 forward, -1 back, 0 sideways
  int number = 0;  // the target file, or for straight moves along a file the distance
};

// The description of mv in pos, or nothing when mv does not move a piece of
// the side to move between two playing squares.
std::optional<MoveDescription> DescribeMove(const Position& pos, Move mv);

// Which of several same pieces on one file a text names. Chinese texts use
// FRONT, MIDDLE, BACK and ORDINAL; WXF texts use PLUS, MINUS, FOREMOST,
// REARMOST and BY_FILE.
enum class Place {
  ANY,       // the file alone, which must leave one legal move
  FRONT,     // 前
  MIDDLE,    // 中, of three
  BACK,      // 後
  ORDINAL,   // 一..五, counted from the front
  PLUS,      // + : the front of two or three, the second from the front of four or five
  MINUS,     // - : the rear of two or three, the second from the rear of four or five
  FOREMOST,  // ++ of four or five
  REARMOST,  // -- of four or five
  BY_FILE,   // the file digit: the middle one of three or five, any of an even number
};

// What a move text says, to be matched against the legal moves.
struct MovePattern {
  int kind = -1;
  int file = 0;  // 0: the text names no file
  Place place = Place::ANY;
  int ordinal = 0;  // 1..5 for Place::ORDINAL
  int verb = 0;
  int number = 0;
};

// The one move of legal (the legal moves of pos) that pattern describes, or
// 0 with the reason in error when none or several do.
Move FindDescribedMove(const Position& pos, std::span<const Move> legal, const MovePattern& pattern,
                       std::string& error);

}  // namespace lanterra
