// The bytes between the match runner and an outside engine: what we send it
// and what it writes back. An engine is normally a child process on pipes;
// the fuzz harness puts a scripted engine in its place.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace lanterra {

class EngineChannel {
 public:
  using Deadline = std::chrono::steady_clock::time_point;
  enum class ReadStatus {
    DATA,     // got holds how many bytes were put in the buffer
    TIMEOUT,  // the engine wrote nothing before the deadline
    CLOSED,   // the engine closed its output
    FAILED,   // the channel broke
  };

  virtual ~EngineChannel() = default;
  // Sends bytes whole. False when the engine takes no more: it has closed
  // its input, or it has not read enough of it by deadline to make room.
  virtual bool Write(std::string_view bytes, Deadline deadline) = 0;
  // Waits until deadline for what the engine writes next and puts up to
  // buffer.size() bytes of it in buffer.
  virtual ReadStatus Read(std::span<char> buffer, size_t& got, Deadline deadline) = 0;
};

// Runs command through /bin/sh, so it may carry arguments, as a child
// process whose standard input and output are the channel; its standard
// error goes to /dev/null. Ending the channel closes both pipes, gives the
// engine a moment to leave and then kills it. Null, with the reason in
// error, when the process cannot be made.
std::unique_ptr<EngineChannel> StartEngineProcess(const std::string& command, std::string& error);

}  // namespace lanterra
