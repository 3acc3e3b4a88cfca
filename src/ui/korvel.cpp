#include "ui/korvel.h"

#include <cmath>

#include "sim/numbers.h"

namespace korvel {

Korvel::Korvel(const Platform& platform) : p_(platform) {}

std::string Korvel::boxText(int index) const {
    return p_.controls.text(ControlArray::txt_masses, index);
}

void Korvel::refuseBox(const char* label, const std::string& text, const char* requirement) {
    std::string message = "\"";
    message += label;
    message += "\" ";
    message += requirement;
    message += "; it holds \"";
    message += text;
    message += "\".";
    p_.controls.showMessage(message);
}

std::optional<double> Korvel::readNumber(const char* label, const std::string& text,
                                         NumberRead read) {
    const bool written = read == NumberRead::Whole ? isWrittenAsNumber(text) : startsWithNumber(text);
    if (!written) {
        refuseBox(label, text, kNotANumber);
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
    if (std::isfinite(x) && std::isfinite(y) && std::isfinite(radius))
        p_.picture.circle(x, y, radius, color);
}

// A world point in metres lands at (85 s / 75 + x / unit, s - y / unit): the
// planet in the middle, one picture unit per length unit, y up.
void Korvel::drawWorldPoint(double screenScale, double x, double y, Color color) {
    const double unit = state_.planetRadius;
    drawPoint(screenScale * 85 / 75 + x / unit, screenScale - y / unit, color);
}

void Korvel::drawWorldCircle(double screenScale, double x, double y, double radius, Color color) {
    const double unit = state_.planetRadius;
    drawCircle(screenScale * 85 / 75 + x / unit, screenScale - y / unit, radius, color);
}

}  // namespace korvel
