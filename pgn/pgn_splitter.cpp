#include "pgn/pgn_splitter.h"

#include <algorithm>
#include <cctype>

namespace lanterra {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsResultToken(std::string_view t) { return t == "1-0" || t == "0-1" || t == "1/2-1/2" || t == "*"; }

// Removes a leading move number: "12." and "12..." alone, or glued to the
// move as in "12.h2e2". A lone digit after the dot is no move, so "33.4" is
// kept whole: the WXF move of the middle of three pawns on file 3.
std::string_view StripMoveNumber(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  if (i == 0 || i == t.size() || t[i] != '.') return t;
  while (i < t.size() && t[i] == '.') ++i;
  if (i + 1 == t.size() && t[i] >= '0' && t[i] <= '9') return t;
  return t.substr(i);
}

bool IsTagName(std::string_view name) {
  if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// Parses [Name "value"]; false for a line that is not a tag pair. Strict
// asks for a name of letters, digits and underscores and a quoted value, so
// that a bracketed note inside a comment is not taken for a tag.
bool ParseTag(std::string_view line, std::string& name, std::string& value, bool strict) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  line = Trim(line.substr(1, line.size() - 2));
  size_t space = line.find_first_of(" \t");
  if (space == std::string_view::npos) return false;
  std::string_view rest = Trim(line.substr(space));
  bool quoted = rest.size() >= 2 && rest.front() == '"' && rest.back() == '"';
  if (strict && (!IsTagName(line.substr(0, space)) || !quoted)) return false;
  name = std::string(line.substr(0, space));
  if (quoted) rest = rest.substr(1, rest.size() - 2);
  // Only a quote and a backslash are escaped; any other backslash stands
  // for itself, as in a path or a byte the source shows as \xNN.
  value.clear();
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size() && (rest[i + 1] == '"' || rest[i + 1] == '\\')) ++i;
    value += rest[i];
  }
  return true;
}

bool HasTag(const PgnGame& game, std::string_view name) {
  return std::any_of(game.tags.begin(), game.tags.end(), [&](const auto& tag) { return tag.first == name; });
}

// The first fault found is the one reported.
void Fail(PgnGame& game, std::string why) {
  if (game.fault.empty()) game.fault = std::move(why);
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

void PgnSplitter::AddMoveTokens(std::string_view line, PgnGame& game, long at, bool keep) {
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
      commentLine = at;
      ++i;
      continue;
    }
    if (c == ';' && !variationDepth) return;  // the rest of the line is a comment
    if (c == '(' && !variationDepth++) variationLine = at;
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
    else if (keep) game.moves.emplace_back(token);
  }
}

bool PgnSplitter::Next(PgnGame& game) {
  game = PgnGame{};
  bool begun = false;
  bool hasMoveText = false;
  bool hasTags = false;
  bool blankAfterTags = false;
  size_t bytes = 0;
  SourceLine line;
  std::string name, value;
  for (;;) {
    if (pendingTag) {
      line = std::move(*pendingTag);
      pendingTag.reset();
    } else if (!source.NextLine(line)) {
      if (begun && !source.Error().empty()) Fail(game, "cut short: the file breaks off inside this game");
      break;
    }
    const long at = line.number;
    const bool tooLong = line.tooLong;
    std::string_view text = Trim(line.text);
    if (text.empty()) {
      blankAfterTags = hasTags && !hasMoveText;
      continue;
    }
    // An overlong line is cut, so its closing bracket is lost; its opening
    // one still says whether it was meant for a tag.
    bool isTag = text.front() == '[' && (tooLong || ParseTag(text, name, value, commentDepth > 0));
    if (isTag) {
      if (begun && (hasMoveText || blankAfterTags || (!tooLong && HasTag(game, name)))) {
        pendingTag = std::move(line);
        break;
      }
      if (!begun) game.line = at;
      begun = true;
      hasTags = true;
    } else {
      if (!begun) game.line = at;
      begun = true;
      hasMoveText = true;
    }
    bytes += text.size();
    if (tooLong)
      Fail(game, "line " + std::to_string(at) + " is longer than " + std::to_string(source.MaxLineBytes()) + " bytes");
    else if (bytes > maxGameBytes)
      Fail(game, "the game is longer than " + std::to_string(maxGameBytes) + " bytes");
    if (tooLong) continue;
    // A faulty game is read to its end, keeping nothing.
    if (isTag) {
      if (game.fault.empty()) game.tags.emplace_back(name, value);
      continue;
    }
    AddMoveTokens(text, game, at, game.fault.empty());
    // A result token ends the game even when no tags follow.
    if (!game.termination.empty() && !commentDepth && !variationDepth) break;
  }
  if (!begun) return false;
  if (commentDepth) Fail(game, "the comment opened on line " + std::to_string(commentLine) + " is not closed");
  if (variationDepth) Fail(game, "the variation opened on line " + std::to_string(variationLine) + " is not closed");
  if (!game.fault.empty()) game.moves.clear();
  commentDepth = 0;
  variationDepth = 0;
  game.index = ++gameCount;
  return true;
}

}  // namespace lanterra
