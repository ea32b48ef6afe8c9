// An outside engine (Fairy-Stockfish or any UCI/UCCI xiangqi engine) as a
// child process on pipes, and the move texts it speaks.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The outside engine as a child process. Every failure (no answer, a crash,
// a malformed reply) is reported, never fatal.
class OutsideEngine {
 public:
  OutsideEngine() = default;
  ~OutsideEngine();
  OutsideEngine(const OutsideEngine&) = delete;
  OutsideEngine& operator=(const OutsideEngine&) = delete;

  bool Start(const OutsideEngineSettings& settings, std::string& error);
  bool NewGame(std::string& error);
  // The engine's move after moves from the normal start. Returns false when
  // the engine did not answer; a reply without a usable move returns true
  // with move 0 and error set.
  bool BestMove(const std::vector<Move>& moves, Move& move, std::string& error);
  std::string name;  // from "id name"

 private:
  using Deadline = std::chrono::steady_clock::time_point;
  Deadline ReplyDeadline() const;
  bool Send(const std::string& line);
  bool ReadLine(std::string& line, Deadline deadline, std::string& error);
  bool WaitFor(std::string_view word, std::string& error, std::string* line = nullptr);
  void Stop();

  OutsideEngineSettings settings;
  int pid = -1;
  int toChild = -1;
  int fromChild = -1;
  std::string pending;
};

}  // namespace lanterra
