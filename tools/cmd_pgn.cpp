// The pgn command: converts game records to ICCS move lines, or to game
// records in any of the notations.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notation/fen_iccs.h"
#include "notation/game_record.h"
#include "pgn/pgn_source.h"
#include "pgn/pgn_splitter.h"
#include "tools/command.h"
#include "tools/game_file_replay.h"
#include "tools/notation_option.h"

namespace lanterra::tool {
namespace {

// Whether the reader takes record whole as one game: no line longer than it
// holds, and no more than a game's bytes in all, counted as the splitter
// counts them (lines without their ends).
bool FitsTheReader(std::string_view record) {
  size_t total = 0;
  while (!record.empty()) {
    size_t end = record.find('\n');
    size_t length = end == std::string_view::npos ? record.size() : end;
    if (length > MAX_LINE_BYTES) return false;
    total += length;
    record.remove_prefix(end == std::string_view::npos ? record.size() : end + 1);
  }
  return total <= MAX_GAME_BYTES;
}

// Writes a game's record to stdout, unless it would not read back whole: a
// game near the reader's bounds may grow past them as written (tag values
// gain escapes, moves gain spaces and numbers).
std::string WriteRecord(const std::string& record) {
  if (!FitsTheReader(record)) return "too long to write as a game that reads back";
  // Written whole: a tag value may hold any byte, even a NUL.
  std::fwrite(record.data(), 1, record.size(), stdout);
  return {};
}

// A game as a Result tag line and one line of ICCS moves, which the reader
// reads back as the same game; a game from another setup carries it on a
// FEN line of its own. The FEN is written as ToFen writes it, whatever form
// the source gave, so that a second pass writes the same.
std::string WriteIccsLines(const PgnGame& game, const Position& start, const std::vector<Move>& moves) {
  std::string record;
  if (std::string fen = ToFen(start); fen != START_FEN) record = FormatTagPair("FEN", fen) + "\n";
  record += FormatTagPair("Result", game.Result()) + "\n";
  for (size_t i = 0; i < moves.size(); ++i) record += (i ? " " : "") + IccsMove(moves[i]);
  record += '\n';
  return WriteRecord(record);
}

// The game as a full record in the notation. Its result is the Result tag,
// or the result token after the moves when the tag holds none.
std::string WriteGameRecord(const PgnGame& game, const Position& start, const std::vector<Move>& moves,
                            Notation notation) {
  GameHeader header;
  header.event = game.Tag("Event");
  header.date = game.Tag("Date");
  header.red = game.Tag("Red");
  header.black = game.Tag("Black");
  const std::string_view tag = game.Tag("Result");
  const bool tagIsResult = tag == "1-0" || tag == "0-1" || tag == "1/2-1/2" || tag == "*";
  header.result = tagIsResult ? std::string(tag) : game.termination;
  const std::string record = FormatGameRecord(header, start, moves, notation);
  // The moves come from ReplayGame, which has played them.
  if (record.empty()) return "a move does not play";
  return WriteRecord(record);
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
  PlayedGame write = WriteIccsLines;
  if (notation) {
    write = [notation = *notation](const PgnGame& game, const Position& start, const std::vector<Move>& moves) {
      return WriteGameRecord(game, start, moves, notation);
    };
  }
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
