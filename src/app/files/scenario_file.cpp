#include "app/files/scenario_file.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <span>

#include "app/files/json_layout.h"
#include "app/files/run_log_file.h"
#include "app/files/scenario_keys.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

// Read into a map: an ordered object scans its keys on every insertion, and a
// file of a million keys would take minutes. Written in the key lists' order.
using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// The library reads numbers with the C runtime, which reads some differently
// on other platforms; every number is read again here from its own text.
class ExactNumbers : public nlohmann::detail::json_sax_dom_parser<Json> {
public:
    using json_sax_dom_parser::json_sax_dom_parser;
    bool number_float(double, const std::string& text) {
        const auto value = strictNumber(text);
        if (!value) {
            notFinite = text;
            return false;
        }
        return json_sax_dom_parser::number_float(*value, text);
    }
    std::string notFinite;
};

// The first fault found in a file; reading stops there.
struct Refusal {
    std::string fault;
};

[[noreturn]] void refuse(std::string fault) { throw Refusal{std::move(fault)}; }

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// A limit as a reader writes it: "0.001", "1,000,000".
std::string limitText(double limit) {
    return limit >= 1 && limit < 0x1p53 && limit == std::trunc(limit) ? groupedCount(static_cast<std::size_t>(limit))
                                                                      : roundTripText(limit);
}

std::string quote(std::string_view key) { return "\"" + std::string(key) + "\""; }

const Json* member(const Json& object, std::string_view key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

// Groups of four of the base64 alphabet, the last ending in at most two "=".
// A run without a window needs no more; the window decodes it strictly.
bool isBase64(std::string_view text) {
    constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (text.size() % 4 != 0) return false;
    for (int padding = 0; padding < 2 && text.ends_with('='); ++padding) text.remove_suffix(1);
    return text.find_first_not_of(kAlphabet) == std::string_view::npos;
}

using scenario_keys::scenarioKeys;

// One of a few values, as the file writes it.
template <typename Value, typename Text, std::size_t N>
using Choices = std::array<std::pair<Value, Text>, N>;

// Reads an object's keys into the scenario; the first fault refuses the file.
class FileReader {
public:
    FileReader(const Json& object, std::string where) : object_(object), where_(std::move(where)) {}

    void number(std::string_view key, double& value) const {
        const Json& found = required(key);
        if (!found.is_number()) refuse(in(key) + " is not a number");
        value = found.get<double>();
    }
    void number(std::string_view key, double& value, double least, double most) const {
        number(key, value);
        if (!(value >= least && value <= most))
            refuse(in(key) + " must be from " + limitText(least) + " to " + limitText(most));
    }
    void numberOrNull(std::string_view key, std::optional<double>& value) const {
        value.reset();
        if (!required(key).is_null()) number(key, value.emplace());
    }
    // A count or a size: -1 when it is not whole or beyond `largest`, for the
    // run's own checks to refuse.
    template <typename Whole>
    void whole(std::string_view key, Whole& value, double largest) const {
        double read = 0;
        number(key, read);
        value = read == std::trunc(read) && std::abs(read) <= largest ? static_cast<Whole>(read) : -1;
    }
    // Missing, it is what `missing` gives.
    template <typename Whole, typename Missing>
    void whole(std::string_view key, Whole& value, double largest, Missing missing) const {
        if (member(object_, key))
            whole(key, value, largest);
        else
            value = missing();
    }
    void flag(std::string_view key, bool& value) const {
        const Json& found = required(key);
        if (!found.is_boolean()) refuse(in(key) + " is not true or false");
        value = found.get<bool>();
    }
    void text(std::string_view key, std::string& value) const { value = checkedText(required(key), key); }
    // Missing, it keeps what it had.
    void optionalText(std::string_view key, std::string& value) const {
        if (const Json* found = member(object_, key)) value = checkedText(*found, key);
    }
    // A box may be given as a number by a hand that wrote the file.
    void boxText(std::string_view key, std::string& value) const {
        if (const Json* found = member(object_, key))
            value = found->is_number() ? roundTripText(found->get<double>()) : checkedText(*found, key);
    }
    void numbers(std::string_view key, std::span<double> values) const {
        const Json& list = required(key);
        const auto notList = [&] {
            refuse(in(key) + " is not a list of " + std::to_string(values.size()) + " numbers");
        };
        if (!list.is_array() || list.size() != values.size()) notList();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!list[i].is_number()) notList();
            values[i] = list[i].get<double>();
        }
    }
    template <typename Value, typename Text, std::size_t N>
    void choice(std::string_view key, Value& value, const Choices<Value, Text, N>& choices) const {
        const Json& found = required(key);
        std::string listed;
        for (std::size_t i = 0; i < N; ++i) {
            if (found == Json(choices[i].second)) {
                value = choices[i].first;
                return;
            }
            listed += (i == 0 ? "" : i + 1 < N ? ", " : " or ") + Json(choices[i].second).dump();
        }
        refuse(in(key) + " must be " + listed);
    }
    void point(std::string_view key, Vec2& value) const { pointIn(required(key), key, value); }
    // Null, or two points.
    void pointsOrNull(std::string_view key, std::optional<std::array<Vec2, 2>>& value) const {
        value.reset();
        const Json& found = required(key);
        if (found.is_null()) return;
        if (!found.is_array() || found.size() != 2) refuse(in(key) + " is not null or two points [[x, y], [x, y]]");
        auto& ends = value.emplace();
        for (std::size_t i = 0; i < 2; ++i) pointIn(found[i], key, ends[i]);
    }
    // Missing, as in a file from before logs were kept, there is none.
    void log(std::string_view key, std::optional<KeptLog>& value) const {
        value.reset();
        const Json* found = member(object_, key);
        if (!found) return;
        std::string fault;
        value = readKeptLog(*found, fault);
        if (!value) refuse(fault);
    }
    void base64(std::string_view key, std::string& value) const {
        const Json& found = required(key);
        if (!found.is_string() || !isBase64(found.get_ref<const std::string&>())) refuse(in(key) + " is not base64");
        value = found.get<std::string>();
    }

    template <typename Keys>
    void object(std::string_view key, Keys keys) const {
        const Json& found = required(key);
        if (!found.is_object()) refuse(in(key) + " is not an object");
        FileReader inner(found, quote(key));
        keys(inner);
    }
    template <typename Keys>
    void optionalObject(std::string_view key, Keys keys) const {
        const Json* found = member(object_, key);
        if (!found) return;
        if (!found->is_object()) refuse(quote(key) + " is not an object");
        FileReader inner(*found, quote(key));
        keys(inner);
    }
    template <typename Kept, typename Keys>
    void optionalObject(std::string_view key, std::optional<Kept>& value, Keys keys) const {
        optionalObject(key, [&](FileReader& inner) { keys(inner, value.emplace()); });
    }

    void constant(std::string_view key, std::string_view expected) const {
        const Json* found = member(object_, key);
        if (!found || !found->is_string() || found->get_ref<const std::string&>() != expected)
            refuse("it is not a scenario: its " + quote(key) + " is not " + quote(expected));
    }
    // Missing, it is the first.
    void version(std::string_view key) const {
        const Json* found = member(object_, key);
        if (!found) return;
        const double number = found->is_number() ? found->get<double>() : 0;
        if (!(number >= 1 && number == std::trunc(number)))
            refuse("its " + quote(key) + " is not a whole number from 1 up");
        if (number > kScenarioVersion)
            refuse("it is version " + roundTripText(number) + ", and this program reads up to version " +
                   std::to_string(kScenarioVersion));
    }

