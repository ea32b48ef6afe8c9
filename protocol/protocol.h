// The engine protocols other xiangqi programs speak to us in: UCCI, the
// protocol of Chinese xiangqi programs, and UCI as Pikafish and most xiangqi
// GUIs use it. Both run through one loop; a dialect only renames commands and
// options and formats scores its own way.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>

#include "engine/engine.h"
#include "rules/position.h"

namespace lanterra {

enum class Dialect { UCCI, UCI };

// Bounds a caller can put on every search of a session. The fuzzer uses them
// so that a million random inputs finish in minutes; the protocol commands
// run without them.
struct ProtocolCaps {
  int maxDepth = MAX_PLY;
};

// Longest command line a session takes; a longer one is refused, and the
// loop drops the rest of it unread.
inline constexpr size_t MAX_COMMAND_LINE = 64 * 1024;

// One engine session: the position, the options and the engine, fed one
// command line at a time, answering on out. A session starts at the normal
// start position, level 3, book on and the generator seeded from the clock.
class ProtocolSession {
 public:
  ProtocolSession(std::ostream& out, Dialect dialect, const ProtocolCaps& caps = {});
  ~ProtocolSession();
  ProtocolSession(const ProtocolSession&) = delete;
  ProtocolSession& operator=(const ProtocolSession&) = delete;

  // Handles one command line, without its newline. Returns false once the
  // session has ended (quit).
  bool Handle(std::string_view line);
  // The position the next go searches.
  const Position& CurrentPosition() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl;
};

// Reads commands from in until `quit` or the end of input, answering on out,
// in one session. Returns the process exit code.
int RunProtocol(std::istream& in, std::ostream& out, Dialect dialect, const ProtocolCaps& caps = {});

}  // namespace lanterra
