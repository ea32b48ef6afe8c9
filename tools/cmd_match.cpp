// lanterra match: our engine at one level against an outside engine.
#include <cstdio>
#include <iostream>
#include <optional>

#include "match/match.h"
#include "tools/command.h"
#include "tools/notation_option.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

int Fail(const char* text) {
  std::fprintf(stderr, "lanterra match: %s\n", text);
  return 2;
}

int RunMatchCommand(const Args& given) {
  Args args = given;
  std::optional<Notation> notation;
  if (!TakeNotationOption(args, "match", notation)) return 2;
  MatchSettings settings;
  bool rankBaseSet = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    bool hasValue = i + 1 < args.size();
    long long number = 0;
    auto numberIn = [&](long long low, long long high) {
      return hasValue && ParseNumber(args[i + 1], number) && number >= low && number <= high;
    };
    if (option == "--level") {
      if (!numberIn(0, 6)) return Fail("--level must be 0..6");
      settings.level = int(number);
    } else if (option == "--openings") {
      if (!numberIn(1, 1000)) return Fail("--openings must be 1..1000");
      settings.openings = int(number);
    } else if (option == "--plies") {
      if (!numberIn(0, 40)) return Fail("--plies must be 0..40");
      settings.openingPlies = int(number);
    } else if (option == "--seed") {
      if (!numberIn(0, 0xFFFFFFFFLL)) return Fail("--seed must be 0..4294967295");
      settings.seed = uint32_t(number);
    } else if (option == "--skill") {
      if (!numberIn(-20, 20)) return Fail("--skill must be -20..20");
      settings.engine.skill = int(number);
    } else if (option == "--nodes") {
      if (!numberIn(1, 1000000000)) return Fail("--nodes must be 1..1000000000");
      settings.engine.nodes = int32_t(number);
    } else if (option == "--depth") {
      if (!numberIn(1, 64)) return Fail("--depth must be 1..64");
      settings.engine.depth = int(number);
    } else if (option == "--rank-base") {
      if (!numberIn(0, 1)) return Fail("--rank-base must be 0 or 1");
      settings.engine.rankBase = int(number);
      rankBaseSet = true;
    } else if (option == "--timeout") {
      if (!numberIn(1, 86400)) return Fail("--timeout must be 1..86400 seconds");
      settings.engine.timeoutSeconds = int(number);
    } else if (option == "--engine" && hasValue) {
      settings.engine.command = std::string(args[i + 1]);
    } else if (option == "--pgn" && hasValue) {
      settings.pgnPath = std::string(args[i + 1]);
    } else if (option == "--protocol" && hasValue && (args[i + 1] == "uci" || args[i + 1] == "ucci")) {
      settings.engine.ucci = args[i + 1] == "ucci";
    } else if (option == "--colour" && hasValue && (args[i + 1] == "red" || args[i + 1] == "black")) {
      settings.playRed = args[i + 1] == "red";
      settings.playBlack = !settings.playRed;
    } else if (option == "--no-book") {
      settings.useBook = false;
      continue;
    } else {
      std::fprintf(stderr, "lanterra match: bad option '%.*s'\n", int(option.size()), option.data());
      return 2;
    }
    ++i;
  }
  if (notation) {
    if (settings.pgnPath.empty()) return Fail("--notation is the notation of the games --pgn saves; give --pgn FILE");
    settings.pgnNotation = *notation;
  }
  // UCCI counts ranks from 0; Fairy-Stockfish's UCI counts them from 1.
  if (!rankBaseSet) settings.engine.rankBase = settings.engine.ucci ? 0 : 1;
  if (settings.engine.nodes == 0 && settings.engine.depth == 0) settings.engine.depth = 1;

  MatchScore score;
  std::string error;
  if (!RunMatch(settings, std::cout, score, error)) {
    std::fprintf(stderr, "lanterra match: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

CommandRegistrar reg{"match",
                     "match [--level N] [--engine CMD] [--protocol uci|ucci] [--rank-base 0|1] [--skill S] "
                     "[--nodes N | --depth D] [--openings K] [--plies P] [--seed S] [--no-book] [--pgn FILE "
                     "[--notation chinese|simplified|wxf|iccs]] "
                     "[--colour red|black] [--timeout SEC]  our engine against an outside one, each book opening with both colours",
                     &RunMatchCommand};

}  // namespace
}  // namespace lanterra::tool
