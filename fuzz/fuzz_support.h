// What the harnesses share: a failed property stops the run the way a crash
// does, so that libFuzzer keeps the input, and positions of every shape
// chosen by the input's bytes.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "notation/fen_iccs.h"
#include "rules/long_game.h"

namespace lanterra::fuzz {

// Unlike assert, on in every build: the replay test runs release builds too.
inline void Check(bool ok, std::string_view what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %.*s\n", int(what.size()), what.data());
  std::abort();
}

inline bool IsLegal(const Position& pos, Move mv) {
  Move legal[MAX_MOVES_PER_POSITION];
  const int count = LegalMoves(pos, legal);
  for (int i = 0; i < count; ++i)
    if (legal[i] == mv) return true;
  return false;
}

// The start, handicaps, a middlegame, several same pieces on one file (which
// the notations tell apart by place), bare kings, a mate, a stalemate and a
// perpetual check in the making.
constexpr const char* FENS[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/R1BAKAB1R w - - 0 1",
    "2bak1b2/4ar3/6n1r/4p4/pP6p/5nR2/1C2P1P1P/2NC2N2/4A4/2B1KAB2 b - - 0 16",
    "5R3/3k5/4b4/9/4p1b2/2B5P/9/9/3rAK3/2Br5 w - - 1 46",
    "3k5/9/9/4P4/2P1P4/2P1P4/9/9/9/4K4 w - - 0 1",
    "4k4/9/9/9/9/2p1p4/2p1p4/4p4/9/3K5 b - - 0 1",
    "4k4/4a4/4b4/9/2P1P1P2/2P1P4/9/9/9/3K5 w - - 0 1",
    "2bak4/9/2n6/9/2R6/9/2R6/2N6/9/3K5 w - - 0 1",
    "3akab2/9/4b4/p3R3p/4R4/4C4/P3C3P/9/4A4/3K1A3 w - - 0 1",
    "3k5/9/9/9/9/9/9/9/9/4K4 w - - 0 1",
    "4k4/9/9/9/9/9/9/9/1R7/R2K5 w - - 0 1",
    "3k5/9/3R5/9/9/9/9/9/9/4K4 b - - 0 1",
    "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w - - 0 1",
};

// One of FENS and then up to 60 legal moves, each picked by the input.
inline Position ChoosePosition(FuzzedDataProvider& input) {
  Position pos;
  std::string error;
  Check(ParseFen(input.PickValueInArray(FENS), pos, error), "a table position reads");
  const int plies = input.ConsumeIntegralInRange(0, 60);
  for (int ply = 0; ply < plies; ++ply) {
    Move legal[MAX_MOVES_PER_POSITION];
    const int count = LegalMoves(pos, legal);
    if (count == 0) break;
    PlayLongGameMove(pos, legal[input.ConsumeIntegralInRange(0, count - 1)]);
  }
  return pos;
}

}  // namespace lanterra::fuzz
