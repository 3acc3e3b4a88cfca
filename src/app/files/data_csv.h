#pragma once
// Data rows as CSV (RFC 4180: CRLF line ends, a field quoted when it holds
// the separator, a quote or a line end). Numbers are written in the shortest
// form that reads back to the same double, so one run gives the same bytes on
// every platform.

#include <string>
#include <string_view>
#include <vector>

#include "app/run_history.h"

namespace korvel {

enum class CsvStyle {
    Comma,      // "," between fields, "." in numbers
    Semicolon,  // ";" between fields, "," in numbers: spreadsheets in locales that write 3,14
};

inline constexpr std::string_view kCsvColumns[] = {
    "time_s",         "x_m",        "y_m",   "vx_m_s", "vy_m_s", "distance_m", "speed_m_s", "kinetic_J_kg",
    "potential_J_kg", "total_J_kg", "event",
};

// The field as the file holds it: quoted, its quotes doubled, when it must be.
std::string csvField(std::string_view text, CsvStyle style);

// The header line, then a line per row, each ending in CRLF.
std::string csvHeader(CsvStyle style);
void appendCsvRow(std::string& out, const DataRow& row, CsvStyle style);
std::string csvText(const std::vector<DataRow>& rows, CsvStyle style);

}  // namespace korvel
