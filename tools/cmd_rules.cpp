// Commands that inspect the rules core: perft, key and moves.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "notation/fen_iccs.h"
#include "notation/move_notation.h"
#include "rules/perft.h"
#include "tools/notation_option.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

int RunPerft(const Args& args) {
  bool divide = false;
  Args rest;
  for (auto a : args) {
    if (a == "--divide")
      divide = true;
    else
      rest.push_back(a);
  }
  long long depth = 0;
  if (rest.empty() || !ParseNumber(rest[0], depth) || depth < 1 || depth > 8) {
    std::fprintf(stderr, "usage: lanterra perft DEPTH [--divide] [FEN] (DEPTH 1..8)\n");
    return 2;
  }
  Position pos;
  if (!ReadPositionArgs(rest, 1, pos)) return 2;
  auto start = std::chrono::steady_clock::now();
  uint64_t total = 0;
  if (divide) {
    Move legal[MAX_MOVES_PER_POSITION];
    const int count = LegalMoves(pos, legal);
    for (int i = 0; i < count; ++i) {
      pos.DoMove(legal[i]);
      uint64_t n = Perft(pos, int(depth) - 1);
      pos.UndoMove();
      std::printf("%s %llu\n", IccsMove(legal[i]).c_str(), (unsigned long long)n);
      total += n;
    }
  } else {
    total = Perft(pos, int(depth));
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("nodes %llu\n", (unsigned long long)total);
  std::printf("time %.3f s nps %.0f\n", seconds, seconds > 0 ? double(total) / seconds : 0.0);
  return 0;
}

int RunKey(const Args& args) {
  Position pos;
  if (!ReadPositionArgs(args, 0, pos)) return 2;
  std::printf("key %08X lockA %08X lockB %08X\n", pos.zobrist.key, pos.zobrist.lockA, pos.zobrist.lockB);
  return 0;
}

int RunMoves(const Args& given) {
  Args args = given;
  std::optional<Notation> notation;
  if (!TakeNotationOption(args, "moves", notation)) return 2;
  Position pos;
  if (!ReadPositionArgs(args, 0, pos)) return 2;
  // Every generated move, with the ones DoMove would refuse marked: those
  // missing from the legal list, which keeps the same order.
  Move moves[MAX_MOVES_PER_POSITION], legal[MAX_MOVES_PER_POSITION];
  const int count = pos.ListMoves(moves, false);
  const int legalCount = LegalMoves(pos, legal);
  for (int i = 0, next = 0; i < count; ++i) {
    const bool refused = next == legalCount || legal[next] != moves[i];
    if (!refused) ++next;
    const std::string text = notation ? WriteMove(pos, moves[i], *notation) : IccsMove(moves[i]);
    std::printf("%s%s\n", text.c_str(), refused ? " refused" : "");
  }
  std::printf("moves %d legal %d\n", count, legalCount);
  return 0;
}

CommandRegistrar perftCommand{"perft", "perft DEPTH [--divide] [FEN]   count leaf nodes", &RunPerft};
CommandRegistrar keyCommand{"key", "key [FEN]   print the position's Zobrist key words", &RunKey};
CommandRegistrar movesCommand{"moves",
                              "moves [--notation chinese|simplified|wxf|iccs] [FEN]   list pseudo-legal moves in "
                              "generation order (ICCS, or in the notation)",
                              &RunMoves};

}  // namespace
}  // namespace lanterra::tool
