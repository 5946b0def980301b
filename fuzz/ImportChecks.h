// What the importers' fuzz targets check whatever the bytes: the intake
// makes records the game reads back one for one, each storable, no phrase
// twice; and an input read from a file in pieces gives what the reader
// gives over the whole text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Importers.h"

namespace fuzz {

// Runs entries through an intake into an empty library and checks its records.
// Returns them.
std::string checkedIntake(const std::vector<cli::RawEntry>& entries, const std::string& input);

// The entries of bytes written to a file and read as an import reads it;
// nullopt when the import refuses it (error says why).
std::optional<std::vector<cli::RawEntry>> importedEntries(const std::string& bytes, std::optional<cli::Format> given,
                                                          cli::Format& format, std::string& error);

// Both lists hold the same entries, field for field.
void checkSameEntries(const std::vector<cli::RawEntry>& a, const std::vector<cli::RawEntry>& b,
                      const std::string& input);

}  // namespace fuzz
