#include "document/drawing.h"

#include "model/cp1250.h"

namespace blok {

bool Drawing::IsBlank() const {
  size_t length = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) length += 2;
    // Characters of the file, not bytes of UTF-8.
    for (size_t pos = 0; pos < lines_[i].size(); ++length) DecodeUtf8(lines_[i], pos);
    if (length > 5) return false;
  }
  return true;
}

}  // namespace blok
