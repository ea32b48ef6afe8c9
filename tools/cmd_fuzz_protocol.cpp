// lanterra fuzz-protocol: the engine protocols against a million random
// inputs. A benchmark: it prints its figures and fails only on a fault.
#include <chrono>
#include <cstdio>

#include "tools/protocol_fuzz.h"
#include "tools/command.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

int RunFuzzProtocol(const Args& args) {
  long long inputs = 1000000;
  long long seed = 1;
  if (args.size() >= 1 && (!ParseNumber(args[0], inputs) || inputs < 1)) {
    std::fprintf(stderr, "lanterra fuzz-protocol: the input count must be a positive number\n");
    return 2;
  }
  if (args.size() >= 2 && (!ParseNumber(args[1], seed) || seed < 0 || seed > 0xFFFFFFFFLL)) {
    std::fprintf(stderr, "lanterra fuzz-protocol: seed must be 0..4294967295\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  FuzzReport report = FuzzProtocol(inputs, uint32_t(seed));
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("fuzz-protocol: %lld inputs in %lld sessions, %lld answers, %lld bestmoves, %lld errors, "
              "%lld bad answers, %.1f s (%.0f inputs/s)\n",
              report.inputs, report.sessions, report.outputLines, report.bestMoves, report.errors,
              report.badLines, seconds, double(report.inputs) / seconds);
  if (report.badLines) {
    std::printf("first bad answer: %s\n", report.firstBadLine.c_str());
    return 1;
  }
  return 0;
}

CommandRegistrar reg{"fuzz-protocol", "fuzz-protocol [INPUTS] [SEED]  random input against ucci/uci (default 1000000)",
                     &RunFuzzProtocol};

}  // namespace
}  // namespace lanterra::tool
