// Entry point of the command-line tool: dispatches to the registered commands.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "tools/command.h"

namespace lanterra::tool {

static int PrintUsage(FILE* out) {
  std::fprintf(out, "usage: lanterra COMMAND [ARGS]\ncommands:\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
  // A command with subcommands gives one usage line for each.
  for (const Command& c : commands) {
    for (std::string_view rest = c.usage; !rest.empty();) {
      std::string_view line = rest.substr(0, rest.find('\n'));
      rest.remove_prefix(std::min(rest.size(), line.size() + 1));
      std::fprintf(out, "  %.*s\n", int(line.size()), line.data());
    }
  }
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
