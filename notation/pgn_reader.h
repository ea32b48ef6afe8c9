// Game records in PGN form, plain or gzip-compressed: tag pairs and move
// texts in Chinese notation or ICCS coordinates, one game after another.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/position.h"

namespace lanterra {

struct PgnGame {
  int index = 0;  // 1-based within its source
  int line = 0;   // line of the source where the game starts
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<std::string> moves;  // move texts, numbers and comments removed
  std::string termination;         // the result token after the moves, if any

  std::string_view Tag(std::string_view name) const;
  // The Result tag, or the termination token when the tag is missing.
  std::string Result() const;
};

// Reads a whole file into text; gzip data is inflated, anything else is
// taken as it is.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error);

// Splits PGN text into games. A tag line after move text starts a new game;
// move numbers ("12." or "12..."), {comments}, ;comments, (variations) and
// result tokens are removed from the move list.
class PgnParser {
 public:
  explicit PgnParser(std::string_view text) : text(text) {}
  // Fills game with the next game and returns true, or returns false at the end.
  bool Next(PgnGame& game);

 private:
  bool NextLine(std::string_view& line);
  void AddMoveTokens(std::string_view line, PgnGame& game);

  std::string_view text;
  size_t offset = 0;
  int lineNumber = 0;
  int gameCount = 0;
  int commentDepth = 0;    // inside {...} across lines
  int variationDepth = 0;  // inside (...) across lines
  std::string_view pendingTag;
  int pendingTagLine = 0;
};

// Plays a game's moves from its FEN tag (the normal start without one).
// Each move may be ICCS ("h2e2", "H2-E2") or Chinese notation. On success
// start holds the start position and moves the moves; on failure error
// names the game, the move number and the text.
bool ReplayGame(const PgnGame& game, std::string_view source, Position& start, std::vector<Move>& moves,
                std::string& error);

}  // namespace lanterra
