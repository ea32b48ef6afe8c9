// The notations against the master games: 27,758 games as masters recorded
// them, in traditional characters. Slow (every legal move of every position
// is written and read in three notations), so the sanitizer run leaves the
// suite out; it skips when the games are not beside the project.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "notation/move_description.h"
#include "pgn/pgn_replay.h"
#include "pgn/pgn_source.h"
#include "pgn/pgn_splitter.h"
#include "tests/notation_round_trip.h"

namespace lanterra {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct MasterGame {
  std::string startFen;
  std::vector<Move> moves;
  std::vector<std::string> texts;  // each move as the source writes it
};

class MasterGames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::filesystem::exists(LANTERRA_MASTER_GAMES)) return;
    games = std::make_unique<std::vector<MasterGame>>();
    PgnSource source;
    std::string error;
    ASSERT_TRUE(source.Open(LANTERRA_MASTER_GAMES, error)) << error;
    PgnSplitter reader(source);
    PgnGame game;
    Position start;
    MasterGame master;
    while (reader.Next(game)) {
      // One game of the source does not play (a move no legal move matches).
      if (!ReplayGame(game, LANTERRA_MASTER_GAMES, start, master.moves, error)) continue;
      master.startFen = ToFen(start);
      master.texts = std::move(game.moves);
      games->push_back(std::move(master));
    }
  }
  static void TearDownTestSuite() { games.reset(); }

  void SetUp() override {
    if (!games) GTEST_SKIP() << LANTERRA_MASTER_GAMES << " is missing";
  }

  static Position StartOf(const MasterGame& game) {
    Position pos;
    std::string error;
    EXPECT_TRUE(ParseFen(game.startFen, pos, error)) << error;
    return pos;
  }

  static void Play(Position& pos, Move mv) {
    ASSERT_TRUE(pos.DoMove(mv));
    pos.CollapseHistory();
  }

  static inline std::unique_ptr<std::vector<MasterGame>> games;
};

// Every legal move, not only the one played, of every position the games
// pass through (each position once) is written in each notation and must
// read back as itself.
TEST_F(MasterGames, EveryLegalMoveReadsBackInEachNotation) {
  const Clock::time_point begin = Clock::now();
  std::unordered_set<uint64_t> seen;
  long plies = 0, positions = 0, moves = 0;
  for (const MasterGame& game : *games) {
    Position pos = StartOf(game);
    for (const Move played : game.moves) {
      ++plies;
      const uint64_t key = uint64_t(pos.zobrist.lockA) << 32 | pos.zobrist.key;
      if (seen.insert(key).second) {
        ++positions;
        ASSERT_NO_FATAL_FAILURE(test::CheckLegalMovesReadBack(pos, moves));
      }
      Play(pos, played);
    }
  }
  std::printf("%ld plies, %ld distinct positions, %ld legal moves written and read three ways in %.1f s\n", plies,
              positions, moves, Seconds(Clock::now() - begin));
  EXPECT_GT(positions, 1000000);
}

// The writer follows the official tandem rule where the source, like many
// records, names a tandem piece by its file when that leaves one legal move
// ("車二進一" for the only one of two rooks on file 二 that can go there);
// any other difference would be a fault of the writer.
TEST_F(MasterGames, WritesWhatTheSourceWritesExceptTandemsByFile) {
  const auto startsWithQualifier = [](std::string_view text) {
    for (std::string_view q : {"前", "中", "後", "一", "二", "三", "四", "五"})
      if (text.starts_with(q)) return true;
    return false;
  };
  long total = 0, equal = 0, tandemsByFile = 0, others = 0;
  for (const MasterGame& game : *games) {
    Position pos = StartOf(game);
    for (size_t i = 0; i < game.moves.size(); ++i) {
      const std::string written = ChineseMove(pos, game.moves[i]);
      const std::string& source = game.texts[i];
      ++total;
      if (written == source) {
        ++equal;
      } else if (startsWithQualifier(written) && !startsWithQualifier(source) &&
                 written.substr(written.size() - 6) == source.substr(source.size() - 6)) {
        ++tandemsByFile;
      } else if (++others <= 10) {
        ADD_FAILURE() << ToFen(pos) << " " << IccsMove(game.moves[i]) << ": source " << source << ", written "
                      << written;
      }
      Play(pos, game.moves[i]);
    }
  }
  const double share = 100.0 * double(equal) / double(total);
  std::printf("%ld moves: %ld (%.2f%%) written as the source writes them, %ld tandems the source names by file, "
              "%ld other differences\n",
              total, equal, share, tandemsByFile, others);
  EXPECT_EQ(others, 0);
  EXPECT_GE(share, 99.3);
}

// Writing a game's moves must cost no more than reading them: the tool's
// Chinese game files are only as fast as this.
TEST_F(MasterGames, WritingCostsNoMoreThanReading) {
  Clock::duration reading{}, writing{};
  size_t bytes = 0;
  for (const MasterGame& game : *games) {
    const Position start = StartOf(game);
    Position pos = start;
    Clock::time_point t = Clock::now();
    for (const std::string& text : game.texts) {
      std::string error;
      Play(pos, ParseChineseMove(pos, text, error));
    }
    reading += Clock::now() - t;
    pos = start;
    t = Clock::now();
    for (const Move mv : game.moves) {
      bytes += ChineseMove(pos, mv).size();
      Play(pos, mv);
    }
    writing += Clock::now() - t;
  }
  std::printf("master games in Chinese notation: reading %.2f s, writing %.2f s (%zu bytes)\n", Seconds(reading),
              Seconds(writing), bytes);
  EXPECT_LE(writing, reading);
}

}  // namespace
}  // namespace lanterra
