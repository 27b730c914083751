#pragma once

// Tiny DXF drawings for the import tests: a model space of the entities given, in metres.
#include <string>
#include <string_view>

namespace blok::testing {

inline std::string ModelSpaceDxf(std::string_view entities) {
  return "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
         std::string(entities) + "0\nENDSEC\n0\nEOF\n";
}

// A line from (0,0) to (2,0) and a circle of radius 0.5 at (1,1).
inline constexpr char kDxfLine[] = "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n2\n21\n0\n31\n0\n";
inline constexpr char kDxfCircle[] = "0\nCIRCLE\n8\n0\n10\n1\n20\n1\n30\n0\n40\n0.5\n";

}  // namespace blok::testing
