// An outside engine (Fairy-Stockfish or any UCI/UCCI xiangqi engine) and the
// move texts it speaks. Whatever it writes is untrusted: lines of any length
// or none, bytes of any value, replies that never come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "match/engine_channel.h"
#include "rules/position.h"

namespace lanterra {

// Move texts for an outside engine: ICCS squares, with ranks counted from 1
// when rankBase is 1 (Fairy-Stockfish's UCI dialect: "h3e3" for ICCS "h2e2").
std::string EngineMoveText(Move mv, int rankBase);
Move ParseEngineMove(std::string_view text, int rankBase);  // 0 if malformed

struct OutsideEngineSettings {
  std::string command = "/usr/games/fairy-stockfish";
  bool ucci = false;      // false: UCI with UCI_Variant xiangqi
  int rankBase = 1;       // 1 for Fairy-Stockfish over UCI, 0 for UCCI and Pikafish
  int skill = -1;         // Skill Level, -1 to leave it alone
  int32_t nodes = 0;      // go nodes N
  int depth = 0;          // go depth D (used when nodes is 0)
  int timeoutSeconds = 300;  // for each whole reply, however many lines it has
  std::string Describe() const;
};

// Longest line read from an outside engine. A longer one is skipped whole,
// so that an engine writing without end fills no memory.
inline constexpr size_t MAX_ENGINE_LINE = 64 * 1024;

// The session with an outside engine. Every failure (no answer, a crash, a
// malformed reply) is reported, never fatal.
class OutsideEngine {
 public:
  OutsideEngine() = default;
  ~OutsideEngine();
  OutsideEngine(const OutsideEngine&) = delete;
  OutsideEngine& operator=(const OutsideEngine&) = delete;

  // Starts settings.command as a child process and opens the session.
  bool Start(const OutsideEngineSettings& settings, std::string& error);
  // Opens the session over a channel that is already there.
  bool Start(const OutsideEngineSettings& settings, std::unique_ptr<EngineChannel> channel, std::string& error);
  bool NewGame(std::string& error);
  // The engine's move after moves from the normal start. Returns false when
  // the engine did not answer; a reply without a usable move returns true
  // with move 0 and error set.
  bool BestMove(const std::vector<Move>& moves, Move& move, std::string& error);
  // From "id name", with what is not printable escaped (Printable).
  std::string name;

 private:
  using Deadline = EngineChannel::Deadline;
  Deadline ReplyDeadline() const;
  bool Send(const std::string& line, std::string& error);
  bool ReadLine(std::string& line, Deadline deadline, std::string& error);
  bool WaitFor(std::string_view word, std::string& error, std::string* line = nullptr);

  OutsideEngineSettings settings;
  std::unique_ptr<EngineChannel> channel;
  std::string pending;    // read but not yet handed on as lines
  size_t searched = 0;    // how much of pending holds no newline
  bool skipping = false;  // in a line longer than MAX_ENGINE_LINE
};

}  // namespace lanterra
