// lanterra bench: a fixed set of decisions at a fixed level and seed. The
// node total is the engine's signature: any change to move generation order,
// sorting, scoring or the generator changes it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "engine/engine.h"
#include "engine/transposition_table.h"
#include "rules/notation.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

constexpr int BENCH_LEVEL = 4;
constexpr uint32_t BENCH_SEED = 1;

// A FEN (or a start setup index) and moves played from it, as the game
// history leading to the position to decide.
struct BenchPosition {
  std::string_view name;
  int setup;  // 0..3, or -1 to use fen
  std::string_view fen;
  std::string_view moves;
};

// Middlegames and endgames come from self-play games of an unrelated engine.
constexpr BenchPosition BENCH_POSITIONS[] = {
    {"start", 0, "", ""},
    {"handicap, red without both knights", 2, "", ""},
    {"central cannon vs screen horses",
     -1, "2bk1ab1r/9/1c4n2/4p4/r5p1p/3N5/4P1P1P/B3C1N2/9/3AKAB1R w - - 0 13", ""},
    {"elephant opening", -1, "r1b1kab2/4a4/1cn1c4/p1C3C1p/2pr5/4pn3/P1P1P1P1P/4B1N2/1R1NA4/4KAB1R w - - 13 13", ""},
    {"same-direction cannons", -1, "2bak2r1/4a4/2n1b4/2p1n1p1p/pr7/2P3P1P/P3P4/C3B1Nc1/R2N5/3AKAB1R w - - 8 13", ""},
    {"pawn opening", -1, "2baka1nr/6cC1/2n1b4/p3p3p/2p6/1r2cNB2/P1P5P/R1N1C4/4A4/2BAK2R1 w - - 8 13", ""},
    {"rook in the centre, black to move",
     -1, "2bak1b2/4ar3/6n1r/4p4/pP6p/5nR2/1C2P1P1P/2NC2N2/4A4/2B1KAB2 b - - 0 16", ""},
    {"late middlegame", -1, "2b1k4/3Ra4/3c1rn2/4p4/1Nb3p1p/3r5/4P1P1P/3CB1N2/4A4/2BAK4 w - - 26 26", ""},
    {"knights and cannons, black to move",
     -1, "2b1ka3/4a4/2P1b4/8p/p3p4/4c1B2/PR2Nr2P/2n3N2/4A4/3AK1B2 b - - 6 31", ""},
    {"rook endgame", -1, "5R3/3k5/4b4/9/4p1b2/2B5P/9/9/3rAK3/2Br5 w - - 1 46", ""},
    {"rook and knight vs rook", -1, "2b1ka3/4a4/4b4/9/p8/6P1r/7n1/9/4AR3/3AK4 w - - 0 46", ""},
    {"cannon and knight endgame", -1, "2b3C2/4ak3/9/9/4n4/2B1N4/P8/9/4A4/4KA3 w - - 5 46", ""},
    {"rook vs defenders", -1, "3akab2/1R7/4b4/8p/4p4/8r/2p6/5A2B/9/3AK1B2 w - - 0 46", ""},
    {"mate in two", -1, "4k4/9/9/9/9/9/9/9/1R7/R2K5 w - - 0 1", ""},
    // Red has just checked twice in a cycle; repeating it would be banned as
    // perpetual check, so the history changes the decision.
    {"perpetual check refused", -1, "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w - - 0 1", "d5e5 e9d9 e5d5 d9e9"},
};
static_assert(std::size(BENCH_POSITIONS) >= 12);

// Splits text at spaces into views of it.
void AppendWords(std::string_view text, Args& out) {
  while (!text.empty()) {
    size_t space = text.find(' ');
    if (space != 0) out.push_back(text.substr(0, space));
    if (space == std::string_view::npos) break;
    text.remove_prefix(space + 1);
  }
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int RunBench(const Args& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "usage: lanterra bench\n");
    return 2;
  }
  // One seed for the whole run, and no book.
  Engine engine({}, BENCH_SEED);
  engine.SetLevel(BENCH_LEVEL);

  long long totalNodes = 0;
  double totalSeconds = 0;
  int number = 0;
  for (const BenchPosition& bp : BENCH_POSITIONS) {
    ++number;
    Position pos;
    if (bp.setup >= 0) {
      pos.SetUpStart(bp.setup);
      if (!bp.moves.empty()) {
        std::fprintf(stderr, "lanterra bench: moves after a setup are not supported\n");
        return 1;
      }
    } else {
      Args words;
      AppendWords(bp.fen, words);
      if (!bp.moves.empty()) {
        words.push_back("moves");
        AppendWords(bp.moves, words);
      }
      if (!ReadPositionArgs(words, 0, pos)) return 1;
    }
    auto start = std::chrono::steady_clock::now();
    const Decision decision = engine.Decide(pos);
    double seconds = SecondsSince(start);
    totalNodes += decision.nodes;
    totalSeconds += seconds;
    std::printf("%2d %-38.*s bestmove %s depth %d nodes %d score %d\n", number, int(bp.name.size()),
                bp.name.data(), IccsMove(decision.move).c_str(), decision.depth, decision.nodes, decision.score);
  }

  // Every decision starts by emptying the 16 MiB table; time it on its own,
  // on a table of the engine's size.
  constexpr int CLEAR_ROUNDS = 20;
  auto table = std::make_unique<TranspositionTable>();
  auto clearStart = std::chrono::steady_clock::now();
  for (int i = 0; i < CLEAR_ROUNDS; ++i) table->Clear();
  double clearMs = SecondsSince(clearStart) * 1000 / CLEAR_ROUNDS;

  std::printf("time %.3f s, table clear %.2f ms per decision\n", totalSeconds, clearMs);
  std::printf("bench: nodes %lld nps %.0f\n", totalNodes, totalSeconds > 0 ? double(totalNodes) / totalSeconds : 0.0);
  return 0;
}

CommandRegistrar reg{"bench", "bench  fixed engine decisions; prints the node signature and speed", &RunBench};

}  // namespace
}  // namespace lanterra::tool
