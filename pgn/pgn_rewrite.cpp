#include "pgn/pgn_rewrite.h"

#include "notation/fen_iccs.h"
#include "notation/game_record.h"

namespace lanterra {
namespace {

std::string IccsLines(const PgnGame& game, const Position& start, const std::vector<Move>& moves) {
  std::string record;
  if (std::string fen = ToFen(start); fen != START_FEN) record = FormatTagPair("FEN", fen) + "\n";
  record += FormatTagPair("Result", game.Result()) + "\n";
  for (size_t i = 0; i < moves.size(); ++i) record += (i ? " " : "") + IccsMove(moves[i]);
  return record + '\n';
}

std::string FullRecord(const PgnGame& game, const Position& start, const std::vector<Move>& moves,
                       Notation notation) {
  GameHeader header;
  header.event = game.Tag("Event");
  header.date = game.Tag("Date");
  header.red = game.Tag("Red");
  header.black = game.Tag("Black");
  const std::string_view tag = game.Tag("Result");
  const bool tagIsResult = tag == "1-0" || tag == "0-1" || tag == "1/2-1/2" || tag == "*";
  header.result = tagIsResult ? std::string(tag) : game.termination;
  return FormatGameRecord(header, start, moves, notation);
}

}  // namespace

bool FitsTheReader(std::string_view record) {
  size_t total = 0;
  while (!record.empty()) {
    const size_t end = record.find('\n');
    const size_t length = end == std::string_view::npos ? record.size() : end;
    if (length > MAX_LINE_BYTES) return false;
    total += length;
    record.remove_prefix(end == std::string_view::npos ? record.size() : end + 1);
  }
  return total <= MAX_GAME_BYTES;
}

bool RewriteGame(const PgnGame& game, const Position& start, const std::vector<Move>& moves,
                 std::optional<Notation> notation, std::string& record, std::string& error) {
  record = notation ? FullRecord(game, start, moves, *notation) : IccsLines(game, start, moves);
  // FormatGameRecord is empty only when a move does not play, which a game
  // ReplayGame has played cannot give; it is refused all the same.
  if (record.empty()) {
    error = "a move does not play";
    return false;
  }
  if (!FitsTheReader(record)) {
    record.clear();
    error = "too long to write as a game that reads back";
    return false;
  }
  return true;
}

}  // namespace lanterra
