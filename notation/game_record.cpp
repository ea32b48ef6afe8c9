#include "notation/game_record.h"

#include "notation/fen_iccs.h"
#include "rules/long_game.h"

namespace lanterra {

namespace {

// Move text in the ICCS form is filled into lines no longer than this.
constexpr size_t LINE_WIDTH = 79;

bool IsResultToken(std::string_view text) {
  return text == "1-0" || text == "0-1" || text == "1/2-1/2" || text == "*";
}

// A comment runs to the first closing brace, so one inside the text would
// end it early and leave the rest to be read as moves; a line break could
// make a blank line, which ends the game. Both become spaces.
std::string CommentWord(std::string_view comment) {
  std::string word = "{";
  for (char c : comment) word += c == '}' || c == '\n' || c == '\r' ? ' ' : c;
  return word + "}";
}

// "H2-E2": the ICCS form of the match's game files.
std::string IccsWord(Move mv) {
  const std::string iccs = IccsMove(mv);
  return {char(iccs[0] - 'a' + 'A'), iccs[1], '-', char(iccs[2] - 'a' + 'A'), iccs[3]};
}

// Red's moves open the numbered pairs, and so does a first move of black's.
bool OpensPair(size_t ply, Side first) { return ply == 0 || (first == SIDE_RED ? ply : ply + 1) % 2 == 0; }

// The move at ply, led by its pair's number when it opens one; a first move
// of black's has "..." in red's place.
std::string NumberedMove(const std::string& move, size_t ply, Side first) {
  if (!OpensPair(ply, first)) return move;
  if (ply == 0 && first == SIDE_BLACK) return "1. ... " + move;
  return std::to_string((first == SIDE_RED ? ply : ply + 1) / 2 + 1) + ". " + move;
}

// Words filled into lines of at most LINE_WIDTH characters; a blank line
// ends the game.
void AppendFilled(std::string& text, const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty() && line.size() + 1 + word.size() > LINE_WIDTH) {
      text += line + '\n';
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
  }
  text += line + "\n\n";
}

// The move text in the ICCS form: moves, comment and result filled into
// lines.
void AppendIccsMoveText(std::string& text, const std::vector<std::string>& moves, Side first,
                        std::string_view comment, std::string_view result) {
  std::vector<std::string> words;
  words.reserve(moves.size() + 2);
  for (size_t ply = 0; ply < moves.size(); ++ply) words.push_back(NumberedMove(moves[ply], ply, first));
  if (!comment.empty()) words.push_back(CommentWord(comment));
  words.emplace_back(result);
  AppendFilled(text, words);
}

// The move text one pair to a line, the comment after the last move, and
// the result on a line of its own.
void AppendPairedMoveText(std::string& text, const std::vector<std::string>& moves, Side first,
                          std::string_view comment, std::string_view result) {
  for (size_t ply = 0; ply < moves.size(); ++ply) {
    if (ply > 0) text += OpensPair(ply, first) ? '\n' : ' ';
    text += NumberedMove(moves[ply], ply, first);
  }
  if (!comment.empty()) {
    if (!moves.empty()) text += ' ';
    text += CommentWord(comment);
  }
  if (!moves.empty() || !comment.empty()) text += '\n';
  text += result;
  text += "\n\n";
}

}  // namespace

std::string FormatTagPair(std::string_view name, std::string_view value) {
  std::string text = "[";
  text += name;
  text += " \"";
  for (char c : value) {
    if (c == '"' || c == '\\') text += '\\';
    text += c;
  }
  return text + "\"]";
}

std::string FormatIccsPgn(const PgnTags& tags, const std::vector<Move>& moves, std::string_view comment,
                          std::string_view result) {
  std::string text;
  for (const auto& [name, value] : tags) text += FormatTagPair(name, value) + '\n';
  text += '\n';
  std::vector<std::string> words;
  words.reserve(moves.size());
  for (Move mv : moves) words.push_back(IccsWord(mv));
  AppendIccsMoveText(text, words, SIDE_RED, comment, result);
  return text;
}

std::string_view EndingName(Ending ending) {
  switch (ending) {
    case Ending::MATE: return "mate";
    case Ending::STALEMATE: return "stalemate";
    case Ending::PERPETUAL_CHECK_BY_MOVER:
    case Ending::PERPETUAL_CHECK_AGAINST: return "perpetual check";
    case Ending::REPETITION: return "repetition";
    case Ending::MOVE_LIMIT: return "100-move limit";
    case Ending::NONE: break;
  }
  return "";
}

std::string FormatGameRecord(const GameHeader& header, const Position& start, std::span<const Move> moves,
                             Notation notation) {
  // 1. The moves written and played. The record begins at start, so no
  // earlier history may count towards a repetition or the move limit.
  Position pos = start;
  pos.CollapseHistory();
  std::vector<std::string> texts;
  texts.reserve(moves.size());
  Ending ending = Ending::NONE;
  size_t endingPly = 0;
  for (size_t ply = 0; ply < moves.size(); ++ply) {
    const Move mv = moves[ply];
    std::string text = WriteMove(pos, mv, notation);
    if (text.empty()) return {};
    texts.push_back(notation == Notation::ICCS ? IccsWord(mv) : std::move(text));
    // The game ends at its first ending. Past it the moves are only played,
    // with the history kept within bounds however long the game goes on.
    if (ending != Ending::NONE) {
      if (!PlayLongGameMove(pos, mv)) return {};
      continue;
    }
    if (!pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) return {};
    ending = JudgeMove(pos);
    endingPly = ply;
  }

  // 2. How it ended: by the rules when its last move ends it, otherwise as
  // the source says.
  std::string result = IsResultToken(header.result) ? header.result : "*";
  std::string_view comment = header.comment;
  if (ending != Ending::NONE && endingPly + 1 == moves.size()) {
    const bool redMoved = pos.side == SIDE_BLACK;
    switch (ResultOf(ending)) {
      case Result::MOVER_WINS: result = redMoved ? "1-0" : "0-1"; break;
      case Result::MOVER_LOSES: result = redMoved ? "0-1" : "1-0"; break;
      case Result::DRAW: result = "1/2-1/2"; break;
    }
    comment = EndingName(ending);
  }

  // 3. The tags, then the move text.
  std::string record = FormatTagPair("Game", "Chinese Chess") + '\n';
  const std::pair<std::string_view, std::string_view> tags[] = {
      {"Event", header.event}, {"Date", header.date}, {"Red", header.red}, {"Black", header.black}, {"Result", result},
  };
  for (const auto& [name, value] : tags) record += FormatTagPair(name, value) + '\n';
  for (const auto& [name, value] : header.more) record += FormatTagPair(name, value) + '\n';
  if (std::string fen = ToFen(start); fen != START_FEN) record += FormatTagPair("FEN", fen) + '\n';
  record += '\n';
  if (notation == Notation::ICCS)
    AppendIccsMoveText(record, texts, start.side, comment, result);
  else
    AppendPairedMoveText(record, texts, start.side, comment, result);
  return record;
}

}  // namespace lanterra
