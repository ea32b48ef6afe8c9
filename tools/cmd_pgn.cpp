// The pgn command: converts game records to ICCS move lines.
#include <cstdio>
#include <string>
#include <vector>

#include "notation/fen_iccs.h"
#include "pgn/pgn_writer.h"
#include "tools/command.h"
#include "tools/game_file_replay.h"

namespace lanterra::tool {
namespace {

// A game as a Result tag line and one line of ICCS moves, which the reader
// reads back; a game from another setup carries it on a line of its own.
void WriteIccsGame(const PgnGame& game, const Position& start, const std::vector<Move>& moves) {
  std::string line;
  std::string_view fen = game.Tag("FEN");
  std::string header = FormatTagPair("Result", game.Result());
  if (!fen.empty() && fen != START_FEN) header = FormatTagPair("FEN", ToFen(start)) + "\n" + header;
  for (Move mv : moves) {
    if (!line.empty()) line += ' ';
    line += IccsMove(mv);
  }
  // Written whole: a tag value may hold any byte, even a NUL.
  std::string record = header + "\n" + line + "\n";
  std::fwrite(record.data(), 1, record.size(), stdout);
}

// Every game that plays is written out; failures go to stderr and the count
// to the end.
int RunPgn(const Args& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: lanterra pgn FILE...\n");
    return 2;
  }
  ReplayCount count;
  bool unreadable = false;
  std::string error;
  for (std::string_view path : args) {
    if (ReplayGameFile(std::string(path), count, WriteIccsGame, error) != FileRead::WHOLE) {
      std::fprintf(stderr, "lanterra pgn: %s\n", error.c_str());
      unreadable = true;
    }
  }
  std::printf("games %ld ok %ld failed %ld\n", count.games, count.games - count.failed, count.failed);
  return unreadable ? 2 : count.failed ? 1 : 0;
}

CommandRegistrar reg{"pgn", "pgn FILE...  convert games (PGN, Chinese or ICCS moves, plain or .gz) to ICCS lines",
                     &RunPgn};

}  // namespace
}  // namespace lanterra::tool
