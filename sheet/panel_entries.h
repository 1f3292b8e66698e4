#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/results.h"

namespace kestrin {

/// The results panel's element names, the keys both faces and kestrin-cli name its texts by,
/// in the order kestrin-cli prints them.
inline constexpr std::array<const char*, 16> kPanelKeys{
    "DLoss", "ALoss", "UR", "MR", "CR", "ER", "TR", "TIR", "ALossPerRoid",
    "MSalvage", "CSalvage", "ESalvage", "DefLossGainLbl", "AttLossGainLbl",
    "RoidLossGainLbl", "TickIndicator"};

/// One element of the results panel as a face shows it.
struct PanelEntry {
    std::string_view key;  ///< one of kPanelKeys
    std::string text;      ///< what the element shows
    /// A figure's full text, for its tooltip (the shortened boxes' figure in full); empty for
    /// a label, a title that changes with the figures ("Fleet Losses" or "Fleet Gains").
    std::string full;
    bool label = false;
};

/// The panel's elements in kPanelKeys order.
std::vector<PanelEntry> PanelEntries(const ResultsPanel& panel);

/// The panel's texts by element name (kPanelKeys).
std::map<std::string, std::string> PanelTexts(const ResultsPanel& panel);

}  // namespace kestrin
