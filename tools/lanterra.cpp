// Entry point of the command-line tool: dispatches to the registered commands.
#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/command.h"

namespace lanterra::tool {

static int PrintUsage(FILE* out) {
  std::fprintf(out, "usage: lanterra COMMAND [ARGS]\ncommands:\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
  for (const Command& c : commands)
    std::fprintf(out, "  %.*s\n", int(c.usage.size()), c.usage.data());
  return out == stderr ? 2 : 0;
}

}  // namespace lanterra::tool

int main(int argc, char** argv) {
  using namespace lanterra::tool;
  if (argc < 2) return PrintUsage(stderr);
  std::string_view name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") return PrintUsage(stdout);
  for (const Command& c : Commands()) {
    if (c.name == name) return c.run(Args(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "lanterra: unknown command '%s'\n", argv[1]);
  return PrintUsage(stderr);
}
