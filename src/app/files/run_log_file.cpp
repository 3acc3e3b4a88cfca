#include "app/files/run_log_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>

#include "app/scenario.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr const char* kHistory = "history";
constexpr const char* kTrail = "trail";
constexpr const char* kEnergy = "energy";
constexpr const char* kPath = "second planet path";

// The layout of a row: time, x, y, vx, vy, kinetic, potential, and the event's
// kind, burn and size as whole numbers.
using RowNumbers = std::array<double, 10>;
// first time, kinetic, potential; last time, kinetic, potential; the lowest
// and highest kinetic, potential and total; 1 after an impulse, else 0.
using SpanNumbers = std::array<double, 13>;

RowNumbers rowNumbers(const DataRow& row) {
    return {row.time,
            row.position.x,
            row.position.y,
            row.velocity.x,
            row.velocity.y,
            row.kinetic,
            row.potential,
            static_cast<double>(row.event.kind),
            static_cast<double>(row.event.burn),
            static_cast<double>(row.event.size)};
}

SpanNumbers spanNumbers(const orbit::EnergySpan& span) {
    return {span.first.time,
            span.first.kinetic,
            span.first.potential,
            span.last.time,
            span.last.kinetic,
            span.last.potential,
            span.kinetic.low,
            span.kinetic.high,
            span.potential.low,
            span.potential.high,
            span.total.low,
            span.total.high,
            span.afterImpulse ? 1.0 : 0.0};
}

bool allFinite(std::span<const double> numbers) {
    return std::all_of(numbers.begin(), numbers.end(), [](double v) { return std::isfinite(v); });
}

template <std::size_t N>
OrderedJson list(const std::array<double, N>& numbers) {
    OrderedJson out = OrderedJson::array();
    for (const double number : numbers) out.push_back(number);
    return out;
}

OrderedJson historyJson(const std::vector<DataRow>& rows, double thinned) {
    OrderedJson out = OrderedJson::object();
    out["thinned"] = thinned;
    OrderedJson& items = out["rows"] = OrderedJson::array();
    for (const DataRow& row : rows) items.push_back(list(rowNumbers(row)));
    return out;
}

// Bytes a list item of these numbers takes in the file: its indent, its
// brackets and commas, and its line's end.
std::size_t itemBytes(std::span<const double> numbers) {
    constexpr std::size_t kIndent = 8;
    std::size_t bytes = kIndent + 2 + numbers.size() + 1;
    for (const double number : numbers) bytes += roundTripText(number).size();
    return bytes;
}

std::size_t rowsBytes(const std::vector<DataRow>& rows) {
    std::size_t bytes = 0;
    for (const DataRow& row : rows) bytes += itemBytes(rowNumbers(row));
    return bytes;
}

std::size_t spansBytes(const std::vector<orbit::EnergySpan>& spans) {
    std::size_t bytes = 0;
    for (const auto& span : spans) bytes += itemBytes(spanNumbers(span));
    return bytes;
}

std::size_t pathBytes(const std::vector<Vec2>& path) {
    std::size_t bytes = 0;
    for (const Vec2 point : path) bytes += isPathBreak(point) ? 14 : itemBytes(std::array{point.x, point.y});
    return bytes;
}

// Plain rows go first; event rows only when nothing else is left to go.
void thinKeptRows(std::vector<DataRow>& rows, double& thinned) {
    const bool plainLeft = std::count_if(rows.begin(), rows.end(),
                                         [](const DataRow& row) { return row.event.kind == EventKind::None; }) > 1;
    const std::size_t before = rows.size();
    thinRows(rows, plainLeft ? std::numeric_limits<std::size_t>::max() : 0);
    if (rows.size() < before) thinned *= 2;
}

void thinSpans(std::vector<orbit::EnergySpan>& spans) {
    const std::size_t before = spans.size();
    orbit::EnergyHistory::joinSpans(spans, std::numeric_limits<std::size_t>::max());
    if (spans.size() == before) orbit::EnergyHistory::joinSpans(spans, 0);
}

