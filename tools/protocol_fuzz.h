// A seeded random-input tester for the engine protocols: it feeds sessions of
// random, mutated and well-formed command lines to the protocol loop
// in-process and checks every answer (protocol/session_check.h).
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "protocol/session_check.h"

namespace lanterra {

class ProtocolFuzzer {
 public:
  explicit ProtocolFuzzer(uint32_t seed) : rng(seed) {}
  // One input line, without its newline.
  std::string NextLine();

 private:
  int Below(int n) { return int(rng() % uint32_t(n)); }
  std::string WellFormedLine();
  std::string RandomGameLine();
  std::string RandomFen();
  std::string RandomNumber();
  std::string RandomBytes(int maxLength);
  std::string Mutate(std::string line);

  std::mt19937 rng;
};

struct FuzzReport {
  long long inputs = 0;
  long long sessions = 0;
  long long outputLines = 0;
  long long bestMoves = 0;
  long long errors = 0;       // "info string error" answers
  long long badLines = 0;     // answers no protocol allows (CheckSession)
  std::string firstBadLine;
};

// Runs inputs lines in sessions of linesPerSession, alternating the two
// dialects, with every search capped at depth 2.
FuzzReport FuzzProtocol(long long inputs, uint32_t seed, int linesPerSession = 2000);

}  // namespace lanterra
