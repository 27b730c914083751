#include "document/drawing.h"

#include "model/cp1250.h"

namespace blok {

bool Drawing::IsBlank() const {
  size_t length = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) length += 2;
    length += CharacterCount(lines_[i]);  // characters of the file, not bytes of UTF-8
    if (length > 5) return false;
  }
  return true;
}

}  // namespace blok
