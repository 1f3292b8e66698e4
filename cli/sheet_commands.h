#pragma once

#include <iosfwd>

#include "command_options.h"
#include "save_temporaries.h"

namespace kestrin {

/// `kestrin-cli calc`: opens the battle file, recalculates and prints one tick object per tick.
/// A --save temporary is tracked in `temporaries` (none: not removed on a signal).
int RunCalc(const CalcOptions& options, const std::filesystem::path& statsPath,
            std::ostream& out, std::ostream& err, SaveTemporaries* temporaries = nullptr);

/// `kestrin-cli parse`: applies the report text from `in` and prints one tick object.
int RunParse(const ParseOptions& options, const std::filesystem::path& statsPath,
             std::istream& in, std::ostream& out, std::ostream& err, SaveTemporaries* temporaries = nullptr);

}  // namespace kestrin
