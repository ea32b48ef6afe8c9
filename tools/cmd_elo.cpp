// lanterra elo: the score line of a match result, for scripts that add up
// the results of several match runs.
#include <cstdio>

#include "match/elo.h"
#include "tools/command.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

int RunElo(const Args& args) {
  long long counts[3];
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: lanterra elo WINS DRAWS LOSSES\n");
    return 2;
  }
  for (int i = 0; i < 3; ++i) {
    if (!ParseNumber(args[i], counts[i]) || counts[i] < 0 || counts[i] > 1000000) {
      std::fprintf(stderr, "lanterra elo: counts must be 0..1000000\n");
      return 2;
    }
  }
  std::printf("%s\n", ScoreLine({int(counts[0]), int(counts[1]), int(counts[2])}).c_str());
  return 0;
}

CommandRegistrar reg{"elo", "elo WINS DRAWS LOSSES  score line: score W-D-L pct P elo E \xC2\xB1 M", &RunElo};

}  // namespace
}  // namespace lanterra::tool
