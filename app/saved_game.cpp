#include "app/saved_game.h"

#include <charconv>
#include <vector>

#include "notation/fen_iccs.h"
#include "rules/game_end.h"

namespace lanterra {

namespace {

constexpr std::string_view HEADER = "lanterra saved game ";

// The fields after the header, each on its own line, in this order.
enum Field { START, HUMAN, LEVEL, SOUND, RANDOM, MOVES, UNDO, OVER, BOARD, FIELD_COUNT };
constexpr std::string_view FIELD_NAMES[FIELD_COUNT] = {"start", "human", "level", "sound", "random",
                                                       "moves", "undo",  "over",  "board"};

std::string MoveText(Move mv) { return mv == 0 ? "-" : IccsMove(mv); }

// The text split at spaces, empty pieces left out.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return words;
}

// A whole word of decimal digits as a number no larger than max.
bool ReadNumber(std::string_view word, uint32_t max, uint32_t& value) {
  uint32_t read = 0;
  const auto [end, fault] = std::from_chars(word.data(), word.data() + word.size(), read);
  if (fault != std::errc() || end != word.data() + word.size() || read > max) return false;
  value = read;
  return true;
}

bool ReadSwitch(std::string_view word, std::string_view on, std::string_view off, bool& value) {
  if (word != on && word != off) return false;
  value = word == on;
  return true;
}

// The values of the fields, each checked for its name; false with the
// reason when a line is missing, out of order or the text is cut short.
bool SplitFields(std::string_view text, std::string_view (&values)[FIELD_COUNT], std::string& error) {
  // Every line ends in a line feed, so a record cut anywhere lacks its
  // last one or more.
  if (text.empty() || text.back() != '\n') {
    error = "the record is cut short";
    return false;
  }
  size_t at = text.find('\n') + 1;
  for (int field = 0; field < FIELD_COUNT; ++field) {
    if (at == text.size()) {
      error = "the record is cut short before '" + std::string(FIELD_NAMES[field]) + "'";
      return false;
    }
    const size_t end = text.find('\n', at);
    const std::string_view line = text.substr(at, end - at);
    const std::string_view name = FIELD_NAMES[field];
    if (line.substr(0, name.size()) != name || (line.size() > name.size() && line[name.size()] != ' ')) {
      error = "expected '" + std::string(name) + "', not '" + std::string(line.substr(0, 20)) + "'";
      return false;
    }
    values[field] = line.substr(std::min(line.size(), name.size() + 1));
    at = end + 1;
  }
  if (at != text.size()) {
    error = "text after the board line";
    return false;
  }
  return true;
}

// The moves replayed from the start as the game plays them: each must obey
// its piece's movement rule and leave the mover's king safe, and each is
// judged, which restarts the history after a capture. The position after
// the first undoMoves moves is the undo snapshot.
bool Replay(const std::vector<std::string_view>& words, ResumedGame& game, std::string& error) {
  GameRecord& record = game.saved.record;
  Position pos = record.start;
  Ending ending = Ending::NONE;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i == record.undoMoves) game.undoSnapshot = pos;
    const std::string where = "move " + std::to_string(i + 1) + " '" + std::string(words[i]) + "'";
    if (ending != Ending::NONE) {
      error = where + " comes after the end of the game";
      return false;
    }
    const Move mv = ParseIccsMove(words[i]);
    if (mv == 0) {
      error = where + " is not a move";
      return false;
    }
    if (!pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) {
      error = where + " is illegal";
      return false;
    }
    record.moves.push_back(mv);
    ending = JudgeMove(pos);
  }
  if (words.size() == record.undoMoves) game.undoSnapshot = pos;
  // When the computer is to move and cannot, the game ended without a
  // move of its own: the controller judges it so when it asks for one.
  if (ending == Ending::NONE && pos.side != (game.saved.humanPlaysBlack ? SIDE_BLACK : SIDE_RED) &&
      pos.IsMated()) {
    ending = pos.IsInCheck() ? Ending::MATE : Ending::STALEMATE;
  }
  record.ending = ending;
  game.current = pos;
  return true;
}

}  // namespace

