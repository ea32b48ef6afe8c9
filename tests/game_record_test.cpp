#include "notation/game_record.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "notation/fen_iccs.h"
#include "pgn/pgn_replay.h"
#include "pgn/pgn_source.h"
#include "pgn/pgn_splitter.h"

namespace lanterra {
namespace {

std::vector<Move> IccsMoves(std::string_view text) {
  std::vector<Move> moves;
  std::istringstream words{std::string(text)};
  for (std::string word; words >> word;) moves.push_back(ParseIccsMove(word));
  return moves;
}

std::string Repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// The record read back by the game-file reader: its one game's start and
// moves, and its Result tag.
void ReadBack(const std::string& record, Position& start, std::vector<Move>& moves, std::string& result) {
  PgnSource source;
  source.OpenText(record);
  PgnSplitter splitter(source);
  PgnGame game;
  ASSERT_TRUE(splitter.Next(game));
  std::string error;
  ASSERT_TRUE(ReplayGame(game, "record", start, moves, error)) << error;
  result = game.Result();
  EXPECT_EQ(game.termination, result);
  EXPECT_FALSE(splitter.Next(game)) << "one game only";
}

TEST(GameRecord, WritesTagsStartAndMovesThatReadBack) {
  GameHeader header{"Final \"A\"", "2024.05.01", "Red", "Black", "1-0", {}, {{"Round", "3"}}};
  Position handicap;
  handicap.SetUpStart(1);
  const std::string handicapFen = ToFen(handicap);
  ASSERT_NE(handicapFen, START_FEN);
  std::string record = FormatGameRecord(header, handicap, IccsMoves("h2e2 h9g7"), Notation::CHINESE);
  EXPECT_EQ(record, "[Game \"Chinese Chess\"]\n[Event \"Final \\\"A\\\"\"]\n[Date \"2024.05.01\"]\n[Red \"Red\"]\n"
                    "[Black \"Black\"]\n[Result \"1-0\"]\n[Round \"3\"]\n[FEN \"" +
                        handicapFen + "\"]\n\n1. 炮二平五 馬８進７\n1-0\n\n");

  // The normal start, however it was reached, is no FEN.
  Position start;
  std::string error;
  ASSERT_TRUE(ParseFen("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 12 40", start, error));
  record = FormatGameRecord(GameHeader{}, start, {}, Notation::WXF);
  EXPECT_EQ(record.find("FEN"), std::string::npos) << record;
  EXPECT_TRUE(record.ends_with("[Result \"*\"]\n\n*\n\n")) << record;
}

TEST(GameRecord, NumbersPairsAndEndsAsTheRulesSay) {
  constexpr const char* START = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w";
  constexpr const char* START_BLACK = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b";
  constexpr const char* RED_CHECKS = "4k4/8R/R8/9/9/9/9/9/9/3K5 w";
  const std::string rookShuffle = Repeated("a9a8 a0a1 a8a9 a1a0 ", 3);
  const std::string redChecks = Repeated("i8i9 e9e8 i9i8 e8e9 ", 3);
  // Rooks walking cycles of 8 and 9 squares bring no position back four
  // times within a hundred moves.
  std::string limit;
  for (int ply = 0; ply < 100; ++ply) {
    static const char* const blackWalk[] = {"i9i8", "i8i7", "i7i6", "i6i5", "i5i4", "i4i3", "i3i2", "i2i9"};
    static const char* const redWalk[] = {"a0a1", "a1a2", "a2a3", "a3a4", "a4a5", "a5a6", "a6a7", "a7a8", "a8a0"};
    limit += std::string(ply % 2 == 0 ? blackWalk[(ply / 2) % 8] : redWalk[(ply / 2) % 9]) + " ";
  }
  struct Case {
    const char* name;
    const char* fen;
    std::string moves;
    Notation notation;
    const char* result;  // the source's
    std::string tail;    // the record's end: all of its move text, or of a long game the last line
    const char* comment = "";
  };
  const Case cases[] = {
      {"black begins", START_BLACK, "h9g7 h2e2 b7e7", Notation::CHINESE, "0-1",
       "\n\n1. ... 馬８進７\n2. 炮二平五 炮２平５\n0-1\n\n"},
      {"black begins, ICCS", START_BLACK, "h9g7 h2e2 b7e7", Notation::ICCS, "*",
       "\n\n1. ... H9-G7 2. H2-E2 B7-E7 *\n\n"},
      {"simplified", START, "h2e2 h9g7 h0g2", Notation::SIMPLIFIED, "1/2-1/2",
       "\n\n1. 炮二平五 马８进７\n2. 马二进三\n1/2-1/2\n\n"},
      // The middle of three pawns, pawns doubled on another file: a WXF
      // move that looks like a move number.
      {"WXF 77.8", "5k3/9/2P6/2P3P2/2P3P2/9/9/9/9/3K5 w", "c6b6", Notation::WXF, "*", "\n\n1. 77.8\n*\n\n"},
      {"mate", "4k4/R8/9/9/9/9/9/9/9/3K4R w", "i0i9", Notation::CHINESE, "0-1",
       "\n\n1. 車一進九 {mate}\n1-0\n\n"},
      {"stalemate", "3k5/9/R8/9/9/9/9/9/9/4K4 w", "a7a8", Notation::WXF, "*", "\n\n1. R9+1 {stalemate}\n1-0\n\n"},
      {"perpetual check loses", RED_CHECKS, redChecks, Notation::WXF, "1/2-1/2",
       "\n\n1. R1+1 K5+1\n2. R1-1 K5-1\n3. R1+1 K5+1\n4. R1-1 K5-1\n5. R1+1 K5+1\n"
       "6. R1-1 K5-1 {perpetual check}\n0-1\n\n"},
      {"repetition", START_BLACK, rookShuffle, Notation::ICCS, "0-1",
       "\n\n1. ... A9-A8 2. A0-A1 A8-A9 3. A1-A0 A9-A8 4. A0-A1 A8-A9 5. A1-A0 A9-A8\n"
       "6. A0-A1 A8-A9 7. A1-A0 {repetition} 1/2-1/2\n\n"},
      {"100-move limit", "4k3r/9/9/9/9/1p7/9/9/9/R2K5 b", limit, Notation::ICCS, "1-0",
       "\n51. A4-A5 {100-move limit} 1/2-1/2\n\n"},
      // Played on past the rules' end, or stopped before it: the source's
      // word stands, its comment made safe to read back.
      {"past an ending", START_BLACK, rookShuffle + "a9a8", Notation::ICCS, "0-1", " 7. A1-A0 A9-A8 0-1\n\n"},
      {"no ending", START, "h2e2", Notation::CHINESE, "1-0", "\n\n1. 炮二平五 {engine said   bye}\n1-0\n\n",
       "engine said } bye"},
      {"no result", START, "h2e2", Notation::CHINESE, "1-0 on time", "\n\n1. 炮二平五\n*\n\n"},
  };
  for (const Case& c : cases) {
    Position start;
    std::string error;
    ASSERT_TRUE(ParseFen(c.fen, start, error)) << c.name;
    const std::vector<Move> moves = IccsMoves(c.moves);
    GameHeader header;
    header.result = c.result;
    header.comment = c.comment;
    const std::string record = FormatGameRecord(header, start, moves, c.notation);
    EXPECT_TRUE(record.ends_with(c.tail)) << c.name << ":\n" << record;

    Position readStart;
    std::vector<Move> readMoves;
    std::string result;
    ReadBack(record, readStart, readMoves, result);
    EXPECT_EQ(ToFen(readStart), ToFen(start)) << c.name;
    EXPECT_EQ(readMoves, moves) << c.name;
    EXPECT_NE(record.find("[Result \"" + result + "\"]"), std::string::npos) << c.name;
  }
}

TEST(GameRecord, RefusesAMoveThatDoesNotPlay) {
  Position start;
  start.SetUpStart(0);
  // Not the mover's piece, no piece at all, against the piece's rule.
  for (const char* moves : {"h2e2 h2e2", "e4e5", "h0h5"})
    EXPECT_EQ(FormatGameRecord(GameHeader{}, start, IccsMoves(moves), Notation::CHINESE), "") << moves;
}

}  // namespace
}  // namespace lanterra
