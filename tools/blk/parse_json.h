#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace blok {

// What the editor reads of one entity line, with the defaults of a drawing pass that sets none
// (black, 0.1): its kind, whether it is valid, its numbers, colour and thickness. Single
// precision numbers are shown as the shortest decimals that read back the same.
nlohmann::json ParseJson(const std::string& line);

}  // namespace blok
