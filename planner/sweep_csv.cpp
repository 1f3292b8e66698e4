#include "sweep_csv.h"

namespace kestrin {

std::string SweepCsvHeader() {
    std::string line = "value,tick";
    for (const SweepFigureInfo& figure : kSweepFigures) line.append(",").append(figure.key);
    return line + "\n";
}

std::string SweepCsvLines(const SweepPoint& point) {
    std::string text;
    for (std::size_t t = 0; t < point.ticks.size(); ++t) {
        text += std::to_string(point.value) + "," + std::to_string(t + 1);
        for (const SweepFigureInfo& figure : kSweepFigures)
            text.append(",").append(std::to_string(figure.value(point.ticks[t])));
        text += "\n";
    }
    return text;
}

std::string SweepCsv(const SweepResult& result) {
    std::string text = SweepCsvHeader();
    for (const SweepPoint& point : result.points) text += SweepCsvLines(point);
    return text;
}

}  // namespace kestrin
