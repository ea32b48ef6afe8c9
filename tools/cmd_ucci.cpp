// lanterra ucci: the engine for Chinese xiangqi programs, over UCCI.
#include <cstdio>
#include <iostream>

#include "protocol/protocol.h"
#include "tools/command.h"

namespace lanterra::tool {
namespace {

int RunUcci(const Args& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "lanterra ucci: takes no arguments; options are set with setoption\n");
    return 2;
  }
  return RunProtocol(std::cin, std::cout, Dialect::UCCI);
}

CommandRegistrar reg{"ucci", "ucci  engine over UCCI on standard input and output", &RunUcci};

}  // namespace
}  // namespace lanterra::tool
