#include "tools/notation_option.h"

#include <cstdio>
#include <string>

#include "notation/text.h"

namespace lanterra::tool {

bool TakeNotationOption(Args& args, std::string_view command, std::optional<Notation>& notation) {
  Args rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--notation") {
      rest.push_back(args[i]);
      continue;
    }
    std::optional<Notation> named;
    if (i + 1 < args.size()) named = NotationNamed(args[i + 1]);
    if (!named) {
      const std::string given = i + 1 < args.size() ? "'" + Printable(args[i + 1]) + "'" : "nothing";
      std::fprintf(stderr, "lanterra %.*s: --notation takes chinese, simplified, wxf or iccs, not %s\n",
                   int(command.size()), command.data(), given.c_str());
      return false;
    }
    notation = named;
    ++i;
  }
  args = std::move(rest);
  return true;
}

}  // namespace lanterra::tool
