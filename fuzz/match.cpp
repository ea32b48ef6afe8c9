// The match runner against an engine whose every byte the input writes: a
// scripted engine in place of the child process, in blocks of any size,
// with a flood of one byte somewhere in it (a line far past the longest the
// runner keeps), ending in silence or a closed output, and taking only so
// many commands. However the engine behaves, the runner sends it only
// protocol lines, every game it records reads back and replays legally, and
// its log stays printable.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "match/match.h"
#include "notation/text.h"
#include "pgn/pgn_replay.h"

using namespace lanterra;

namespace {

class ScriptedEngine : public EngineChannel {
 public:
  struct Script {
    std::string text;
    size_t block = 1;        // the most one read hands over
    size_t floodAt = 0;      // where in text the flood comes
    size_t floodBytes = 0;
    char floodByte = 0;
    bool silentAtEnd = false;  // after the text: a timeout, or a closed output
    int writesTaken = 0;       // commands read before the engine stops reading
  };
  explicit ScriptedEngine(Script script) : script(std::move(script)) {}

  bool Write(std::string_view bytes, Deadline) override {
    for (char c : bytes) sentProtocolOnly = sentProtocolOnly && (c == '\n' || (c >= 0x20 && c < 0x7F));
    return writes++ < script.writesTaken;
  }

  ReadStatus Read(std::span<char> buffer, size_t& got, Deadline) override {
    const size_t limit = std::min(buffer.size(), script.block);
    got = 0;
    if (at < script.floodAt || (flooded == script.floodBytes && at < script.text.size())) {
      const size_t end = at < script.floodAt ? script.floodAt : script.text.size();
      got = std::min(limit, end - at);
      std::memcpy(buffer.data(), script.text.data() + at, got);
      at += got;
    } else if (flooded < script.floodBytes) {
      got = std::min(limit, script.floodBytes - flooded);
      std::memset(buffer.data(), script.floodByte, got);
      flooded += got;
    }
    if (got) return ReadStatus::DATA;
    return script.silentAtEnd ? ReadStatus::TIMEOUT : ReadStatus::CLOSED;
  }

  bool sentProtocolOnly = true;

 private:
  Script script;
  size_t at = 0;
  size_t flooded = 0;
  int writes = 0;
};

// Printable UTF-8 lines: no control character but the newline.
bool IsPrintableText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    char32_t cp = 0;
    const size_t length = DecodeUtf8Char(text, at, cp);
    if (length == 0 || (cp < 0x20 && cp != '\n') || cp == 0x7F) return false;
    at += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  MatchSettings settings;
  settings.level = 0;
  settings.openings = 1;
  settings.openingPlies = input.ConsumeIntegralInRange(0, 4);
  settings.playRed = input.ConsumeBool();
  settings.playBlack = !settings.playRed || input.ConsumeBool();
  settings.engine.ucci = input.ConsumeBool();
  settings.engine.rankBase = input.ConsumeIntegralInRange(0, 1);
  settings.engine.depth = 1;
  settings.engine.timeoutSeconds = 1;
  ScriptedEngine::Script script;
  script.block = input.ConsumeIntegralInRange<size_t>(1, 4096);
  script.floodBytes = input.ConsumeBool() ? input.ConsumeIntegralInRange<size_t>(0, 16 * MAX_ENGINE_LINE) : 0;
  script.floodByte = input.ConsumeIntegral<char>();
  script.silentAtEnd = input.ConsumeBool();
  script.writesTaken = input.ConsumeBool() ? input.ConsumeIntegralInRange(0, 40) : 1 << 30;
  const size_t floodAt = input.ConsumeIntegral<uint16_t>();
  script.text = input.ConsumeRemainingBytesAsString();
  script.floodAt = std::min(floodAt, script.text.size());

  auto channel = std::make_unique<ScriptedEngine>(std::move(script));
  const ScriptedEngine& engineSide = *channel;
  OutsideEngine engine;
  std::string error;
  std::ostringstream log, pgn;
  MatchScore score;
  if (engine.Start(settings.engine, std::move(channel), error)) {
    if (!PlayMatch(settings, engine, log, &pgn, score, error))
      fuzz::Check(!error.empty(), "a match that stops says why");
  } else {
    fuzz::Check(!error.empty(), "an engine that does not start says why");
  }
  fuzz::Check(engineSide.sentProtocolOnly, "the runner sends only printable protocol lines");
  fuzz::Check(score.Games() <= 2, "one opening is two games at most");
  fuzz::Check(IsPrintableText(log.str()) && IsPrintableText(engine.name), "the log stays printable");

  // Every game recorded reads back and replays legally.
  const std::string games = pgn.str();
  PgnSource source;
  source.OpenText(games);
  PgnSplitter splitter(source);
  PgnGame game;
  int count = 0;
  while (splitter.Next(game)) {
    ++count;
    Position start;
    std::vector<Move> moves;
    const bool replayed = ReplayGame(game, "match", start, moves, error);
    fuzz::Check(replayed, error);
  }
  fuzz::Check(source.Error().empty() && count == score.Games(), "every game is recorded");
  return 0;
}