std::string WriteSavedGame(const SavedGame& game, const Position& current) {
  const GameRecord& record = game.record;
  std::string text = std::string(HEADER) + std::to_string(SAVED_GAME_VERSION) + "\n";
  text += "start " + ToFen(record.start) + "\n";
  text += game.humanPlaysBlack ? "human black\n" : "human red\n";
  text += "level " + std::to_string(game.level) + "\n";
  text += game.soundOn ? "sound on\n" : "sound off\n";
  text += "random " + std::to_string(game.randomState) + "\n";
  text += "moves";
  for (const Move mv : record.moves) text += " " + IccsMove(mv);
  text += "\nundo " + std::to_string(record.undoMoves) + (game.undoEnabled ? " on\n" : " off\n");
  text += record.ending == Ending::NONE ? "over no\n" : game.questionOpen ? "over asking\n" : "over answered\n";
  text += "board " + MoveText(game.lastMove) + " " + ToFen(current) + "\n";
  return text;
}

bool ReadSavedGame(std::string_view text, ResumedGame& out, std::string& error) {
  auto fail = [&](const std::string& why) {
    error = why;
    return false;
  };
  if (text.size() > MAX_SAVED_GAME_SIZE) {
    return fail("the record is " + std::to_string(text.size()) + " bytes long, more than any game needs");
  }
  const std::string_view header = text.substr(0, text.find('\n'));
  if (header.substr(0, HEADER.size()) != HEADER) return fail("not a saved game");
  uint32_t version = 0;
  if (!ReadNumber(header.substr(HEADER.size()), UINT32_MAX, version)) return fail("not a saved game");
  if (version != SAVED_GAME_VERSION) {
    return fail(version > SAVED_GAME_VERSION ? "saved by a newer version (" + std::to_string(version) + ")"
                                              : "an unknown version (" + std::to_string(version) + ")");
  }
  std::string_view values[FIELD_COUNT];
  if (!SplitFields(text, values, error)) return false;

  ResumedGame game;
  SavedGame& saved = game.saved;
  std::string fenError;
  if (!ParseFen(values[START], saved.record.start, fenError)) return fail("the start: " + fenError);
  if (!ReadSwitch(values[HUMAN], "black", "red", saved.humanPlaysBlack)) return fail("the human's side");
  uint32_t number = 0;
  if (!ReadNumber(values[LEVEL], LEVEL_COUNT - 1, number)) return fail("the level");
  saved.level = int(number);
  if (!ReadSwitch(values[SOUND], "on", "off", saved.soundOn)) return fail("the sound");
  if (!ReadNumber(values[RANDOM], UINT32_MAX, saved.randomState)) return fail("the generator's state");

  const std::vector<std::string_view> moves = Words(values[MOVES]);
  if (moves.size() > MAX_SAVED_MOVES) return fail(std::to_string(moves.size()) + " moves, more than any game has");
  const std::vector<std::string_view> undo = Words(values[UNDO]);
  if (undo.size() != 2 || !ReadNumber(undo[0], uint32_t(moves.size()), number) ||
      !ReadSwitch(undo[1], "on", "off", saved.undoEnabled)) {
    return fail("the undo state");
  }
  saved.record.undoMoves = number;
  if (values[OVER] != "no" && values[OVER] != "asking" && values[OVER] != "answered") {
    return fail("the game-over state");
  }
  saved.questionOpen = values[OVER] == "asking";

  if (!Replay(moves, game, error)) return false;

  const Side human = saved.humanPlaysBlack ? SIDE_BLACK : SIDE_RED;
  // Undo takes back a human move with its reply, so its snapshot is always
  // a position with the human to move, before a move still on the record.
  if (saved.undoEnabled && (saved.record.undoMoves == moves.size() || game.undoSnapshot.side != human)) {
    return fail("the undo state does not fit the moves");
  }
  if ((saved.record.ending != Ending::NONE) != (values[OVER] != "no")) {
    return fail(saved.record.ending != Ending::NONE ? "the moves end the game, the record goes on"
                                                    : "the record ends a game its moves do not");
  }

  // The board line only repeats what the replay gives, and must agree.
  const size_t space = values[BOARD].find(' ');
  const std::string_view framed = values[BOARD].substr(0, space);
  const Move last = saved.record.moves.empty() ? 0 : saved.record.moves.back();
  if (framed == "-") {
    saved.lastMove = 0;
  } else if (last != 0 && framed == IccsMove(last)) {
    saved.lastMove = last;
  } else {
    return fail("the framed move '" + std::string(framed) + "' is not the last move");
  }
  if (space == std::string_view::npos || values[BOARD].substr(space + 1) != ToFen(game.current)) {
    return fail("the board does not show the position the moves reach");
  }

  out = std::move(game);
  error.clear();
  return true;
}

}  // namespace lanterra
