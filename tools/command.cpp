#include "tools/command.h"

namespace lanterra::tool {

static std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

CommandRegistrar::CommandRegistrar(std::string_view name, std::string_view usage, CommandFn run) {
  Registry().push_back({name, usage, run});
}

const std::vector<Command>& Commands() { return Registry(); }

}  // namespace lanterra::tool
