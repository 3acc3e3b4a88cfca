#pragma once
// A JSON document as this program writes it. The library's own layout writes
// "1.0" and "-0.0" where this program writes its shortest round-trip text, so
// the document is laid out here: two-space indents, one member a line, and a
// list within a list (a row of numbers) on one line.

#include <nlohmann/json.hpp>
#include <string>

namespace korvel {

// Appends `value`, at `depth` indents, to `out`; `inList` when it is an item of
// a list.
void layOut(const nlohmann::ordered_json& value, int depth, std::string& out, bool inList = false);

}  // namespace korvel