KeptLog finiteOnly(const KeptLog& log) {
    KeptLog out;
    out.historyThinned = log.historyThinned;
    out.trailThinned = log.trailThinned;
    const auto finiteRow = [](const DataRow& row) { return allFinite(rowNumbers(row)); };
    std::copy_if(log.history.begin(), log.history.end(), std::back_inserter(out.history), finiteRow);
    std::copy_if(log.trail.begin(), log.trail.end(), std::back_inserter(out.trail), finiteRow);
    std::copy_if(log.energy.begin(), log.energy.end(), std::back_inserter(out.energy),
                 [](const auto& span) { return allFinite(spanNumbers(span)); });
    std::copy_if(log.secondPlanetPath.begin(), log.secondPlanetPath.end(), std::back_inserter(out.secondPlanetPath),
                 [](Vec2 p) { return isPathBreak(p) || (std::isfinite(p.x) && std::isfinite(p.y)); });
    return out;
}

// The first fault of a log; reading stops there.
struct LogFault {
    std::string text;
};

[[noreturn]] void refuseLog(std::string text) { throw LogFault{std::move(text)}; }

std::string in(const char* key) { return "\"" + std::string(key) + "\" in \"log\""; }

const Json& part(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) refuseLog("\"log\" lacks \"" + std::string(key) + "\"");
    return *found;
}

const Json& list(const Json& object, const char* key, std::size_t most) {
    if (!object.is_array()) refuseLog(in(key) + " is not a list");
    if (object.size() > most) refuseLog(in(key) + " holds over " + groupedCount(most) + " items");
    return object;
}

template <std::size_t N>
std::array<double, N> numbers(const Json& item, const char* key, const char* what, std::size_t index) {
    std::array<double, N> out{};
    const auto notList = [&] {
        refuseLog(in(key) + " holds " + what + " that is not a list of " + std::to_string(N) + " numbers (" +
                  std::to_string(index + 1) + " from the start)");
    };
    if (!item.is_array() || item.size() != N) notList();
    for (std::size_t i = 0; i < N; ++i) {
        if (!item[i].is_number()) notList();
        out[i] = item[i].get<double>();
    }
    return out;
}

bool wholeIn(double value, double low, double high) {
    return value == std::trunc(value) && value >= low && value <= high;
}

bool rowKind(double kind) {
    if (!wholeIn(kind, 0, static_cast<double>(EventKind::RunCleared))) return false;
    const auto event = static_cast<EventKind>(kind);
    return event != EventKind::SizeChosen && event != EventKind::RunCleared;
}

// Simulated time runs one way from 0, backwards with a negative time factor:
// a later moment is never nearer 0, nor on its other side.
bool before(double earlier, double later) { return std::abs(later) >= std::abs(earlier) && !(earlier * later < 0); }

std::vector<DataRow> readRows(const Json& log, const char* key, double& thinned) {
    const Json& history = part(log, key);
    if (!history.is_object()) refuseLog(in(key) + " is not an object");
    const auto found = history.find("thinned");
    int exponent = 0;
    if (found == history.end() || !found->is_number() || !(found->get<double>() >= 1) ||
        std::frexp(found->get<double>(), &exponent) != 0.5)
        refuseLog(in(key) + " has no \"thinned\" that is a power of 2 from 1 up");
    thinned = found->get<double>();
    const auto rows = history.find("rows");
    if (rows == history.end()) refuseLog(in(key) + " lacks \"rows\"");
    std::vector<DataRow> out;
    out.reserve(list(*rows, key, RunHistory::kLargestRows).size());
    for (const Json& item : *rows) {
        const auto n = numbers<10>(item, key, "a row", out.size());
        const std::string where = " (row " + std::to_string(out.size() + 1) + ")";
        if (!rowKind(n[7]) || !wholeIn(n[8], 0, static_cast<double>(Burn::Apply)) || !wholeIn(n[9], 0, 1000))
            refuseLog(in(key) + " holds a row of an unknown event" + where);
        const RowEvent event{static_cast<EventKind>(n[7]), static_cast<Burn>(n[8]), static_cast<int>(n[9])};
        const DataRow row{n[0], {n[1], n[2]}, {n[3], n[4]}, n[5], n[6], event};
        // A run's start begins a stroke at its own time.
        if (!out.empty() && event.kind != EventKind::RunStarted && !before(out.back().time, row.time))
            refuseLog(in(key) + " holds a row earlier than the one before it" + where);
        out.push_back(row);
    }
    return out;
}

