#include "app/scenario_file.h"

#include <array>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

#include "app/korvel.h"
#include "app/panel.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using Json = nlohmann::json;

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

std::string quote(std::string_view key) { return "\"" + std::string(key) + "\""; }

const Json* member(const Json& object, std::string_view key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

const Json& required(const Json& object, std::string_view key, std::string_view where) {
    const Json* value = member(object, key);
    if (!value) refuse(std::string(where) + " lacks " + quote(key));
    return *value;
}

const Json& objectAt(const Json& object, std::string_view key, std::string_view where) {
    const Json& value = required(object, key, where);
    if (!value.is_object()) refuse(quote(key) + " in " + std::string(where) + " is not an object");
    return value;
}

double numberAt(const Json& object, std::string_view key, std::string_view where) {
    const Json& value = required(object, key, where);
    if (!value.is_number()) refuse(quote(key) + " in " + std::string(where) + " is not a number");
    return value.get<double>();
}

bool flagAt(const Json& object, std::string_view key, std::string_view where) {
    const Json& value = required(object, key, where);
    if (!value.is_boolean()) refuse(quote(key) + " in " + std::string(where) + " is not true or false");
    return value.get<bool>();
}

std::string checkedText(const Json& value, std::string_view key, std::string_view where) {
    if (!value.is_string()) refuse(quote(key) + " in " + std::string(where) + " is not a text");
    std::string text = value.get<std::string>();
    if (characterCount(text) > kScenarioLongestText)
        refuse(quote(key) + " in " + std::string(where) + " is over " + groupedCount(kScenarioLongestText) +
               " characters long");
    return text;
}

std::string textAt(const Json& object, std::string_view key, std::string_view where) {
    return checkedText(required(object, key, where), key, where);
}

std::string optionalText(const Json& object, std::string_view key, std::string_view where) {
    const Json* value = member(object, key);
    return value ? checkedText(*value, key, where) : std::string();
}

// A box may be given as a number by a hand that wrote the file.
std::string panelText(const Json& value, std::string_view key) {
    if (value.is_number()) return roundTripText(value.get<double>());
    return checkedText(value, key, "\"panel\"");
}

constexpr std::array<const char*, 4> kSettingNames = {"planet mass", "time factor", "screen scale", "init ang pos"};

// The state's snapshot texts, in the order of their names above; const or not.
template <typename State>
auto settingTexts(State& s) {
    return std::array{&s.planetMass, &s.timeFactor, &s.screenScale, &s.startAngle};
}

void readBody(const Json& body, std::string_view where, SimulationState& s, int index) {
    s.posX[index] = numberAt(body, "x", where);
    s.posY[index] = numberAt(body, "y", where);
    s.velX[index] = numberAt(body, "vx", where);
    s.velY[index] = numberAt(body, "vy", where);
}

SavedRun readRun(const Json& run) {
    constexpr std::string_view where = "\"run\"";
    SavedRun saved;
    SimulationState& s = saved.state;
    saved.runClock = numberAt(run, "clock", where);
    saved.sinceLastTick = numberAt(run, "since last tick", where);
    // Files from before sub-steps were counted: as many as the clock held at the last tick.
    if (member(run, "sub-steps")) {
        const double count = numberAt(run, "sub-steps", where);
        saved.subSteps =
            count == std::trunc(count) && std::abs(count) <= 0x1p53 ? static_cast<std::int64_t>(count) : -1;
    } else if (std::isfinite(saved.runClock - saved.sinceLastTick)) {
        saved.subSteps = Korvel::subStepsIn(saved.runClock - saved.sinceLastTick);
    }
    const Json& settings = objectAt(run, "settings", where);
    const auto texts = settingTexts(s);
    for (std::size_t i = 0; i < kSettingNames.size(); ++i)
        *texts[i] = textAt(settings, kSettingNames[i], "\"settings\"");
    const Json& pictureScale = required(run, "picture scale", where);
    if (!pictureScale.is_null()) saved.pictureScale = numberAt(run, "picture scale", where);
    s.startRadius = numberAt(run, "start distance", where);
    readBody(objectAt(run, "craft", where), "\"craft\"", s, kCraft);

    constexpr std::string_view second = "\"second planet\"";
    const Json& planet = objectAt(run, "second planet", where);
    s.secondPlanetOn = flagAt(planet, "on", second);
    s.secondPlanetMass = numberAt(planet, "mass", second);
    s.secondPlanetRadius = numberAt(planet, "radius", second);
    readBody(planet, second, s, kSecondPlanet);
    s.secondPlanetDrawn = flagAt(planet, "drawn", second);
    s.secondPlanetPrevX = numberAt(planet, "drawn x", second);
    s.secondPlanetPrevY = numberAt(planet, "drawn y", second);

    const Json& rings = required(run, "rings", where);
    const auto notRings = [] {
        refuse("\"rings\" in \"run\" is not a list of " + std::to_string(kMaxRings) + " numbers");
    };
    if (!rings.is_array() || rings.size() != kMaxRings) notRings();
    for (int i = 0; i < kMaxRings; ++i) {
        if (!rings[i].is_number()) notRings();
        s.ringRadius[i + 1] = rings[i].get<double>();
    }
    const double size = numberAt(run, "impulse size", where);
    s.impulseSize = size == std::trunc(size) && std::abs(size) <= 1000 ? static_cast<int>(size) : -1;
    s.distReadout = numberAt(run, "distance readout", where);

    constexpr std::string_view readouts = "\"readouts\"";
    const Json& shown = objectAt(run, "readouts", where);
    saved.clockTime = textAt(shown, kLabelCaptions[kBoxClockTime], readouts);
    saved.realtimeInterval = textAt(shown, kLabelCaptions[kBoxRealtimeInterval], readouts);
    saved.speed = textAt(shown, kLabelCaptions[kBoxSpeed], readouts);
    saved.distanceCaption = textAt(shown, "dist", readouts);

    // The drawing is the one text of any length.
    const Json& drawing = required(run, "drawing", where);
    const auto png = drawing.is_string() ? fromBase64(drawing.get<std::string>()) : std::nullopt;
    if (!png) refuse("\"drawing\" in \"run\" is not base64");
    saved.drawingPng = *png;

    if (const auto fault = runFault(saved)) refuse("its run cannot be gone on from: " + *fault);
    return saved;
}

Scenario readScenario(const Json& document) {
    if (!document.is_object()) refuse("it is not a scenario: it holds no JSON object");
    const Json* format = member(document, "format");
    if (!format || !format->is_string() || format->get<std::string>() != kScenarioFormat)
        refuse("it is not a scenario: its \"format\" is not \"korvel-scenario\"");
    if (const Json* version = member(document, "version")) {
        const double number = version->is_number() ? version->get<double>() : 0;
        if (!(number >= 1 && number == std::trunc(number))) refuse("its \"version\" is not a whole number from 1 up");
        if (number > kScenarioVersion)
            refuse("it is version " + roundTripText(number) + ", and this program reads up to version " +
                   std::to_string(kScenarioVersion));
    }
    Scenario scenario = defaultScenario();
    scenario.title = optionalText(document, "title", "the file");
    scenario.description = optionalText(document, "description", "the file");
    if (const Json* panel = member(document, "panel")) {
        if (!panel->is_object()) refuse("\"panel\" is not an object");
        for (int box : kScenarioBoxes) {
            if (const Json* text = member(*panel, scenarioBoxName(box)))
                scenario.panel[box] = panelText(*text, scenarioBoxName(box));
        }
    }
    if (const Json* run = member(document, "run")) {
        if (!run->is_object()) refuse("\"run\" is not an object");
        scenario.run = readRun(*run);
    }
    return scenario;
}

// Writes JSON with two-space indents, one member a line.
class JsonWriter {
public:
    void open(std::string_view key, char bracket) {
        startMember(key);
        text_ += bracket;
        first_ = true;
        ++depth_;
    }
    void close(char bracket) {
        --depth_;
        if (!first_) newLine();
        text_ += bracket;
        first_ = false;
    }
    void raw(std::string_view key, std::string_view value) {
        startMember(key);
        text_ += value;
    }
    void text(std::string_view key, std::string_view value) { raw(key, quoted(value)); }
    void number(std::string_view key, double value) { raw(key, roundTripText(value)); }
    void flag(std::string_view key, bool value) { raw(key, value ? "true" : "false"); }
    std::string finish() { return std::move(text_) + "\n"; }

    static std::string quoted(std::string_view value) {
        std::string out = "\"";
        for (const char c : value) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (byte < 0x20) {
                constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            } else {
                out += c;
            }
        }
        return out + "\"";
    }

private:
    void newLine() { text_ += "\n" + std::string(2 * depth_, ' '); }
    void startMember(std::string_view key) {
        if (depth_ > 0) {
            if (!first_) text_ += ',';
            newLine();
        }
        first_ = false;
        if (!key.empty()) text_ += quoted(key) + ": ";
    }

    std::string text_;
    int depth_ = 0;
    bool first_ = true;
};

