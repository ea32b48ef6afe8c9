#include "pgn/pgn_replay.h"

#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "notation/text.h"
#include "notation/wxf_notation.h"
#include "rules/long_game.h"

namespace lanterra {

namespace {

// Longest quotation of a game's text in an error message.
constexpr size_t QUOTE_BYTES = 200;

bool LooksLikeIccs(std::string_view t) {
  return (t.size() == 4 || (t.size() == 5 && t[2] == '-')) && static_cast<unsigned char>(t[0]) < 0x80;
}

}  // namespace

std::string GameName(const PgnGame& game, std::string_view source) {
  std::string name = std::string(source) + ":" + std::to_string(game.line) + " game " + std::to_string(game.index);
  std::string_view event = game.Tag("Event");
  if (!event.empty()) name += " (" + Printable(event, QUOTE_BYTES, Charset::UTF8) + ")";
  return name;
}

bool ReplayGame(const PgnGame& game, std::string_view source, Position& start, std::vector<Move>& moves,
                std::string& error) {
  auto where = [&] { return GameName(game, source); };
  moves.clear();
  if (!game.fault.empty()) {
    error = where() + ": " + game.fault;
    return false;
  }
  std::string_view fen = game.Tag("FEN");
  std::string fenError;
  if (!ParseFen(fen.empty() ? START_FEN : fen, start, fenError)) {
    error = where() + ": bad FEN: " + Printable(fenError, QUOTE_BYTES, Charset::UTF8);
    return false;
  }
  Position pos = start;
  for (size_t ply = 0; ply < game.moves.size(); ++ply) {
    const std::string& text = game.moves[ply];
    std::string why;
    // A move in Chinese or WXF notation is read as one of the legal moves;
    // one in ICCS is legal when the position plays it. The WXF shape is
    // tested first, since "C2.5" has an ICCS move's length.
    Move mv = 0;
    if (LooksLikeWxfMove(text)) {
      mv = ParseWxfMove(pos, text, why);
    } else if (LooksLikeIccs(text)) {
      mv = ParseIccsMove(text);
      if (!mv) why = "not a move in ICCS notation";
    } else {
      mv = ParseChineseMove(pos, text, why);
    }
    if (mv && !PlayLongGameMove(pos, mv)) {
      why = "not a legal move";
      mv = 0;
    }
    if (!mv) {
      // Move numbers count move pairs; the side says which half.
      size_t number = ply / 2 + 1;
      if (start.side == SIDE_BLACK) number = (ply + 1) / 2 + 1;
      error = where() + ": move " + std::to_string(number) + (pos.side == SIDE_RED ? " red" : " black") + " \"" +
              Printable(text, QUOTE_BYTES, Charset::UTF8) + "\": " + why;
      return false;
    }
    moves.push_back(mv);
  }
  return true;
}

}  // namespace lanterra