private:
    std::string in(std::string_view key) const { return quote(key) + " in " + where_; }
    void pointIn(const Json& found, std::string_view key, Vec2& value) const {
        if (!found.is_array() || found.size() != 2 || !found[0].is_number() || !found[1].is_number())
            refuse(in(key) + " is not a point [x, y]");
        value = {found[0].get<double>(), found[1].get<double>()};
    }
    const Json& required(std::string_view key) const {
        const Json* found = member(object_, key);
        if (!found) refuse(where_ + " lacks " + quote(key));
        return *found;
    }
    std::string checkedText(const Json& value, std::string_view key) const {
        if (!value.is_string()) refuse(in(key) + " is not a text");
        std::string text = value.get<std::string>();
        if (characterCount(text) > kScenarioLongestText)
            refuse(in(key) + " is over " + groupedCount(kScenarioLongestText) + " characters long");
        return text;
    }

    const Json& object_;
    std::string where_;
};

// Copies a scenario's keys into a document, in the lists' order.
class FileWriter {
public:
    // A log takes at most about `logRoom` bytes; with no room given, it is
    // left out.
    explicit FileWriter(OrderedJson& object, std::optional<std::size_t> logRoom = {})
        : object_(object), logRoom_(logRoom) {}

    void number(std::string_view key, double value) { set(key, value); }
    void number(std::string_view key, double value, double, double) { set(key, value); }
    void numberOrNull(std::string_view key, const std::optional<double>& value) {
        set(key, value ? OrderedJson(*value) : OrderedJson());
    }
    template <typename Whole, typename... Missing>
    void whole(std::string_view key, Whole value, double, const Missing&...) {
        number(key, static_cast<double>(value));
    }
    void flag(std::string_view key, bool value) { set(key, value); }
    void text(std::string_view key, const std::string& value) { set(key, value); }
    void optionalText(std::string_view key, const std::string& value) { text(key, value); }
    void boxText(std::string_view key, const std::string& value) { text(key, value); }
    void base64(std::string_view key, const std::string& value) { text(key, value); }
    void log(std::string_view key, const std::optional<KeptLog>& value) {
        if (value && logRoom_) set(key, keptLogJson(fittedLog(*value, *logRoom_)));
    }
    template <typename Value, typename Text, std::size_t N>
    void choice(std::string_view key, const Value& value, const Choices<Value, Text, N>& choices) {
        for (const auto& [kept, text] : choices)
            if (kept == value) set(key, OrderedJson(text));
    }
    void point(std::string_view key, Vec2 value) { set(key, pointJson(value)); }
    void pointsOrNull(std::string_view key, const std::optional<std::array<Vec2, 2>>& value) {
        set(key, value ? OrderedJson::array({pointJson((*value)[0]), pointJson((*value)[1])}) : OrderedJson());
    }
    void numbers(std::string_view key, std::span<const double> values) {
        OrderedJson list = OrderedJson::array();
        for (const double value : values) list.push_back(value);
        set(key, std::move(list));
    }

