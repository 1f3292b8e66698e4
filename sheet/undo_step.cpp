#include "undo_step.h"

namespace kestrin {

const char* StepName(Step step) {
    switch (step) {
        case Step::Typing: return "Typing";
        case Step::Spin: return "Spin";
        case Step::Delete: return "Delete";
        case Step::Paste: return "Paste";
        case Step::TickStep: return "Tick Step";
        case Step::TickBack: return "Tick Back";
        case Step::ClearAll: return "Clear All";
        case Step::ClearDefender: return "Clear Defender";
        case Step::ClearAttacker: return "Clear Attacker";
        case Step::OpenFile: return "Open File";
        case Step::ScanReport: return "Scan Report";
        case Step::MilitaryScan: return "Military Scan";
        case Step::CombatReport: return "Combat Report";
        case Step::UseThisValue: return "Use This Value";
        case Step::UseThisFleet: return "Use This Fleet";
        case Step::DebugRun: return "Debug Run";
    }
    return "";
}

}  // namespace kestrin
