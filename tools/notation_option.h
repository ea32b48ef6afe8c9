// The --notation option of the commands that write moves.
#pragma once

#include <optional>
#include <string_view>

#include "notation/move_notation.h"
#include "tools/command.h"

namespace lanterra::tool {

// The option's text for a command's usage line.
inline constexpr std::string_view NOTATION_OPTION = "--notation chinese|simplified|wxf|iccs";

// Takes "--notation NAME" out of args, wherever it stands, into notation
// (left empty when the option is absent; the last one given counts).
// Returns false, having said why on stderr in the command's name, when NAME
// is missing or names no notation.
bool TakeNotationOption(Args& args, std::string_view command, std::optional<Notation>& notation);

}  // namespace lanterra::tool
