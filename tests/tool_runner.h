// Runs the lanterra tool built beside the tests, as a shell would, for the
// tests of its commands.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace lanterra::test {

struct ToolRun {
  int exitCode = -1;  // -1 when the tool could not start or did not exit by itself
  std::string output;
};

// Whether the tool's standard error joins its output, is thrown away, or is
// the output alone (standard output thrown away).
enum class ToolStderr { DROPPED, MERGED, ONLY };

// Runs "lanterra ARGS"; ARGS is shell text, so paths in it must need no quoting.
inline ToolRun RunTool(const std::string& args, ToolStderr stderrTo = ToolStderr::DROPPED) {
  std::string command = std::string(LANTERRA_TOOL) + " " + args;
  constexpr const char* REDIRECTS[] = {" 2>/dev/null", " 2>&1", " 2>&1 >/dev/null"};
  command += REDIRECTS[int(stderrTo)];
  ToolRun run;
  FILE* out = popen(command.c_str(), "r");
  if (!out) return run;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, out)) run.output.append(buffer, n);
  int status = pclose(out);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace lanterra::test
