#include "tools/pgn_reader.h"

#include <zlib.h>

#include <cstdio>

#include "rules/long_game.h"
#include "rules/notation.h"
#include "tools/chinese_notation.h"

namespace lanterra::tool {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsResultToken(std::string_view t) { return t == "1-0" || t == "0-1" || t == "1/2-1/2" || t == "*"; }

// Removes a leading move number: "12." and "12..." alone, or glued to the
// move as in "12.h2e2".
std::string_view StripMoveNumber(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  if (i == 0 || i == t.size() || t[i] != '.') return t;
  while (i < t.size() && t[i] == '.') ++i;
  return t.substr(i);
}

// Parses [Name "value"]; false for a line that is not a tag pair.
bool ParseTag(std::string_view line, std::string& name, std::string& value) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  line = Trim(line.substr(1, line.size() - 2));
  size_t space = line.find_first_of(" \t");
  if (space == std::string_view::npos) return false;
  name = std::string(line.substr(0, space));
  std::string_view rest = Trim(line.substr(space));
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  value.clear();
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
    value += rest[i];
  }
  return true;
}

bool LooksLikeIccs(std::string_view t) {
  return (t.size() == 4 || (t.size() == 5 && t[2] == '-')) && static_cast<unsigned char>(t[0]) < 0x80;
}

}  // namespace

std::string_view PgnGame::Tag(std::string_view name) const {
  for (const auto& [n, v] : tags)
    if (n == name) return v;
  return {};
}

std::string PgnGame::Result() const {
  std::string_view tag = Tag("Result");
  return std::string(tag.empty() ? std::string_view(termination) : tag);
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  // gzread passes data that is not gzip through unchanged, so one reader
  // serves both forms.
  gzFile file = gzopen(path.c_str(), "rb");
  if (!file) {
    error = path + ": cannot open";
    return false;
  }
  text.clear();
  char buffer[1 << 16];
  int n;
  while ((n = gzread(file, buffer, sizeof buffer)) > 0) text.append(buffer, size_t(n));
  int code = Z_OK;
  const char* message = n < 0 ? gzerror(file, &code) : nullptr;
  gzclose(file);
  if (n < 0) {
    error = path + ": " + (message ? message : "read error");
    return false;
  }
  return true;
}

bool PgnParser::NextLine(std::string_view& line) {
  if (offset >= text.size()) return false;
  size_t end = text.find('\n', offset);
  if (end == std::string_view::npos) end = text.size();
  line = Trim(text.substr(offset, end - offset));
  offset = end + 1;
  ++lineNumber;
  return true;
}

void PgnParser::AddMoveTokens(std::string_view line, PgnGame& game) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (commentDepth) {
      if (c == '}') commentDepth = 0;
      ++i;
      continue;
    }
    if (c == '{') {
      commentDepth = 1;
      ++i;
      continue;
    }
    if (c == ';' && !variationDepth) return;  // the rest of the line is a comment
    if (c == '(') ++variationDepth;
    if (c == ')' && variationDepth) {
      --variationDepth;
      ++i;
      continue;
    }
    if (IsSpace(c) || variationDepth) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < line.size() && !IsSpace(line[end]) && line[end] != '{' && line[end] != '(' && line[end] != ';') ++end;
    std::string_view token = StripMoveNumber(line.substr(i, end - i));
    i = end;
    // Lone move numbers strip to nothing or to dots.
    if (token.empty() || token.find_first_not_of('.') == std::string_view::npos) continue;
    if (IsResultToken(token)) game.termination = std::string(token);
    else game.moves.emplace_back(token);
  }
}

bool PgnParser::Next(PgnGame& game) {
  game = PgnGame{};
  bool started = false;
  bool hasMoveText = false;
  std::string name, value;
  if (!pendingTag.empty()) {
    started = true;
    game.line = pendingTagLine;
    if (ParseTag(pendingTag, name, value)) game.tags.emplace_back(name, value);
    pendingTag = {};
  }
  std::string_view line;
  while (NextLine(line)) {
    if (line.empty()) continue;
    if (!commentDepth && line.front() == '[' && ParseTag(line, name, value)) {
      if (hasMoveText) {
        // The tag belongs to the next game.
        pendingTag = line;
        pendingTagLine = lineNumber;
        break;
      }
      if (!started) game.line = lineNumber;
      started = true;
      game.tags.emplace_back(name, value);
      continue;
    }
    if (!started) game.line = lineNumber;
    started = true;
    hasMoveText = true;
    AddMoveTokens(line, game);
    // A result token ends the game even when no tags follow.
    if (!game.termination.empty() && !commentDepth && !variationDepth) break;
  }
  if (!started) return false;
  commentDepth = 0;
  variationDepth = 0;
  game.index = ++gameCount;
  return true;
}

bool ReplayGame(const PgnGame& game, std::string_view source, Position& start, std::vector<Move>& moves,
                std::string& error) {
  auto where = [&] {
    std::string name = std::string(source) + ":" + std::to_string(game.line) + " game " + std::to_string(game.index);
    std::string_view event = game.Tag("Event");
    if (!event.empty()) name += " (" + std::string(event) + ")";
    return name;
  };
  std::string_view fen = game.Tag("FEN");
  std::string fenError;
  if (!ParseFen(fen.empty() ? START_FEN : fen, start, fenError)) {
    error = where() + ": bad FEN: " + fenError;
    return false;
  }
  moves.clear();
  Position pos = start;
  Move legal[MAX_MOVES_PER_POSITION];
  for (size_t ply = 0; ply < game.moves.size(); ++ply) {
    const std::string& text = game.moves[ply];
    std::string why;
    Move mv = 0;
    if (LooksLikeIccs(text)) {
      mv = ParseIccsMove(text);
      int n = ListLegalMoves(pos, legal);
      bool found = false;
      for (int i = 0; i < n && mv; ++i) found |= legal[i] == mv;
      if (!found) {
        why = mv ? "not a legal move" : "not a move in ICCS notation";
        mv = 0;
      }
    } else {
      mv = ParseChineseMove(pos, text, why);
    }
    if (!mv) {
      // Move numbers count move pairs; the side says which half.
      int number = int(ply / 2) + 1;
      if (start.side == SIDE_BLACK) number = int((ply + 1) / 2) + 1;
      error = where() + ": move " + std::to_string(number) + (pos.side == SIDE_RED ? " red" : " black") + " \"" +
              text + "\": " + why;
      return false;
    }
    PlayLongGameMove(pos, mv);
    moves.push_back(mv);
  }
  return true;
}

}  // namespace lanterra::tool
