// lanterra uci: the engine for UCI xiangqi GUIs (squares a0-i9, as Pikafish).
#include <cstdio>
#include <iostream>

#include "protocol/protocol.h"
#include "tools/command.h"

namespace lanterra::tool {
namespace {

int RunUci(const Args& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "lanterra uci: takes no arguments; options are set with setoption\n");
    return 2;
  }
  return RunProtocol(std::cin, std::cout, Dialect::UCI);
}

CommandRegistrar reg{"uci", "uci  engine over UCI (UCI_Variant xiangqi, squares a0-i9)", &RunUci};

}  // namespace
}  // namespace lanterra::tool
