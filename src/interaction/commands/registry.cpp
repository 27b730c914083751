#include "interaction/commands/registry.h"

#include <algorithm>
#include <cctype>

#include "model/cp1250.h"

namespace blok {

// Each unit's maker, defined in its own file.
using Maker = std::unique_ptr<Command>(CommandContext&);
Maker MakeLine, MakeRectangle, MakeCircle, MakeArc, MakeText, MakePolygon;
Maker MakeMove, MakeCopy, MakeStretch, MakeDelete, MakeScale, MakeChamfer, MakeTrim, MakeExtend,
    MakeOffset, MakeRotate, MakeEdit, MakeMeasure, MakeMirror, MakeFillet, MakeArray,
    MakeDistanceChamfer;
Maker MakeInsertBlock, MakeCopyToClipboard, MakeCutToClipboard, MakePaste;
void ShowHelpList(InteractionHost& host);

namespace {

constexpr ToolBar kInsert = ToolBar::kInsert;
constexpr ToolBar kEdit = ToolBar::kEdit;
constexpr HelpSection kDrawing = HelpSection::kDrawing;
constexpr HelpSection kEditing = HelpSection::kEditing;

const CommandRow kRows[] = {
    {{"L"},
     "Rysuj linia ... .",
     false,
     {kDrawing, 1, "l  - rysuj linia"},
     {kInsert, "BWstawLinie", "Wstaw linie", "Linia", "linia"},
     {Menu::kInsert, 1, "Linia1", "Linia", ""},
     MakeLine},
    {{"P"},
     "Rysuj prostokat ... .",
     false,
     {kDrawing, 2, "p  -       prostokat"},
     {kInsert, "BWstawProstokat", "Wstaw prostokąt", "Prostokąt", "prostokat"},
     {Menu::kInsert, 2, "Prostokt1", "Prostokąt", ""},
     MakeRectangle},
    {{"O"},
     "Rysuj okrąg ... .",
     false,
     {kDrawing, 4, "o  -       okrag"},
     {kInsert, "BWstawOkrag", "Wstaw okrąg", "Okrąg", "okrag"},
     {Menu::kInsert, 3, "Okrg1", "Okrąg", ""},
     MakeCircle},
    {{"A", "LUK"},
     "Rysuj luk ... .",
     false,
     {kDrawing, 3, "a  -       luk (też luk)"},
     {kInsert, "BWstawLuk", "Wstaw łuk", "Łuk", "luk"},
     {Menu::kInsert, 4, "uk1", "Łuk", ""},
     MakeArc},
    {{"T"},
     "Rysuj text ... .",
     false,
     {kDrawing, 5, "t  -       tekst"},
     {kInsert, "BWstawTekst", "Wstaw tekst", "Tekst", "tekst"},
     {Menu::kInsert, 5, "ekst1", "Tekst", ""},
     MakeText},
    {{"WI"},
     "Wielokąt. Wpisz liczbę boków.",
     false,
     {kEditing, 12, "wi   -  wielokąt foremny (b – na boku, o – opisany na okręgu)"},
     {kInsert, "B_Wielokat", "Wielokąt", "Wielokąt foremny", "wielokat"},
     {Menu::kInsert, 6, "M_Wielokat", "Wielokąt", ""},
     MakePolygon},
    {{"WB"},
     "Wstaw blok z listy bloków.",
     false,
     {kDrawing, 6, "wb -       wstaw blok"},
     {kInsert, "B_WstawBlok", "Wstaw blok", "Wstaw blok z listy bloków", "wstaw_blok"},
     {Menu::kInsert, 7, "M_WstawBlok", "Wstaw blok", ""},
     MakeInsertBlock},
    {{"MO"},
     "Przesun. Wskaż obiekty do przesuniecia.",
     true,
     {kEditing, 2, "mo   -  przesun"},
     {kEdit, "BPrzesun", "Przesuń", "Przesuń", "przesun"},
     {Menu::kModify, 2, "M_Przesun", "Przesuń", ""},
     MakeMove},
    {{"CO", "KO"},
     "Kopiuj. Wskaż obiekty do kopiowania.",
     true,
     {kEditing, 1, "co   -  kopiuj"},
     {kEdit, "BKopiuj", "Kopiuj", "Kopiuj", "kopiuj"},
     {Menu::kModify, 1, "M_Kopiuj", "Kopiuj", ""},
     MakeCopy},
    {{"U"},
     "Usun. Wskaż obiekty.",
     true,
     {kEditing, 3, "u    -  usun"},
     {kEdit, "BUsun", "Usuń obiekt", "Usuń", "usun"},
     {Menu::kModify, 3, "M_Usun", "Usuń", ""},
     MakeDelete},
    {{"RO"},
     "Rozciągnij. Wskaż obiekty do rozciągania",
     false,
     {kEditing, 13, "ro   -  rozciągnij"},
     {kEdit, "BRozciagnij", "Rozciaganie", "Rozciagnij", "rozciagnij"},
     {Menu::kModify, 4, "M_Rozciagnij", "Rozciagnij", ""},
     MakeStretch},
    {{"SC", "SK"},
     "Skaluj. Wskaż obiekty do skalowania.",
     true,
     {kEditing, 14, "sc   -  skaluj (też sk)"},
     {kEdit, "BSkaluj", "Skaluj wszystko", "Skaluj", "skaluj"},
     {Menu::kModify, 5, "M_Skaluj", "Skaluj", ""},
     MakeScale},
    {{"F"},
     "Fazuj. Wskaż obiekty.",
     true,
     {kEditing, 5, "f    -  fazuj"},
     {kEdit, "BFazuj", "Fazuj linie", "Fazuj", "fazuj"},
     {Menu::kModify, 6, "M_Fazuj", "Fazuj", ""},
     MakeChamfer},
    {{"FA"},
     "Fazka. Wpisz odległości d1,d2.",
     false,
     {kEditing, 20, "fa   -  fazka o odległościach d1,d2"},
     {kEdit, "B_Fazka", "Fazka", "Fazka o odległościach d1,d2", "fazka"},
     // Ranked as Fazuj: the rows' order puts it right after.
     {Menu::kModify, 6, "M_Fazka", "Fazka", ""},
     MakeDistanceChamfer},
    {{"TR"},
     "Tnij. Wskaż obiekty.",
     true,
     {kEditing, 4, "tr   -  utnij"},
     {kEdit, "BTnij", "Tnij", "Utnij", "tnij"},
     {Menu::kModify, 7, "m_utnij", "Utnij", ""},
     MakeTrim},
    {{"W"},
     "Wydłuż. Wskaż obiekty.",
     true,
     {kEditing, 6, "w    -  wydłuż"},
     {kEdit, "BWydluz", "Wydłuż", "Wydłuż", "wydluz"},
     {Menu::kModify, 8, "M_Wydluz", "Wydłuż", ""},
     MakeExtend},
    {{"OD"},
     "Odsun. Wpisz odległość lub wskaz myszką 2 punkty.",
     false,
     {kEditing, 7, "od   -  odsuń"},
     {kEdit, "BOdsun", "Odsuń", "Odsuń", "odsun"},
     {Menu::kModify, 9, "M_Odsun", "Odsuń", ""},
     MakeOffset},
    {{"OB"},
     "Obrót. Wskaż obiekty do obrotu.",
     true,
     {kEditing, 8, "ob   -  obrót"},
     {kEdit, "B_Obrot", "Obrot", "Obróć", "obrot"},
     {Menu::kModify, 10, "m_obroc", "Obróć", ""},
     MakeRotate},
    {{"ED", "E"},
     "Edycja. Wskaż obiekt.",
     true,
     {kEditing, 15, "ed   -  zmień cechy obiektu (też e)"},
     {kEdit, "BEdycjaCech", "Zmiana cech", "Właściwości", "cechy"},
     {Menu::kModify, 11, "M_Wlasciwosci", "Właściwości", ""},
     MakeEdit},
    {{"ODL"},
     "Zmierz odległośc. Wskaż punkty.",
     false,
     {kEditing, 16, "odl  -  zmierz odległość"},
     {kEdit, "B_Odleglosc", "", "", "odleglosc"},
     {},
     MakeMeasure},
    {{"LU"},
     "Lustro. Wskaż obiekty do odbicia.",
     true,
     {kEditing, 9, "lu   -  lustro"},
     {kEdit, "B_Lustro", "Lustro", "Lustro", "lustro"},
     {Menu::kModify, 12, "M_Lustro", "Lustro", ""},
     MakeMirror},
    {{"ZA"},
     "Zaokrąglij. Wpisz promień.",
     false,
     {kEditing, 10, "za   -  zaokrąglij"},
     {kEdit, "B_Zaokraglij", "Zaokrąglij", "Zaokrąglij", "zaokraglij"},
     {Menu::kModify, 13, "M_Zaokraglij", "Zaokrąglij", ""},
     MakeFillet},
    {{"SZ"},
     "Szyk. Wskaż obiekty do powielenia.",
     true,
     {kEditing, 11, "sz   -  szyk prostokątny"},
     {kEdit, "B_Szyk", "Szyk", "Szyk prostokątny", "szyk"},
     {Menu::kModify, 14, "M_Szyk", "Szyk", ""},
     MakeArray},
    {{"KS"},
     "Kopiuj do schowka. Wskaż obiekty.",
     true,
     {kEditing, 17, "ks   -  kopiuj do schowka (Ctrl+C)"},
     {},
     {Menu::kModify, 15, "M_KopiujDoSchowka", "Kopiuj do schowka", "Ctrl+C"},
     MakeCopyToClipboard},
    {{"WS"},
     "Wytnij do schowka. Wskaż obiekty.",
     true,
     {kEditing, 18, "ws   -  wytnij do schowka (Ctrl+X)"},
     {},
     {Menu::kModify, 16, "M_WytnijDoSchowka", "Wytnij do schowka", "Ctrl+X"},
     MakeCutToClipboard},
    {{"WK"},
     "Wklej ze schowka.",
     false,
     {kEditing, 19, "wk   -  wklej ze schowka (Ctrl+V)"},
     {},
     {Menu::kModify, 17, "M_Wklej", "Wklej", "Ctrl+V"},
     MakePaste},
    {{"?", "LISTA", "POMOC"}, "Pomoc, lista poleceń.", false, {}, {}, {}, nullptr, ShowHelpList},
};

}  // namespace

std::span<const CommandRow> Commands() { return kRows; }

std::string ControlText(const CommandRow& row) {
  std::string text(row.keywords[0]);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const CommandRow* FindCommand(std::string_view upper_entry) {
  for (const CommandRow& row : kRows) {
    for (std::string_view keyword : row.keywords) {
      if (!keyword.empty() && keyword == upper_entry) return &row;
    }
  }
  return nullptr;
}

std::optional<std::string> CompleteKeyword(std::string_view typed) {
  if (typed.empty()) return std::nullopt;
  std::string upper(typed);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::optional<std::string_view> found;
  for (const CommandRow& row : kRows) {
    for (std::string_view keyword : row.keywords) {
      if (keyword.empty() || !keyword.starts_with(upper) || keyword == found) continue;
      if (found) return std::nullopt;
      found = keyword;
    }
  }
  if (!found) return std::nullopt;
  std::string text(*found);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::optional<std::string> CompleteName(std::string_view typed,
                                        std::span<const std::string> names) {
  if (typed.empty()) return std::nullopt;
  const std::string upper = UpperCp1250(typed);
  std::vector<const std::string*> fitting;
  for (const std::string& name : names) {
    if (UpperCp1250(name).starts_with(upper)) fitting.push_back(&name);
  }
  if (fitting.empty()) return std::nullopt;
  if (fitting.size() == 1) return *fitting.front();
  // The beginning all of them share, as the first spells it; never cut inside a character.
  const std::string& first = *fitting.front();
  size_t shared = first.size();
  for (const std::string* name : fitting) {
    const size_t end = std::min(shared, name->size());
    size_t n = 0;
    while (n < end && (*name)[n] == first[n]) ++n;
    shared = n;
  }
  while (shared > 0 && shared < first.size() &&
         (static_cast<unsigned char>(first[shared]) & 0xC0) == 0x80) {
    --shared;
  }
  if (shared <= typed.size()) return std::nullopt;
  return first.substr(0, shared);
}

std::vector<const CommandRow*> ToolBarRows(ToolBar bar) {
  std::vector<const CommandRow*> rows;
  for (const CommandRow& row : kRows) {
    if (row.button.bar == bar && bar != ToolBar::kNone) rows.push_back(&row);
  }
  return rows;
}

std::vector<const CommandRow*> MenuRows(Menu menu) {
  std::vector<const CommandRow*> rows;
  for (const CommandRow& row : kRows) {
    if (row.menu.menu == menu && menu != Menu::kNone) rows.push_back(&row);
  }
  std::ranges::stable_sort(rows, {}, [](const CommandRow* row) { return row->menu.rank; });
  return rows;
}

}  // namespace blok
