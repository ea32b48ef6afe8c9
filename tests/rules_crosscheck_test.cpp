// Cross-check of move generation against Fairy-Stockfish, an independent
// engine: every root move's perft count in positions reached by seeded
// random play must agree.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <unistd.h>

#include "rules/perft.h"
#include "tests/test_positions.h"

namespace lanterra {
namespace {

constexpr const char* FAIRY_STOCKFISH = "/usr/games/fairy-stockfish";

// Its UCI squares count ranks from 1, so they are ICCS with the rank + 1.
std::string UciMove(Move mv) {
  std::string s = IccsMove(mv);
  auto up = [](char c) { return c == '9' ? std::string("10") : std::string(1, char(c + 1)); };
  return s.substr(0, 1) + up(s[1]) + s.substr(2, 1) + up(s[3]);
}

// Runs all positions through one engine process: "position fen", then
// "go perft D", whose divide lines read "move: count".
std::vector<std::map<std::string, uint64_t>> FairyDivide(const std::vector<std::string>& fens, int depth) {
  std::string script = std::filesystem::temp_directory_path() / ("lanterra-fsf-" + std::to_string(getpid()));
  {
    FILE* f = std::fopen(script.c_str(), "w");
    std::fprintf(f, "uci\nsetoption name UCI_Variant value xiangqi\n");
    for (const std::string& fen : fens) std::fprintf(f, "position fen %s\ngo perft %d\n", fen.c_str(), depth);
    std::fprintf(f, "quit\n");
    std::fclose(f);
  }
  std::string command = std::string(FAIRY_STOCKFISH) + " < " + script + " 2>/dev/null";
  FILE* out = popen(command.c_str(), "r");
  std::vector<std::map<std::string, uint64_t>> result;
  std::map<std::string, uint64_t> current;
  char line[512];
  while (out && std::fgets(line, sizeof line, out)) {
    std::string s(line);
    if (s.rfind("Nodes searched", 0) == 0) {
      result.push_back(current);
      current.clear();
      continue;
    }
    size_t colon = s.find(": ");
    if (colon != std::string::npos && colon >= 4 && colon <= 6 && s.find(' ') == colon + 1)
      current[s.substr(0, colon)] = std::stoull(s.substr(colon + 2));
  }
  if (out) pclose(out);
  std::remove(script.c_str());
  return result;
}

TEST(CrossCheck, PerftDivideAgreesWithFairyStockfish) {
  if (!std::filesystem::exists(FAIRY_STOCKFISH)) GTEST_SKIP() << FAIRY_STOCKFISH << " is missing; install fairy-stockfish";
  std::mt19937 rng(77);
  std::vector<Position> positions;
  std::vector<std::string> fens;
  for (int i = 0; i < 320; ++i) {
    Position pos;
    pos.SetUpStart(i % 4);
    test::RandomPlay(pos, rng, 4 + int(rng() % 80));
    positions.push_back(pos);
    fens.push_back(ToFen(pos));
  }
  const int depth = 2;
  auto theirs = FairyDivide(fens, depth);
  ASSERT_EQ(theirs.size(), fens.size()) << "Fairy-Stockfish did not answer every position";
  for (size_t i = 0; i < positions.size(); ++i) {
    Position& pos = positions[i];
    std::map<std::string, uint64_t> ours;
    Move legal[MAX_MOVES_PER_POSITION];
    const int n = LegalMoves(pos, legal);
    for (int k = 0; k < n; ++k) {
      pos.DoMove(legal[k]);
      ours[UciMove(legal[k])] = Perft(pos, depth - 1);
      pos.UndoMove();
    }
    for (auto& [move, count] : theirs[i]) {
      auto it = ours.find(move);
      ASSERT_NE(it, ours.end()) << fens[i] << ": we lack the move " << move;
      ASSERT_EQ(it->second, count) << fens[i] << ": move " << move;
    }
    for (auto& [move, count] : ours)
      ASSERT_TRUE(theirs[i].count(move)) << fens[i] << ": Fairy-Stockfish lacks the move " << move;
  }
}

}  // namespace
}  // namespace lanterra
