// The pgn command: converts game records to ICCS move lines.
#include <cstdio>
#include <string>
#include <vector>

#include "notation/fen_iccs.h"
#include "pgn/pgn_replay.h"
#include "pgn/pgn_source.h"
#include "tools/command.h"

namespace lanterra::tool {
namespace {

// A tag value as PGN writes it, so that it reads back the same.
std::string TagValue(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// Each game becomes a Result tag line and one line of ICCS moves, which this
// reader can read back; failures go to stderr and the count to the end.
int RunPgn(const Args& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: lanterra pgn FILE...\n");
    return 2;
  }
  long games = 0, ok = 0, failed = 0;
  bool unreadable = false;
  std::string error;
  std::vector<Move> moves;
  Position start;
  for (std::string_view arg : args) {
    std::string path(arg);
    PgnSource source;
    if (!source.Open(path, error)) {
      std::fprintf(stderr, "lanterra pgn: %s\n", error.c_str());
      unreadable = true;
      continue;
    }
    PgnSplitter splitter(source);
    PgnGame game;
    while (splitter.Next(game)) {
      ++games;
      if (!ReplayGame(game, path, start, moves, error)) {
        ++failed;
        std::fprintf(stderr, "%s\n", error.c_str());
        continue;
      }
      ++ok;
      std::string line;
      std::string_view fen = game.Tag("FEN");
      std::string header = "[Result \"" + TagValue(game.Result()) + "\"]";
      // Games from another setup carry it on a line of its own.
      if (!fen.empty() && fen != START_FEN) header = "[FEN \"" + ToFen(start) + "\"]\n" + header;
      for (Move mv : moves) {
        if (!line.empty()) line += ' ';
        line += IccsMove(mv);
      }
      // Written whole: a tag value may hold any byte, even a NUL.
      std::string record = header + "\n" + line + "\n";
      std::fwrite(record.data(), 1, record.size(), stdout);
    }
    if (!source.Error().empty()) {
      std::fprintf(stderr, "lanterra pgn: %s\n", source.Error().c_str());
      unreadable = true;
    }
  }
  std::printf("games %ld ok %ld failed %ld\n", games, ok, failed);
  return unreadable ? 2 : failed ? 1 : 0;
}

CommandRegistrar reg{"pgn", "pgn FILE...  convert games (PGN, Chinese or ICCS moves, plain or .gz) to ICCS lines",
                     &RunPgn};

}  // namespace
}  // namespace lanterra::tool
