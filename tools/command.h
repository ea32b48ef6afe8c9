// The lanterra tool's commands register themselves here, one file each.
#pragma once

#include <string_view>
#include <vector>

namespace lanterra::tool {

using Args = std::vector<std::string_view>;
// Returns the process exit code.
using CommandFn = int (*)(const Args& args);

struct Command {
  std::string_view name;
  std::string_view usage;
  CommandFn run;
};

// Registers a command at static initialisation: `static CommandRegistrar r{...};`.
struct CommandRegistrar {
  CommandRegistrar(std::string_view name, std::string_view usage, CommandFn run);
};

const std::vector<Command>& Commands();

}  // namespace lanterra::tool
