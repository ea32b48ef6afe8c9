#include "pgn/pgn_writer.h"

#include "notation/fen_iccs.h"

namespace lanterra {

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

  std::string line;
  auto add = [&](const std::string& word) {
    if (!line.empty() && line.size() + 1 + word.size() > 79) {
      text += line + '\n';
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
  };
  for (size_t i = 0; i < moves.size(); ++i) {
    std::string iccs = IccsMove(moves[i]);
    std::string word = {char(iccs[0] - 'a' + 'A'), iccs[1], '-', char(iccs[2] - 'a' + 'A'), iccs[3]};
    if (i % 2 == 0) word = std::to_string(i / 2 + 1) + ". " + word;
    add(word);
  }
  if (!comment.empty()) {
    // A comment ends at its first closing brace, and PGN has no escape for
    // one inside it; it is written as messages show bytes they cannot print.
    std::string braced = "{";
    for (char c : comment) {
      if (c == '}')
        braced += "\\x7D";
      else
        braced += c;
    }
    add(braced + "}");
  }
  add(std::string(result));
  text += line + "\n\n";
  return text;
}

}  // namespace lanterra
