// The entries of one input, read a piece at a time in the format given or
// found in its first bytes, each handed on as soon as it is read.
#pragma once

#include <optional>
#include <string>

#include "cli/Importers.h"
#include "cli/InputFile.h"

namespace cli {

// False, with the reason (naming the input), when the input fails or turns
// out to be no word list of its format; entries handed on before that
// are to be dropped.
bool readEntries(InputFile& in, const std::optional<Format>& given, const EntrySink& sink, Format& format,
                 std::string& error);

}  // namespace cli