std::vector<orbit::EnergySpan> readSpans(const Json& log) {
    std::vector<orbit::EnergySpan> out;
    const Json& spans = list(part(log, kEnergy), kEnergy, orbit::EnergyHistory::kCapacity);
    for (const Json& item : spans) {
        const auto n = numbers<13>(item, kEnergy, "a span", out.size());
        const orbit::EnergySpan span{{n[0], n[1], n[2]}, {n[3], n[4], n[5]}, {n[6], n[7]},
                                     {n[8], n[9]},       {n[10], n[11]},     n[12] == 1};
        const std::string where = " (span " + std::to_string(out.size() + 1) + ")";
        if (!wholeIn(n[12], 0, 1) || !(n[6] <= n[7] && n[8] <= n[9] && n[10] <= n[11]))
            refuseLog(in(kEnergy) + " holds a span whose lowest is above its highest" + where);
        if (!before(span.first.time, span.last.time) || (!out.empty() && !before(out.back().last.time, n[0])))
            refuseLog(in(kEnergy) + " holds a span earlier than the one before it" + where);
        out.push_back(span);
    }
    return out;
}

std::vector<Vec2> readPath(const Json& log) {
    std::vector<Vec2> out;
    const Json& path = list(part(log, kPath), kPath, RunLog::kPathCapacity);
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    for (const Json& item : path) {
        if (item.is_null()) {
            out.push_back({kNaN, kNaN});
            continue;
        }
        const auto n = numbers<2>(item, kPath, "a point", out.size());
        out.push_back({n[0], n[1]});
    }
    return out;
}

}  // namespace

std::optional<KeptLog> readKeptLog(const Json& object, std::string& fault) {
    try {
        if (!object.is_object()) refuseLog("\"log\" in \"run\" is not an object");
        KeptLog log;
        log.history = readRows(object, kHistory, log.historyThinned);
        log.trail = readRows(object, kTrail, log.trailThinned);
        log.energy = readSpans(object);
        log.secondPlanetPath = readPath(object);
        return log;
    } catch (const LogFault& refused) {
        fault = refused.text;
        return std::nullopt;
    }
}

std::optional<std::string> keptLogFault(const KeptLog& log, double simulatedTime) {
    const auto after = [simulatedTime](double time) { return !before(time, simulatedTime); };
    if (!log.history.empty() && after(log.history.back().time)) return in(kHistory) + " ends after the run's moment";
    if (!log.trail.empty() && after(log.trail.back().time)) return in(kTrail) + " ends after the run's moment";
    if (!log.energy.empty() && after(log.energy.back().last.time)) return in(kEnergy) + " ends after the run's moment";
    return std::nullopt;
}

OrderedJson keptLogJson(const KeptLog& log) {
    OrderedJson out = OrderedJson::object();
    out[kHistory] = historyJson(log.history, log.historyThinned);
    out[kTrail] = historyJson(log.trail, log.trailThinned);
    OrderedJson& spans = out[kEnergy] = OrderedJson::array();
    for (const auto& span : log.energy) spans.push_back(list(spanNumbers(span)));
    OrderedJson& path = out[kPath] = OrderedJson::array();
    for (const Vec2 point : log.secondPlanetPath)
        path.push_back(isPathBreak(point) ? OrderedJson() : list(std::array{point.x, point.y}));
    return out;
}

KeptLog fittedLog(const KeptLog& log, std::size_t bytes) {
    KeptLog out = finiteOnly(log);
    // The part that takes most room is thinned first, until all fit or none
    // can give up more.
    std::array<std::size_t, 4> sizes = {rowsBytes(out.history), rowsBytes(out.trail), spansBytes(out.energy),
                                        pathBytes(out.secondPlanetPath)};
    std::array<bool, 4> spent = {};
    const auto total = [&] { return sizes[0] + sizes[1] + sizes[2] + sizes[3]; };
    while (total() > bytes) {
        std::size_t largest = sizes.size();
        for (std::size_t i = 0; i < sizes.size(); ++i)
            if (!spent[i] && (largest == sizes.size() || sizes[i] > sizes[largest])) largest = i;
        if (largest == sizes.size()) break;
        const std::size_t before = sizes[largest];
        switch (largest) {
        case 0: thinKeptRows(out.history, out.historyThinned), sizes[0] = rowsBytes(out.history); break;
        case 1: thinKeptRows(out.trail, out.trailThinned), sizes[1] = rowsBytes(out.trail); break;
        case 2: thinSpans(out.energy), sizes[2] = spansBytes(out.energy); break;
        default: thinPath(out.secondPlanetPath), sizes[3] = pathBytes(out.secondPlanetPath); break;
        }
        spent[largest] = sizes[largest] >= before;
    }
    return out;
}

}  // namespace korvel
