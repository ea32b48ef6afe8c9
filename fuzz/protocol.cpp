// Command lines through one UCCI or UCI session (the first byte chooses),
// every search held to depth 3 so that an input takes milliseconds: every
// answer is a protocol line in printable ASCII, and every move a go answers
// is legal in the position the session holds (protocol/session_check.h).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "protocol/session_check.h"

using namespace lanterra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Dialect dialect = data[0] & 1 ? Dialect::UCI : Dialect::UCCI;
  const std::string_view script(reinterpret_cast<const char*>(data) + 1, size - 1);
  ProtocolCaps caps;
  caps.maxDepth = 3;
  const SessionCheck check = CheckSession(script, dialect, caps);
  fuzz::Check(check.badAnswers == 0, check.firstBadAnswer);
  return 0;
}
