#include "model/transliteration.h"

#include <gtest/gtest.h>

#include "model/cp1250.h"

namespace blok {
namespace {

TEST(TransliterationTest, WhatTheCodePageLacksInLatinLettersTheRestAsItWas) {
  struct Case {
    const char* text;
    const char* letters;
    bool changed;
  };
  const Case cases[] = {
      {"Дата", "Data", true},
      {"ДАТА ПОДПИСЬ", "DATA PODPIS'", true},
      // A letter with a combining mark is the code page's letter; ligatures are letters.
      {"Cafe\u0301 \uFB01ltr", "Café filtr", true},
      {"Αθήνα", "Athena", true},
      {"Łódź – Дата: 5 m²", "Łódź – Data: 5 m2", true},
      // The code page holds ö, ü, ß and ä: only what it lacks is changed.
      {"Größe über Maß", "Größe über Maß", false},
      {"Blåbærsyltetøy", "Blabaersyltetoy", true},
      {"Ålesund Øst", "Alesund Ost", true},
      // Cyrillic letters the code page has in Latin keep their marks.
      {"Чаша", "Čaša", true},
      {"漢字", "han zi", true},
      {"rura 😀 Ø20", "rura ? O20", true},
      {"\xEE\x80\x80 prywatny", "? prywatny", true},
      {"", "", false},
      {"Zażółć gęślą jaźń ±0,5 °C €", "Zażółć gęślą jaźń ±0,5 °C €", false},
  };
  for (const Case& c : cases) {
    bool changed = !c.changed;
    const std::string letters = ToCodePageLetters(c.text, &changed);
    EXPECT_EQ(letters, c.letters) << c.text;
    EXPECT_EQ(changed, c.changed) << c.text;
    EXPECT_FALSE(FirstUnencodable(letters)) << c.text;
  }
}

}  // namespace
}  // namespace blok
