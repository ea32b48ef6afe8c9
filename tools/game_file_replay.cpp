#include "tools/game_file_replay.h"

#include <cstdio>

#include "pgn/pgn_replay.h"
#include "pgn/pgn_source.h"

namespace lanterra::tool {

FileRead ReplayGameFile(const std::string& path, ReplayCount& count, const PlayedGame& onGame, std::string& error) {
  PgnSource source;
  if (!source.Open(path, error)) return FileRead::UNOPENED;
  PgnSplitter splitter(source);
  PgnGame game;
  Position start;
  std::vector<Move> moves;
  std::string why;
  while (splitter.Next(game)) {
    ++count.games;
    if (!ReplayGame(game, path, start, moves, why)) {
      ++count.failed;
      std::fprintf(stderr, "%s\n", why.c_str());
      continue;
    }
    if (std::string refused = onGame(game, start, moves); !refused.empty()) {
      ++count.failed;
      std::fprintf(stderr, "%s: %s\n", GameName(game, path).c_str(), refused.c_str());
    }
  }
  if (source.Error().empty()) return FileRead::WHOLE;
  error = source.Error();
  return FileRead::BROKEN;
}

}  // namespace lanterra::tool
