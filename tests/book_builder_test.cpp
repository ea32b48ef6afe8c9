#include "book/book_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "notation/fen_iccs.h"
#include "tests/tool_runner.h"

namespace lanterra {
namespace {

std::vector<Move> Line(const std::string& iccs) {
  std::vector<Move> moves;
  std::istringstream in(iccs);
  std::string m;
  while (in >> m) moves.push_back(ParseIccsMove(m));
  return moves;
}

Position Start() {
  Position pos;
  pos.SetUpStart(0);
  return pos;
}

// Entries per lock, start position left out.
std::map<uint32_t, std::vector<BookEntry>> ByLock(const std::vector<BookEntry>& entries) {
  std::map<uint32_t, std::vector<BookEntry>> runs;
  for (const BookEntry& e : entries)
    if (e.lock != Start().zobrist.lockB) runs[e.lock].push_back(e);
  return runs;
}

// Two games that reach, by transposition, the symmetric position after
// 1. c3c4 e6e5 2. g3g4, and leave it by mirror-image knight moves.
const char* const TRANSPOSED_GAMES[] = {"c3c4 e6e5 g3g4 h9g7", "g3g4 e6e5 c3c4 b9c7"};

TEST(BookBuilder, FoldsMirrorsAndGivesSymmetricPositionsBothImages) {
  BookBuilder builder;
  for (const char* game : TRANSPOSED_GAMES) builder.AddGame(Start(), Line(game));
  BookBuildStats stats;
  std::vector<BookEntry> entries = builder.Build({1, 1}, stats);

  auto runs = ByLock(entries);
  // After c3c4 and after g3g4 is one position; so is the position a ply later.
  ASSERT_EQ(runs.size(), 3u);
  std::vector<size_t> sizes;
  for (auto& [lock, run] : runs) sizes.push_back(run.size());
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<size_t>{1, 1, 2}));
  for (auto& [lock, run] : runs) {
    // Both games pass through every stored position, so every move of a
    // folded position has both games' weight.
    for (const BookEntry& e : run) EXPECT_EQ(e.weight, 2) << std::hex << e.lock << " " << IccsMove(e.move);
    if (run.size() == 2) {
      EXPECT_EQ(run[1].move, MirroredMove(run[0].move));
    }
  }
  EXPECT_EQ(stats.entries, 16 + 4);
  EXPECT_EQ(stats.positions, 4);
}

TEST(BookBuilder, IsDeterministicWhateverTheGameOrder) {
  const std::vector<std::string> games = {
      "h2e2 h9g7 h0g2 i9h9 i0h0 b9c7",   "h2e2 h9g7 h0g2 i9h9 i0h0 g6g5", "b2e2 b9c7 b0c2 a9b9",
      "c3c4 e6e5 g3g4 h9g7",             "g0e2 h9g7 h0g2 i9h9",          "h2e2 b9c7 h0g2 a9b9",
      "h2e2 h9g7 h0g2 i9h9 i0h0 b9c7",   "g3g4 e6e5 c3c4 b9c7",
  };
  std::vector<std::vector<uint8_t>> files;
  for (int order = 0; order < 3; ++order) {
    std::vector<std::string> shuffled = games;
    std::rotate(shuffled.begin(), shuffled.begin() + 3 * order, shuffled.end());
    if (order == 2) std::reverse(shuffled.begin(), shuffled.end());
    BookBuilder builder;
    for (const std::string& g : shuffled) builder.AddGame(Start(), Line(g));
    BookBuildStats stats;
    files.push_back(EncodeBook(builder.Build({2, 1}, stats)));
  }
  EXPECT_EQ(files[0], files[1]);
  EXPECT_EQ(files[0], files[2]);
  EXPECT_GT(files[0].size(), 16u * 8);
}

TEST(BookBuilder, StartRowIsTheFixedTableWhateverTheGames) {
  BookBuilder builder;
  for (int i = 0; i < 5; ++i) builder.AddGame(Start(), Line("e3e4 e6e5"));
  BookBuildStats stats;
  std::vector<BookEntry> entries = builder.Build({1, 1}, stats);
  // e3e4 is not one of the start moves, so nothing past the start is reachable.
  ASSERT_EQ(entries.size(), 16u);
  EXPECT_GE(stats.positionsUnreachable, 1);
  long total = 0;
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(entries[i].lock, 0x052656D5u);
    EXPECT_EQ(entries[i].move, START_BOOK_MOVES[i].move);
    EXPECT_EQ(entries[i].weight, START_BOOK_MOVES[i].weight);
    total += entries[i].weight;
  }
  EXPECT_EQ(total, 5036);
}

