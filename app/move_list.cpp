#include "app/move_list.h"

#include "notation/game_record.h"
#include "notation/move_notation.h"
#include "rules/game_end.h"

namespace lanterra {

namespace {

// Why a game ended, named as players name it. A perpetual check loses for
// the side that gave it, whichever side that was.
const char* EndingReason(Ending ending) {
  switch (ending) {
    case Ending::MATE:
      return "将死";
    case Ending::STALEMATE:
      return "困毙";
    case Ending::PERPETUAL_CHECK_BY_MOVER:
    case Ending::PERPETUAL_CHECK_AGAINST:
      return "长将作负";
    case Ending::REPETITION:
      return "双方不变作和";
    default:
      return "超过自然限着作和";
  }
}

}  // namespace

MoveList MakeMoveList(const GameRecord& record) {
  MoveList list;
  Position pos = record.start;
  for (const Move mv : record.moves) {
    const bool red = pos.side == SIDE_RED;
    std::string text = WriteMove(pos, mv, Notation::CHINESE);
    // The controller records only moves it has played, so this holds; a
    // record that breaks it is listed up to the move that does not play.
    if (text.empty() || !pos.DoMove(mv)) break;
    // Judged as the game judged it, which restarts the history after a
    // capture: a long game never outgrows the history's capacity.
    JudgeMove(pos);
    if (red || list.pairs.empty()) list.pairs.push_back({int(list.pairs.size()) + 1, {}, {}});
    (red ? list.pairs.back().red : list.pairs.back().black) = std::move(text);
  }

  list.result = "*";
  if (record.ending == Ending::NONE) return list;
  // The ending speaks for the side that made the last move, which is the
  // side not to move now, even when the game ended before any move.
  const Side mover = Opponent(pos.side);
  const Result result = ResultOf(record.ending);
  const char* words = "和棋";
  if (result != Result::DRAW) {
    const Side winner = result == Result::MOVER_WINS ? mover : Opponent(mover);
    list.result = winner == SIDE_RED ? "1-0" : "0-1";
    words = winner == SIDE_RED ? "红胜" : "黑胜";
  } else {
    list.result = "1/2-1/2";
  }
  list.outcome = std::string(words) + "（" + EndingReason(record.ending) + "）";
  return list;
}

std::string MoveListText(const MoveList& list) {
  std::string text;
  for (const MovePair& pair : list.pairs) {
    // Red's empty place is written as game files write it.
    text += std::to_string(pair.number) + ". " + (pair.red.empty() ? "..." : pair.red);
    if (!pair.black.empty()) text += " " + pair.black;
    text += '\n';
  }
  if (!list.outcome.empty()) text += list.outcome + '\n';
  return text;
}

std::string MoveListPgn(const GameRecord& record, bool humanPlaysBlack, std::string_view date) {
  GameHeader header;
  header.event = "Lanterra";
  header.date = date;
  (humanPlaysBlack ? header.black : header.red) = "玩家";
  (humanPlaysBlack ? header.red : header.black) = "Lanterra";
  // The writer judges the last move itself; this result and name stand only
  // where the game ended without one, when the computer had no move left.
  header.result = MakeMoveList(record).result;
  header.comment = EndingName(record.ending);
  return FormatGameRecord(header, record.start, record.moves, Notation::CHINESE);
}

}  // namespace lanterra
