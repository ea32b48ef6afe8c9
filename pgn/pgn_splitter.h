// Game files cut into games: tag pairs and the move texts after them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pgn/pgn_source.h"

namespace lanterra {

struct PgnGame {
  long index = 0;  // 1-based within its source
  long line = 0;   // line of the source where the game starts
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<std::string> moves;  // move texts, numbers and comments removed
  std::string termination;         // the result token after the moves, if any
  // Why the game could not be taken whole (an unclosed comment, an overlong
  // line, a read error); empty for a game read whole.
  std::string fault;

  std::string_view Tag(std::string_view name) const;
  // The Result tag, or the termination token when the tag is missing.
  std::string Result() const;
};

// Bounds a game for the same reason MAX_LINE_BYTES bounds a line: a longer
// game, counting its non-blank lines, is reported faulty and not kept.
inline constexpr size_t MAX_GAME_BYTES = size_t(4) << 20;

// Reads the games of a source one at a time.
//
// A game ends where the next one's tags begin: at a tag line after move
// text, after a blank line, or repeating one of the game's tags; a result
// token after the moves ends it too. Move numbers ("12." or "12..."),
// {comments}, ;comments, (variations) and result tokens are removed from the
// move list. A comment or variation left open ends at the next tag line,
// and its game is reported faulty.
//
// A game longer than maxGameBytes, or with a line the source cut, is
// reported faulty and read to its end, so that the next game still reads.
class PgnSplitter {
 public:
  explicit PgnSplitter(PgnSource& source, size_t maxGameBytes = MAX_GAME_BYTES)
      : source(source), maxGameBytes(maxGameBytes) {}

  // Fills game with the next game and returns true, or returns false at the
  // end of the source or after a read error (see PgnSource::Error). A game
  // cut short by a read error is returned with its fault set.
  bool Next(PgnGame& game);

 private:
  // Adds the moves of a line of move text; keep false only follows comments
  // and variations and looks for the result token.
  void AddMoveTokens(std::string_view line, PgnGame& game, long at, bool keep);

  PgnSource& source;
  size_t maxGameBytes;
  long gameCount = 0;
  // A tag line read past the end of a game: it starts the next one.
  std::optional<SourceLine> pendingTag;
  // Comments and variations may run across lines.
  int commentDepth = 0;  // inside {...}
  long commentLine = 0;
  int variationDepth = 0;  // inside (...)
  long variationLine = 0;
};

}  // namespace lanterra
