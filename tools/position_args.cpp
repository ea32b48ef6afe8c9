#include "tools/position_args.h"

#include <charconv>
#include <cstdio>

#include "rules/long_game.h"
#include "rules/notation.h"

namespace lanterra::tool {

bool ParseNumber(std::string_view text, long long& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ReadPositionArgs(const Args& args, size_t first, Position& pos) {
  std::string fen;
  size_t i = first;
  for (; i < args.size() && args[i] != "moves"; ++i) {
    if (!fen.empty()) fen += ' ';
    fen += args[i];
  }
  if (fen.empty() || fen == "startpos") fen = START_FEN;
  std::string error;
  Position p;
  if (!ParseFen(fen, p, error)) {
    std::fprintf(stderr, "lanterra: %s\n", error.c_str());
    return false;
  }
  if (i < args.size()) {
    for (++i; i < args.size(); ++i) {
      Move mv = ParseIccsMove(args[i]);
      if (mv == 0) {
        std::fprintf(stderr, "lanterra: '%.*s' is not an ICCS move\n", int(args[i].size()), args[i].data());
        return false;
      }
      if (!PlayLongGameMove(p, mv)) {
        std::fprintf(stderr, "lanterra: move '%.*s' is illegal in %s\n", int(args[i].size()), args[i].data(),
                     ToFen(p).c_str());
        return false;
      }
    }
  }
  pos = p;
  return true;
}

}  // namespace lanterra::tool