    template <typename Keys>
    void object(std::string_view key, Keys keys) {
        FileWriter inner(object_[std::string(key)] = OrderedJson::object(), logRoom_);
        keys(inner);
    }
    template <typename Keys>
    void optionalObject(std::string_view key, Keys keys) {
        object(key, keys);
    }
    template <typename Kept, typename Keys>
    void optionalObject(std::string_view key, const std::optional<Kept>& value, Keys keys) {
        if (value) object(key, [&](FileWriter& inner) { keys(inner, *value); });
    }

    void constant(std::string_view key, std::string_view value) { set(key, value); }
    void version(std::string_view key) { number(key, kScenarioVersion); }

private:
    static OrderedJson pointJson(Vec2 p) { return OrderedJson::array({p.x, p.y}); }
    void set(std::string_view key, OrderedJson value) { object_[std::string(key)] = std::move(value); }

    OrderedJson& object_;
    std::optional<std::size_t> logRoom_;
};

Scenario readScenario(const Json& document) {
    if (!document.is_object()) refuse("it is not a scenario: it holds no JSON object");
    Scenario scenario = defaultScenario();
    FileReader reader(document, "the file");
    scenarioKeys(reader, scenario);
    if (scenario.run) {
        if (const auto fault = runFault(*scenario.run)) refuse("its run cannot be gone on from: " + *fault);
        const auto& log = scenario.run->log;
        if (const auto fault = log ? keptLogFault(*log, savedSimulatedTime(*scenario.run)) : std::nullopt)
            refuse(*fault);
    }
    return scenario;
}

ScenarioRead notFinite(std::string_view number) {
    return {std::nullopt, "it holds a number that is not finite: " + std::string(number.substr(0, 40))};
}

}  // namespace

ScenarioRead parseScenario(std::string_view bytes) {
    if (bytes.size() > kScenarioLargestFile) return {std::nullopt, tooLargeFault()};
    Json document;
    ExactNumbers reader(document);
    try {
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &reader)) return notFinite(reader.notFinite);
        return {readScenario(document), {}};
    } catch (const Json::out_of_range& error) {
        // Where the C runtime reads the number as infinite, the library
        // refuses it itself and quotes it.
        const std::string_view message = error.what();
        const auto open = message.find('\'');
        return notFinite(message.substr(open + 1, message.rfind('\'') - open - 1));
    } catch (const Json::parse_error& error) {
        // The library's message after its own "[json.exception…] " tag.
        std::string_view message = error.what();
        message.remove_prefix(std::min(message.size(), message.find("] ") + 2));
        return {std::nullopt, "it is not JSON: " + std::string(message)};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.fault};
    }
}

std::string scenarioText(const Scenario& scenario) {
    const auto text = [&scenario](std::optional<std::size_t> logRoom) {
        OrderedJson document = OrderedJson::object();
        FileWriter writer(document, logRoom);
        scenarioKeys(writer, scenario);
        std::string out;
        layOut(document, 0, out);
        return out + "\n";
    };
    std::string withoutLog = text(std::nullopt);
    if (!scenario.run || !scenario.run->log) return withoutLog;
    // The log takes what the rest leaves of the largest file, less a margin
    // for its keys.
    constexpr std::size_t kMargin = 4096;
    const std::size_t used = withoutLog.size() + kMargin;
    return text(used < kScenarioLargestFile ? kScenarioLargestFile - used : 0);
}

std::string refusalMessage(std::string_view fileName, std::string_view fault) {
    return "\"" + std::string(fileName) + "\" was not opened: " + std::string(fault) + ". Nothing was changed.";
}

}  // namespace korvel
