#include "app/korvel.h"

#include <cmath>
#include <utility>

#include "sim/numbers.h"

namespace korvel {

namespace {

// A box's text as a message quotes it: one line of at most 40 characters, then
// "…" when it goes on, so that no paste makes the message outgrow the screen.
// Characters are counted, not bytes, and never cut in two.
std::string quoted(std::string_view text) {
    constexpr int kQuotedCharacters = 40;
    std::string quote;
    int characters = 0;
    for (const char c : text) {
        // Every byte but a UTF-8 continuation byte starts a character.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && characters++ == kQuotedCharacters) {
            while (!quote.empty() && quote.back() == ' ') quote.pop_back();
            return quote + "\u2026";
        }
        quote += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return quote;
}

// What a text written with a decimal comma ("1,5") says with a point, when
// that is a number read the same way; nothing otherwise.
std::string withDecimalPoint(std::string_view text, bool whole) {
    if (text.find(',') == std::string_view::npos) return {};
    std::string pointed(text);
    for (char& c : pointed)
        if (c == ',') c = '.';
    if (!(whole ? isWrittenAsNumber(pointed) : startsWithNumber(pointed))) return {};
    return std::string(trimBlanks(pointed));
}

}  // namespace

Korvel::Korvel(const Platform& platform) : p_(platform) {}

std::string Korvel::boxText(int index) const { return p_.controls.text(ControlArray::txt_masses, index); }

void Korvel::refuseBox(const char* label, const std::string& text, const char* requirement,
                       const std::string& instead) {
    std::string message = "\"";
    message += label;
    message += "\" ";
    message += requirement;
    message += "; it holds \"";
    message += quoted(text);
    message += "\"";
    if (!instead.empty()) message += "; use a point: " + quoted(instead);
    message += ".";
    p_.controls.showMessage(message);
}

std::optional<double> Korvel::readNumber(const char* label, const std::string& text, NumberRead read) {
    const bool written = read == NumberRead::Whole ? isWrittenAsNumber(text) : startsWithNumber(text);
    if (!written) {
        refuseBox(label, text, kNotANumber, withDecimalPoint(text, read == NumberRead::Whole));
        return std::nullopt;
    }
    // Written as a number, so only a value beyond the double range gives nothing.
    const auto number = read == NumberRead::Whole ? strictNumber(text) : leadingNumber(text);
    if (!number) refuseBox(label, text, kOutOfRange);
    return number;
}

void Korvel::drawPoint(double x, double y, Color color) {
    if (std::isfinite(x) && std::isfinite(y)) p_.picture.pset(x, y, color);
}

void Korvel::drawCircle(double x, double y, double radius, Color color) {
    if (std::isfinite(x) && std::isfinite(y) && std::isfinite(radius)) p_.picture.circle(x, y, radius, color);
}

void Korvel::drawWorldPoint(const ViewGeometry& view, double x, double y, Color color) {
    const Vec2 at = view.toPicture({x, y});
    drawPoint(at.x, at.y, color);
}

void Korvel::drawWorldCircle(const ViewGeometry& view, double x, double y, double radius, Color color) {
    const Vec2 at = view.toPicture({x, y});
    drawCircle(at.x, at.y, radius, color);
}

double Korvel::simulatedTime() const {
    // 0 itself at the start, never -0 when time runs backwards.
    if (!settings_ || subStepsRun_ == 0) return 0;
    // The time factor divided last, so that whole seconds stay whole.
    return static_cast<double>(subStepsRun_) * settings_->timeFactor / kSubStepsPerSecond;
}

double Korvel::subStepLength() const { return settings_ ? settings_->timeFactor / kSubStepsPerSecond : 0; }

std::optional<orbit::EnergySample> Korvel::craftEnergy() const {
    if (!settings_) return std::nullopt;
    return orbit::energyOf(state_, {settings_->planetMass}, simulatedTime());
}

void Korvel::happened(EventKind kind, const std::function<void(RunEvent&)>& fill) {
    RunEvent event;
    event.kind = kind;
    // The state's own moment, so that an event's time and state agree.
    event.simulatedTime = simulatedTime();
    if (fill) fill(event);
    if (event.kind == EventKind::RunCleared)
        log_.clear();
    else if (settings_)
        log_.record(event, state_, {settings_->planetMass});
    events_.push_back(event);
}

std::vector<RunEvent> Korvel::drainEvents() { return std::exchange(events_, {}); }

}  // namespace korvel