void writeBody(JsonWriter& out, const SimulationState& s, int index) {
    out.number("x", s.posX[index]);
    out.number("y", s.posY[index]);
    out.number("vx", s.velX[index]);
    out.number("vy", s.velY[index]);
}

void writeRun(JsonWriter& out, const SavedRun& run) {
    const SimulationState& s = run.state;
    out.open("run", '{');
    out.number("clock", run.runClock);
    out.number("since last tick", run.sinceLastTick);
    out.number("sub-steps", static_cast<double>(run.subSteps));
    out.open("settings", '{');
    const auto texts = settingTexts(s);
    for (std::size_t i = 0; i < kSettingNames.size(); ++i) out.text(kSettingNames[i], *texts[i]);
    out.close('}');
    if (run.pictureScale) {
        out.number("picture scale", *run.pictureScale);
    } else {
        out.raw("picture scale", "null");
    }
    out.number("start distance", s.startRadius);
    out.open("craft", '{');
    writeBody(out, s, kCraft);
    out.close('}');
    out.open("second planet", '{');
    out.flag("on", s.secondPlanetOn);
    out.number("mass", s.secondPlanetMass);
    out.number("radius", s.secondPlanetRadius);
    writeBody(out, s, kSecondPlanet);
    out.flag("drawn", s.secondPlanetDrawn);
    out.number("drawn x", s.secondPlanetPrevX);
    out.number("drawn y", s.secondPlanetPrevY);
    out.close('}');
    out.open("rings", '[');
    for (int i = 1; i <= kMaxRings; ++i) out.number("", s.ringRadius[i]);
    out.close(']');
    out.number("impulse size", s.impulseSize);
    out.number("distance readout", s.distReadout);
    out.open("readouts", '{');
    out.text(kLabelCaptions[kBoxClockTime], run.clockTime);
    out.text(kLabelCaptions[kBoxRealtimeInterval], run.realtimeInterval);
    out.text(kLabelCaptions[kBoxSpeed], run.speed);
    out.text("dist", run.distanceCaption);
    out.close('}');
    out.text("drawing", toBase64(run.drawingPng));
    out.close('}');
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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
    JsonWriter out;
    out.open("", '{');
    out.text("format", kScenarioFormat);
    out.number("version", kScenarioVersion);
    out.text("title", scenario.title);
    out.text("description", scenario.description);
    out.open("panel", '{');
    for (int box : kScenarioBoxes) out.text(scenarioBoxName(box), scenario.panel[box]);
    out.close('}');
    if (scenario.run) writeRun(out, *scenario.run);
    out.close('}');
    return out.finish();
}

std::string refusalMessage(std::string_view fileName, std::string_view fault) {
    return "\"" + std::string(fileName) + "\" was not opened: " + std::string(fault) + ". Nothing was changed.";
}

std::string toBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j)
            group = group << 8 | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (std::size_t j = 0; j < 4; ++j) out += j <= n ? kBase64[(group >> (18 - 6 * j)) & 63] : '=';
    }
    return out;
}

std::optional<std::string> fromBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        int padding = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            std::uint32_t value = 0;
            // One or two "=" may end the very last group, and nothing else.
            if (c == '=' && i + 4 == text.size() && j >= 2) {
                ++padding;
            } else {
                const char* at = c == '\0' ? nullptr : std::strchr(kBase64, c);
                if (!at || padding > 0) return std::nullopt;
                value = static_cast<std::uint32_t>(at - kBase64);
            }
            group = group << 6 | value;
        }
        for (int j = 0; j < 3 - padding; ++j) out += static_cast<char>((group >> (16 - 8 * j)) & 0xFF);
    }
    return out;
}

}  // namespace korvel
