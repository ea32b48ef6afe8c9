#include "match/match.h"

#include <signal.h>

#include <ctime>
#include <fstream>
#include <memory>
#include <ostream>

#include "engine/engine.h"
#include "notation/fen_iccs.h"
#include "notation/game_record.h"

namespace lanterra {

std::string FormatPgn(const GameRecord& game, std::string_view event, Notation notation) {
  char date[16] = "????.??.??";
  std::time_t now = std::time(nullptr);
  if (std::tm* t = std::localtime(&now)) std::strftime(date, sizeof(date), "%Y.%m.%d", t);
  if (notation != Notation::ICCS) {
    GameHeader header{std::string(event), date, game.red, game.black, std::string(ResultText(game.verdict.outcome)),
                      game.verdict.Text(),
                      {{"Site", "lanterra match"},
                       {"Round", std::to_string(game.round)},
                       {"Termination", game.verdict.Text()}}};
    Position start;
    start.SetUpStart(0);
    return FormatGameRecord(header, start, game.moves, notation);
  }
  const PgnTags tags = {
      {"Event", std::string(event)},
      {"Site", "lanterra match"},
      {"Date", date},
      {"Round", std::to_string(game.round)},
      {"Red", game.red},
      {"Black", game.black},
      {"Result", std::string(ResultText(game.verdict.outcome))},
      {"Termination", game.verdict.Text()},
      {"Format", "ICCS"},
  };
  return FormatIccsPgn(tags, game.moves, game.verdict.Text(), ResultText(game.verdict.outcome));
}

namespace {

// Plays one game from the opening line; our engine has colour ourSide.
GameRecord PlayGame(const MatchSettings& settings, Engine& ours, OutsideEngine& engine,
                    const std::vector<Move>& opening, Side ourSide, int round) {
  GameRecord game;
  game.round = round;
  std::string us = "Lanterra level " + std::to_string(settings.level);
  std::string them = (engine.name.empty() ? settings.engine.command : engine.name) + " " + settings.engine.Describe();
  game.red = ourSide == SIDE_RED ? us : them;
  game.black = ourSide == SIDE_RED ? them : us;
  Outcome weWin = ourSide == SIDE_RED ? Outcome::RED_WINS : Outcome::BLACK_WINS;
  Outcome theyWin = ourSide == SIDE_RED ? Outcome::BLACK_WINS : Outcome::RED_WINS;

  Position pos;
  pos.SetUpStart(0);
  for (Move mv : opening) {
    if (!pos.DoMove(mv)) break;
    game.moves.push_back(mv);
    game.verdict = Adjudicate(pos);
    if (game.verdict.outcome != Outcome::ONGOING) return game;
  }

  std::string error;
  if (!engine.NewGame(error)) {
    game.verdict = {weWin, Reason::OUTSIDE_ENGINE_FAILED, error};
    return game;
  }
  ours.Seed(settings.seed + uint32_t(round));
  for (;;) {
    Move mv = 0;
    if (pos.side == ourSide) {
      mv = ours.Decide(pos).move;
      if (mv == 0 || !pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) {
        game.verdict = {theyWin, Reason::OUR_ENGINE_NO_MOVE, {}};
        return game;
      }
    } else {
      if (!engine.BestMove(game.moves, mv, error)) {
        game.verdict = {weWin, Reason::OUTSIDE_ENGINE_FAILED, error};
        return game;
      }
      if (mv == 0) {
        game.verdict = {weWin, Reason::OUTSIDE_ENGINE_NO_MOVE, error};
        return game;
      }
      if (!pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) {
        game.verdict = {weWin, Reason::OUTSIDE_ENGINE_ILLEGAL_MOVE, IccsMove(mv)};
        return game;
      }
    }
    game.moves.push_back(mv);
    game.verdict = Adjudicate(pos);
    if (game.verdict.outcome != Outcome::ONGOING) return game;
  }
}

}  // namespace

bool RunMatch(const MatchSettings& settings, std::ostream& log, MatchScore& score, std::string& error) {
  // A crashed engine must show up as a failed write, not end this process.
  signal(SIGPIPE, SIG_IGN);
  std::ofstream pgn;
  if (!settings.pgnPath.empty()) {
    pgn.open(settings.pgnPath, std::ios::app);
    if (!pgn) {
      error = "cannot write " + settings.pgnPath;
      return false;
    }
  }
  OutsideEngine engine;
  if (!engine.Start(settings.engine, error)) return false;
  return PlayMatch(settings, engine, log, settings.pgnPath.empty() ? nullptr : &pgn, score, error);
}

bool PlayMatch(const MatchSettings& settings, OutsideEngine& engine, std::ostream& log, std::ostream* pgn,
               MatchScore& score, std::string& error) {
  Engine ours(EmbeddedBookData(), settings.seed);
  ours.SetLevel(settings.level);
  ours.UseBook(settings.useBook);
  auto openingBook = std::make_unique<Book>();
  ReadBook(*openingBook, EmbeddedBookData());
  auto openings = BookOpenings(*openingBook, settings.openings, settings.openingPlies, settings.seed);

  std::string event = "Lanterra level " + std::to_string(settings.level) + " vs " + settings.engine.Describe();
  int round = 0;
  for (const auto& opening : openings) {
    for (Side ourSide : {SIDE_RED, SIDE_BLACK}) {
      ++round;
      if (!(ourSide == SIDE_RED ? settings.playRed : settings.playBlack)) continue;
      GameRecord game = PlayGame(settings, ours, engine, opening, ourSide, round);
      Outcome weWin = ourSide == SIDE_RED ? Outcome::RED_WINS : Outcome::BLACK_WINS;
      if (game.verdict.outcome == Outcome::DRAW)
        ++score.draws;
      else if (game.verdict.outcome == weWin)
        ++score.wins;
      else
        ++score.losses;
      log << "game " << round << ": " << game.red << " - " << game.black << " " << ResultText(game.verdict.outcome)
          << " (" << game.verdict.Text() << ", " << game.moves.size() << " plies)\n"
          << std::flush;
      if (pgn) *pgn << FormatPgn(game, event, settings.pgnNotation) << std::flush;
      // A dead engine would lose every remaining game at once; better to stop.
      if (game.verdict.reason == Reason::OUTSIDE_ENGINE_FAILED) {
        error = game.verdict.Text();
        log << ScoreLine(score) << '\n';
        return false;
      }
    }
  }
  log << ScoreLine(score) << '\n' << std::flush;
  return true;
}

}  // namespace lanterra