struct ThresholdCase {
  BookBuildOptions options;
  size_t entriesAfterStart;
};

TEST(BookBuilder, ThresholdsDropRarePositionsAndMoves) {
  // After h2e2: h9g7 in three games, b9c7 in one.
  BookBuilder builder;
  for (int i = 0; i < 3; ++i) builder.AddGame(Start(), Line("h2e2 h9g7 h0g2"));
  builder.AddGame(Start(), Line("h2e2 b9c7 h0g2"));
  const ThresholdCase cases[] = {
      {{1, 1}, 4},  // both replies, and h0g2 after each
      {{2, 1}, 3},  // the position after b9c7 is reached once
      {{2, 2}, 2},  // b9c7 is too rare
      {{4, 1}, 2},  // only the position after h2e2 is reached four times
      {{5, 1}, 0},
  };
  for (const ThresholdCase& c : cases) {
    BookBuildStats stats;
    std::vector<BookEntry> entries = builder.Build(c.options, stats);
    EXPECT_EQ(entries.size() - 16, c.entriesAfterStart) << c.options.minGames << "/" << c.options.minMoveGames;
  }
}

TEST(BookBuilder, ScalesTotalsToWhatOneDrawReaches) {
  BookBuilder builder;
  for (int i = 0; i < 20000; ++i) builder.AddGame(Start(), Line("h2e2 h9g7"));
  for (int i = 0; i < 20000; ++i) builder.AddGame(Start(), Line("h2e2 b9c7"));
  BookBuildStats stats;
  auto runs = ByLock(builder.Build({1, 1}, stats));
  ASSERT_EQ(runs.size(), 1u);
  auto& run = runs.begin()->second;
  ASSERT_EQ(run.size(), 2u);
  EXPECT_EQ(run[0].weight, run[1].weight);
  EXPECT_LE(run[0].weight + run[1].weight, 32767);
  EXPECT_GE(run[0].weight + run[1].weight, 32700);
  EXPECT_EQ(stats.positionsScaled, 1);
}

TEST(CheckBook, FindsOrderFaultsAndUnreachableEntries) {
  std::vector<BookEntry> entries;
  for (const StartMove& s : START_BOOK_MOVES) entries.push_back({0x052656D5u, s.move, s.weight});
  BookCheck clean = CheckBook(entries);
  EXPECT_EQ(clean.entries, 16);
  EXPECT_EQ(clean.positions, 1);
  EXPECT_EQ(clean.reachable, 16);
  EXPECT_EQ(clean.orderFaults, 0);

  entries.push_back({0xFFFFFFF0u, 0xA7AA, 1});  // no position leads there
  entries.push_back({0x00000001u, 0xA7AA, 1});  // out of order
  BookCheck faulty = CheckBook(entries);
  EXPECT_EQ(faulty.entries, 18);
  EXPECT_EQ(faulty.orderFaults, 1);
  EXPECT_LT(faulty.reachable, 18);
}

TEST(BookBuildCommand, RefusesThresholdsOutsideOneToIntMax) {
  std::string book = (std::filesystem::temp_directory_path() / "lanterra_threshold_book.dat").string();
  const std::pair<const char*, int> cases[] = {
      {"8", 0}, {"2147483647", 0}, {"0", 2}, {"2147483648", 2}, {"4294967296", 2}, {"99999999999", 2}, {"x", 2},
  };
  for (auto [value, exitCode] : cases) {
    for (const char* option : {"--min-games", "--min-move-games"}) {
      std::filesystem::remove(book);
      std::string args = "book build /dev/null -o " + book + " " + option + " " + value;
      EXPECT_EQ(test::RunTool(args).exitCode, exitCode) << option << " " << value;
      EXPECT_EQ(std::filesystem::exists(book), exitCode == 0) << option << " " << value;
    }
  }
  std::filesystem::remove(book);
}

}  // namespace
}  // namespace lanterra
