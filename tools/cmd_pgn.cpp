// The pgn command: converts game records to ICCS move lines, or to game
// records in any of the notations.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pgn/pgn_rewrite.h"
#include "tools/command.h"
#include "tools/game_file_replay.h"
#include "tools/notation_option.h"

namespace lanterra::tool {
namespace {

// Writes a game that plays to stdout, unless it would not read back whole.
std::string WriteGame(const PgnGame& game, const Position& start, const std::vector<Move>& moves,
                      std::optional<Notation> notation) {
  std::string record, error;
  if (!RewriteGame(game, start, moves, notation, record, error)) return error;
  // Written whole: a tag value may hold any byte, even a NUL.
  std::fwrite(record.data(), 1, record.size(), stdout);
  return {};
}

// Every game that plays is written to stdout, a UTF-8 game file; failures
// and the count go to stderr, so that the output reads back alone.
int RunPgn(const Args& given) {
  Args args = given;
  std::optional<Notation> notation;
  if (!TakeNotationOption(args, "pgn", notation)) return 2;
  if (args.empty()) {
    std::fprintf(stderr, "usage: lanterra pgn [%.*s] FILE...\n", int(NOTATION_OPTION.size()),
                 NOTATION_OPTION.data());
    return 2;
  }
  const PlayedGame write = [notation](const PgnGame& game, const Position& start, const std::vector<Move>& moves) {
    return WriteGame(game, start, moves, notation);
  };
  ReplayCount count;
  bool unreadable = false;
  std::string error;
  for (std::string_view path : args) {
    if (ReplayGameFile(std::string(path), count, write, error) != FileRead::WHOLE) {
      std::fprintf(stderr, "lanterra pgn: %s\n", error.c_str());
      unreadable = true;
    }
  }
  std::fprintf(stderr, "games %ld ok %ld failed %ld\n", count.games, count.games - count.failed, count.failed);
  // Games lost on the way out (a full disk) must not pass for converted.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "lanterra pgn: cannot write the output\n");
    return 2;
  }
  return unreadable ? 2 : count.failed ? 1 : 0;
}

CommandRegistrar reg{"pgn",
                     "pgn [--notation chinese|simplified|wxf|iccs] FILE...  convert games (PGN, Chinese, WXF or "
                     "ICCS moves, plain or .gz) to ICCS lines, or to game records in the notation",
                     &RunPgn};

}  // namespace
}  // namespace lanterra::tool
