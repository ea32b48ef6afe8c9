// Game records in PGN form, plain or gzip-compressed: tag pairs and move
// texts in Chinese notation or ICCS coordinates, one game after another.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rules/position.h"

struct gzFile_s;

namespace lanterra {

struct PgnGame {
  long index = 0;  // 1-based within its source
  long line = 0;   // line of the source where the game starts
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<std::string> moves;  // move texts, numbers and comments removed
  std::string termination;         // the result token after the moves, if any
  // Why the reader could not take the game whole (an unclosed comment, an
  // overlong line, a read error); empty for a game read whole.
  std::string fault;

  std::string_view Tag(std::string_view name) const;
  // The Result tag, or the termination token when the tag is missing.
  std::string Result() const;
};

// Bounds on what the reader holds at once, so that a damaged or hostile file
// cannot exhaust memory: a longer line or game is reported as a faulty game
// and skipped.
struct PgnLimits {
  size_t maxLineBytes = size_t(1) << 20;
  size_t maxGameBytes = size_t(4) << 20;  // counting the game's non-blank lines
};

// Reads games one at a time from a stream, so that a file of any size needs
// little memory. The text may be UTF-8 (with or without a byte-order mark),
// GBK or Big5, chosen per file from its first non-ASCII bytes, with LF, CRLF
// or CR line ends; it reaches the parser as UTF-8.
//
// A game ends where the next one's tags begin: at a tag line after move
// text, after a blank line, or repeating one of the game's tags; a result
// token after the moves ends it too. Move numbers ("12." or "12..."),
// {comments}, ;comments, (variations) and result tokens are removed from the
// move list. A comment or variation left open ends at the next tag line,
// and its game is reported faulty.
class PgnReader {
 public:
  explicit PgnReader(PgnLimits limits = {}) : limits(limits) {}
  ~PgnReader();
  PgnReader(const PgnReader&) = delete;
  PgnReader& operator=(const PgnReader&) = delete;

  // Opens a file, gzip-compressed or not; false with the reason in error.
  bool Open(const std::string& path, std::string& error);
  // Reads text held in memory instead, as if it were a file's content.
  void OpenText(std::string_view text);

  // Fills game with the next game and returns true, or returns false at the
  // end of the input or after a read error. A game cut short by a read error
  // is returned with its fault set.
  bool Next(PgnGame& game);
  // Why reading stopped early (a damaged or truncated file, text in no
  // known encoding); empty after a clean end.
  const std::string& Error() const { return error; }
  // "UTF-8", "GBK" or "Big5" once the text has shown which; empty while it
  // has been plain ASCII.
  std::string_view Encoding() const;

 private:
  enum class TextEncoding { UNKNOWN, UTF8, GBK, BIG5 };

  bool ReadRaw();
  bool Decode();
  bool ChooseEncoding();
  bool NextLine(std::string& line, bool& tooLong);
  // Adds the moves of a line of move text; keep false only follows comments
  // and variations and looks for the result token.
  void AddMoveTokens(std::string_view line, PgnGame& game, long at, bool keep);
  void Fail(PgnGame& game, std::string why);

  PgnLimits limits;
  // The source: a file, or text in memory.
  gzFile_s* file = nullptr;
  std::string_view memory;
  std::string path;
  bool atEnd = false;
  std::string readError;  // what ended the source early
  std::string error;

  // Bytes as read, then as UTF-8, then cut into lines.
  std::string raw;
  std::string decoded;
  size_t decodedAt = 0;
  bool started = false;   // the byte-order mark has been looked for
  bool skipNewline = false;  // the last line ended in CR; a LF right after belongs to it
  TextEncoding encoding = TextEncoding::UNKNOWN;
  void* converter = nullptr;  // iconv_t, for GBK and Big5

  long lineNumber = 0;
  long gameCount = 0;
  int commentDepth = 0;    // inside {...} across lines
  long commentLine = 0;
  int variationDepth = 0;  // inside (...) across lines
  long variationLine = 0;
  std::string pendingTag;  // a tag line that starts the next game
  long pendingTagLine = 0;
  bool hasPendingTag = false;
  bool pendingTooLong = false;
};

// Plays a game's moves from its FEN tag (the normal start without one).
// Each move may be ICCS ("h2e2", "H2-E2") or Chinese notation. On success
// start holds the start position and moves the moves; on failure error
// names the game and what is wrong: the reader's fault, or the move number
// and the text of the move that does not play.
bool ReplayGame(const PgnGame& game, std::string_view source, Position& start, std::vector<Move>& moves,
                std::string& error);

}  // namespace lanterra
