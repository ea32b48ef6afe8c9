#include "match/adjudication.h"

#include "rules/game_end.h"

namespace lanterra {

std::string Verdict::Text() const {
  switch (reason) {
    case Reason::NONE: return "";
    case Reason::MATE: return "mate";
    case Reason::STALEMATE: return "stalemate";
    case Reason::PERPETUAL_CHECK: return "perpetual check";
    case Reason::REPETITION: return "repetition";
    case Reason::MOVE_LIMIT: return "100-move limit";
    case Reason::OUR_ENGINE_NO_MOVE: return "our engine gave no legal move";
    case Reason::OUTSIDE_ENGINE_FAILED: return "outside engine failed: " + detail;
    case Reason::OUTSIDE_ENGINE_NO_MOVE: return "outside engine gave " + detail;
    case Reason::OUTSIDE_ENGINE_ILLEGAL_MOVE: return "outside engine played the illegal move " + detail;
  }
  return "";
}

Verdict Adjudicate(Position& pos) {
  const Ending ending = JudgeMove(pos);
  if (ending == Ending::NONE) return {};
  // The side to move is the one that did not just move.
  const Outcome moverWins = pos.side == SIDE_RED ? Outcome::BLACK_WINS : Outcome::RED_WINS;
  const Outcome moverLoses = pos.side == SIDE_RED ? Outcome::RED_WINS : Outcome::BLACK_WINS;
  const Result result = ResultOf(ending);
  const Outcome outcome = result == Result::DRAW         ? Outcome::DRAW
                          : result == Result::MOVER_WINS ? moverWins
                                                         : moverLoses;
  switch (ending) {
    case Ending::MATE: return {outcome, Reason::MATE, {}};
    case Ending::STALEMATE: return {outcome, Reason::STALEMATE, {}};
    case Ending::REPETITION: return {outcome, Reason::REPETITION, {}};
    case Ending::MOVE_LIMIT: return {outcome, Reason::MOVE_LIMIT, {}};
    default: return {outcome, Reason::PERPETUAL_CHECK, {}};
  }
}

std::string_view ResultText(Outcome outcome) {
  switch (outcome) {
    case Outcome::RED_WINS: return "1-0";
    case Outcome::BLACK_WINS: return "0-1";
    case Outcome::DRAW: return "1/2-1/2";
    default: return "*";
  }
}

}  // namespace lanterra
