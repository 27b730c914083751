#include "model/transliteration.h"

#include <unicode/translit.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <memory>
#include <mutex>
#include <vector>

#include "model/cp1250.h"

namespace blok {
namespace {

// Steps one after another, all but the first on the characters the code page lacks only:
// a letter and its marks as one character where there is one (e and a combining acute are é),
// other scripts into Latin, ligatures and superscripts as plain letters and digits, Latin
// letters with marks the code page lacks into bare ones, and marks left over away. One chain
// over the whole text would strip the marks the code page has ("ш" is "š", not "s").
class Transliteration {
 public:
  Transliteration() {
    icu::UnicodeSet lacked(0, 0x10FFFF);
    for (int b = 0; b < 256; ++b) lacked.remove(static_cast<UChar32>(Cp1250ToCodePoint(b)));
    lacked.freeze();
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeSet marks(icu::UnicodeString("[:Mn:]"), status);
    marks.retainAll(lacked);
    Add("NFC", nullptr);
    for (const char* id : {"Any-Latin", "NFKC", "Latin-ASCII"}) Add(id, &lacked);
    Add("Remove", &marks);
  }

  std::string operator()(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    {
      // A transliterator keeps caches of its own while it works: one text at a time.
      const std::lock_guard lock(mutex_);
      for (const auto& step : steps_) step->transliterate(text);
    }
    std::string out;
    text.toUTF8String(out);
    return out;
  }

 private:
  // Without ICU's data for a step the text goes without it: whatever is left becomes "?".
  void Add(const char* id, const icu::UnicodeSet* only) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> step(
        icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !step) return;
    if (only) step->adoptFilter(only->clone());
    steps_.push_back(std::move(step));
  }

  std::mutex mutex_;
  std::vector<std::unique_ptr<icu::Transliterator>> steps_;
};

}  // namespace

std::string ToCodePageLetters(std::string_view utf8, bool* changed) {
  const bool fits = !FirstUnencodable(utf8);
  if (changed) *changed = !fits;
  if (fits) return std::string(utf8);
  // Built on the first text that needs it: ICU takes a while to read its rules.
  static Transliteration transliterate;
  return FitToCodePage(transliterate(utf8)).text;
}

}  // namespace blok
