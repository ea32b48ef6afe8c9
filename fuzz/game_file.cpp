// The input as a game file, the way "lanterra pgn" reads one: plain text,
// or gzip-compressed whole or cut short, read with the normal bounds or with
// small ones. Every game that reads plays legally from its start, and what
// the tool writes of the games (ICCS lines, or a record in a notation the
// input picks) reads back, with the normal bounds, to the same text: "pgn"
// of "pgn"'s output is the same.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "pgn/pgn_replay.h"
#include "pgn/pgn_rewrite.h"

using namespace lanterra;

namespace {

// text as one gzip member, or empty when zlib will not make one.
std::string Gzip(const std::string& text) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::string out(deflateBound(&stream, uLong(text.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = uInt(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = uInt(out.size());
  const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return done ? out : std::string();
}

struct Written {
  std::string text;
  long games = 0;    // games the splitter gave
  long written = 0;  // games that played and were written
  std::string error;  // why the source stopped early
};

// Reads file as the tool does and writes every game that plays.
Written Rewrite(const std::string& file, size_t maxLineBytes, size_t maxGameBytes, std::optional<Notation> notation) {
  Written out;
  PgnSource source(maxLineBytes);
  source.OpenText(file);
  PgnSplitter splitter(source, maxGameBytes);
  PgnGame game;
  Position start;
  std::vector<Move> moves;
  std::string why, record;
  while (splitter.Next(game)) {
    ++out.games;
    if (!ReplayGame(game, "fuzz", start, moves, why)) continue;
    Position pos = start;
    fuzz::Check(pos.IsConsistent(), "a game's start is a consistent position");
    for (Move mv : moves) {
      fuzz::Check(fuzz::IsLegal(pos, mv), "a replayed game's moves are legal");
      PlayLongGameMove(pos, mv);
    }
    if (!RewriteGame(game, start, moves, notation, record, why)) continue;
    out.text += record;
    ++out.written;
  }
  out.error = source.Error();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int packing = input.ConsumeIntegralInRange(0, 2);  // plain, gzip, gzip cut short
  const bool small = input.ConsumeBool();
  const size_t maxLineBytes = small ? input.ConsumeIntegralInRange<size_t>(1, 200) : MAX_LINE_BYTES;
  const size_t maxGameBytes = small ? input.ConsumeIntegralInRange<size_t>(1, 2000) : MAX_GAME_BYTES;
  // None for the tool's ICCS lines, or one of the notations in the enum's order.
  const int choice = input.ConsumeIntegralInRange(0, 4);
  const std::optional<Notation> notation = choice ? std::optional(Notation(choice - 1)) : std::nullopt;
  const size_t cut = input.ConsumeIntegral<size_t>();
  std::string file = input.ConsumeRemainingBytesAsString();
  if (packing > 0) {
    file = Gzip(file);
    if (packing == 2 && !file.empty()) file.resize(cut % file.size());
  }

  const Written first = Rewrite(file, maxLineBytes, maxGameBytes, notation);
  fuzz::Check(first.written <= first.games, "no more games written than read");
  // The output is read back as the next run of the tool would read it.
  const Written second = Rewrite(first.text, MAX_LINE_BYTES, MAX_GAME_BYTES, notation);
  fuzz::Check(second.error.empty(), "the output reads to its end");
  fuzz::Check(second.games == first.written && second.written == first.written,
              "every game written reads back and plays");
  fuzz::Check(second.text == first.text, "the output written again is the same");
  return 0;
}
