#include "app/files/json_layout.h"

#include "sim/numbers.h"

namespace korvel {
namespace {

using OrderedJson = nlohmann::ordered_json;

// A text as JSON writes it: control characters as \u00XX, and any other byte
// as it is.
std::string jsonText(std::string_view value) {
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

}  // namespace

void layOut(const OrderedJson& value, int depth, std::string& out, bool inList) {
    if (value.is_array() && inList) {
        // A list in a list, as a row of numbers: one line, without spaces.
        out += '[';
        const char* separator = "";
        for (const auto& item : value) {
            out += separator;
            layOut(item, depth, out, true);
            separator = ",";
        }
        out += ']';
    } else if (value.is_number()) {
        out += roundTripText(value.get<double>());
    } else if (value.is_string()) {
        out += jsonText(value.get_ref<const std::string&>());
    } else if (!value.is_structured()) {
        out += value.dump();  // true, false, null
    } else {
        const bool object = value.is_object();
        out += object ? '{' : '[';
        const char* separator = "\n";
        for (const auto& item : value.items()) {
            out += separator;
            out.append(2 * (depth + 1), ' ');
            if (object) out += jsonText(item.key()) + ": ";
            layOut(item.value(), depth + 1, out, !object);
            separator = ",\n";
        }
        if (!value.empty()) out += "\n" + std::string(2 * depth, ' ');
        out += object ? '}' : ']';
    }
}

}  // namespace korvel
