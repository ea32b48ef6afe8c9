// lanterra think: one move decision of the engine, as the game makes it.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "engine/book.h"
#include "engine/engine.h"
#include "rules/notation.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

int RunThink(const Args& args) {
  long long level = 3;
  long long seed = (long long)std::time(nullptr);
  bool useBook = true;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    if ((args[i] == "--level" || args[i] == "--seed") && i + 1 == args.size()) {
      std::fprintf(stderr, "lanterra think: %.*s needs a value\n", int(args[i].size()), args[i].data());
      return 2;
    }
    if (args[i] == "--level") {
      if (!ParseNumber(args[++i], level) || level < 0 || level > MAX_LEVEL) {
        std::fprintf(stderr, "lanterra think: level must be 0..6\n");
        return 2;
      }
    } else if (args[i] == "--seed") {
      if (!ParseNumber(args[++i], seed) || seed < 0 || seed > 0xFFFFFFFFLL) {
        std::fprintf(stderr, "lanterra think: seed must be 0..4294967295\n");
        return 2;
      }
    } else if (args[i] == "--no-book") {
      useBook = false;
    } else if (args[i].starts_with("--")) {
      std::fprintf(stderr, "lanterra think: unknown option '%.*s'\n", int(args[i].size()), args[i].data());
      return 2;
    } else {
      break;
    }
  }
  Position pos;
  if (!ReadPositionArgs(args, i, pos)) return 2;

  Engine engine(EmbeddedBookData(), uint32_t(seed));
  engine.SetLevel(int(level));
  engine.UseBook(useBook);

  auto start = std::chrono::steady_clock::now();
  const Decision decision = engine.Decide(pos);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  if (decision.move == 0) {
    std::printf("bestmove (none)\n");
    return 1;
  }
  std::printf("bestmove %s depth %d nodes %d score %d\n", IccsMove(decision.move).c_str(), decision.depth,
              decision.nodes, decision.score);
  std::fprintf(stderr, "time %.3f s\n", seconds);
  return 0;
}

CommandRegistrar reg{"think",
                     "think [--level N] [--seed S] [--no-book] [FEN] [moves m1 m2 ...]  "
                     "engine move decision (level 0..6, default 3)",
                     &RunThink};

}  // namespace
}  // namespace lanterra::tool
