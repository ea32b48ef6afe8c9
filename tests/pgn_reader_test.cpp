#include "notation/pgn_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "notation/fen_iccs.h"

namespace lanterra {
namespace {

// Chinese moves with numbers and a comment, then an ICCS list without
// numbers or tags, then a game that breaks at black's second move.
constexpr const char* SAMPLE = R"([Game "Chinese Chess"]
[Event "Final"]
[Result "1-0"]
[FEN "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1"]

1. 炮二平五 馬８進７ {the usual reply}
2. 馬二進三 車９平８
3.車一平二
1-0

h2e2 h9g7 h0g2 i9h9 *

[Event "Broken"]
[Result "0-1"]
1. 炮二平五 馬８進７
2. 馬二進三 車９平９
0-1
)";

std::vector<PgnGame> ParseAll(std::string_view text) {
  PgnParser parser(text);
  std::vector<PgnGame> games;
  PgnGame game;
  while (parser.Next(game)) games.push_back(game);
  return games;
}

std::string Iccs(const std::vector<Move>& moves) {
  std::string s;
  for (Move mv : moves) s += (s.empty() ? "" : " ") + IccsMove(mv);
  return s;
}

TEST(PgnReader, SplitsGamesAndStripsNumbersCommentsAndResults) {
  std::vector<PgnGame> games = ParseAll(SAMPLE);
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(games[0].Tag("Event"), "Final");
  EXPECT_EQ(games[0].Result(), "1-0");
  EXPECT_EQ(games[0].moves, (std::vector<std::string>{"炮二平五", "馬８進７", "馬二進三", "車９平８", "車一平二"}));
  EXPECT_EQ(games[1].Result(), "*");
  EXPECT_EQ(games[1].moves.size(), 4u);
  EXPECT_EQ(games[2].index, 3);
  EXPECT_EQ(games[2].line, 13);
}

TEST(PgnReader, ReplaysChineseAndIccsAndNamesTheFaultyMove) {
  std::vector<PgnGame> games = ParseAll(SAMPLE);
  Position start;
  std::vector<Move> moves;
  std::string error;
  ASSERT_TRUE(ReplayGame(games[0], "sample.pgn", start, moves, error)) << error;
  EXPECT_EQ(Iccs(moves), "h2e2 h9g7 h0g2 i9h9 i0h0");
  ASSERT_TRUE(ReplayGame(games[1], "sample.pgn", start, moves, error)) << error;
  EXPECT_EQ(Iccs(moves), "h2e2 h9g7 h0g2 i9h9");

  EXPECT_FALSE(ReplayGame(games[2], "sample.pgn", start, moves, error));
  for (const char* part : {"sample.pgn:13", "game 3", "Broken", "move 2 black", "\"車９平９\""})
    EXPECT_NE(error.find(part), std::string::npos) << part << " missing in: " << error;
}

TEST(PgnReader, RefusesBadFenAndIllegalIccs) {
  const char* cases[] = {
      "[FEN \"rnbakabnr/9/1c5c1 w\"]\nh2e2\n",
      "h2e3\n",
      "h2e2 h9g7 h2e2\n",
  };
  for (const char* text : cases) {
    std::vector<PgnGame> games = ParseAll(text);
    ASSERT_EQ(games.size(), 1u) << text;
    Position start;
    std::vector<Move> moves;
    std::string error;
    EXPECT_FALSE(ReplayGame(games[0], "t", start, moves, error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

TEST(PgnReader, ReadsPlainAndGzipAlike) {
  auto dir = std::filesystem::temp_directory_path();
  std::string plain = (dir / "lanterra_pgn_plain.pgn").string();
  std::string packed = (dir / "lanterra_pgn_packed.pgn.gz").string();
  std::ofstream(plain, std::ios::binary) << SAMPLE;
  gzFile gz = gzopen(packed.c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  gzwrite(gz, SAMPLE, unsigned(std::char_traits<char>::length(SAMPLE)));
  gzclose(gz);

  std::string a, b, error;
  ASSERT_TRUE(ReadTextFile(plain, a, error)) << error;
  ASSERT_TRUE(ReadTextFile(packed, b, error)) << error;
  EXPECT_EQ(a, SAMPLE);
  EXPECT_EQ(b, SAMPLE);
  EXPECT_FALSE(ReadTextFile((dir / "lanterra_no_such_file.pgn").string(), a, error));

  // The command converts what it can, reports the rest and counts both.
  std::string command = std::string(LANTERRA_TOOL) + " pgn " + plain + " 2>/dev/null";
  FILE* out = popen(command.c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, out)) output.append(buffer, n);
  pclose(out);
  EXPECT_EQ(output,
            "[Result \"1-0\"]\nh2e2 h9g7 h0g2 i9h9 i0h0\n"
            "[Result \"*\"]\nh2e2 h9g7 h0g2 i9h9\n"
            "games 3 ok 2 failed 1\n");
  std::filesystem::remove(plain);
  std::filesystem::remove(packed);
}

}  // namespace
}  // namespace lanterra
