#pragma once

#include <iosfwd>

#include "command_options.h"

namespace kestrin {

/// `kestrin-cli calc`: opens the battle file, recalculates and prints one tick object per tick.
int RunCalc(const CalcOptions& options, const std::filesystem::path& statsPath,
            std::ostream& out, std::ostream& err);

/// `kestrin-cli parse`: applies the report text from `in` and prints one tick object.
int RunParse(const ParseOptions& options, const std::filesystem::path& statsPath,
             std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kestrin
