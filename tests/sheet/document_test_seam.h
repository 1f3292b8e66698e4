#pragma once

#include "sheet/battle_document.h"

namespace kestrin {

/// The one way past the document's commands, for tests only: a battle set up cell by cell,
/// with no step, no recalculation and no view told, as a test's starting point.
struct DocumentTestSeam {
    static BattleSheet& Sheet(BattleDocument& document) { return document.sheet_; }
};

}  // namespace kestrin
