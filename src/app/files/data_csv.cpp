#include "app/files/data_csv.h"

#include <algorithm>

#include "sim/numbers.h"

namespace korvel {
namespace {

char separator(CsvStyle style) { return style == CsvStyle::Comma ? ',' : ';'; }

void appendNumber(std::string& out, double value, CsvStyle style) {
    std::string text = roundTripText(value);
    if (style == CsvStyle::Semicolon) std::replace(text.begin(), text.end(), '.', ',');
    out += text;
    out += separator(style);
}

}  // namespace

std::string csvField(std::string_view text, CsvStyle style) {
    if (text.find_first_of(std::string{separator(style), '"', '\r', '\n'}) == std::string_view::npos)
        return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + '"';
}

std::string csvHeader(CsvStyle style) {
    std::string header;
    for (const std::string_view column : kCsvColumns) {
        if (!header.empty()) header += separator(style);
        header += column;
    }
    return header + "\r\n";
}

void appendCsvRow(std::string& out, const DataRow& row, CsvStyle style) {
    for (const double value : {row.time, row.position.x, row.position.y, row.velocity.x, row.velocity.y, row.distance(),
                               row.speed(), row.kinetic, row.potential, row.total()})
        appendNumber(out, value, style);
    out += csvField(eventText(row.event), style);
    out += "\r\n";
}

std::string csvText(const std::vector<DataRow>& rows, CsvStyle style) {
    std::string text = csvHeader(style);
    // About a hundred and fifty characters a row.
    text.reserve(text.size() + 160 * rows.size());
    for (const DataRow& row : rows) appendCsvRow(text, row, style);
    return text;
}

}  // namespace korvel
