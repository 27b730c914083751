#include "interaction/command_machine.h"

#include <array>
#include <cmath>

#include "editing/chamfer_offset.h"
#include "editing/picking.h"
#include "editing/selection.h"
#include "editing/transform.h"
#include "editing/trim_extend.h"
#include "interaction/entity_writers.h"
#include "interaction/snap.h"
#include "interaction/typed_input.h"
#include "model/angles.h"
#include "model/cp1250.h"
#include "model/numbers.h"
#include "model/program_info.h"
#include "view/previews.h"
#include "view/renderer.h"

namespace blok {
namespace {

constexpr std::string_view kUnknown = "         <- nieznane polecenie.";
constexpr std::string_view kNoFile =
    "Stworz nowy plik bloków (menu Pliki/Nowy plik) lub otwórz plik bloków (menu Pliki/Otworz "
    "plik)";
constexpr std::string_view kHelpMessage = "Pomoc, lista poleceń.";
constexpr size_t kMaxMessage = 255;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kGreen = 0x008000;
constexpr Colour kGrey = 0x808080;
constexpr Colour kFramePen = 0xFA3232;
constexpr Colour kFrameHatch = 0xC89696;
// Below this a typed scale factor is no factor at all.
constexpr double kSmallestFactor = 1e-6;
constexpr float kRubberThickness = 0.2f;

std::string Upper(std::string_view s) { return UpperCp1250(s); }

std::string Fixed(double value, std::string_view pattern = kFixed3Pattern) {
  return FormatPattern(value, pattern, kWorkingSeparator);
}

std::string XY(Point p) { return "X=" + Fixed(p.x) + " Y=" + Fixed(p.y); }

float Degrees(double radians) { return static_cast<float>(radians * kDegreesPerRadian); }

// The keyword table. A row's flags are set after the reset that every keyword follows.
struct Keyword {
  std::array<std::string_view, 3> entries;
  std::string_view command;  // Polecenie; empty for the commands without a name
  bool pick_cursor;
  std::string_view message;
  void (*start)(Wskaz&);
};

constexpr Keyword kKeywords[] = {
    {{"L"}, "LINIA", false, "Rysuj linia ... .", [](Wskaz& w) { w.szukajP1 = true; }},
    {{"P"}, "PROST", false, "Rysuj prostokat ... .", [](Wskaz& w) { w.szukajP1 = true; }},
    {{"O"}, "OKRAG", false, "Rysuj okrąg ... .", [](Wskaz& w) { w.szukajP0 = true; }},
    {{"T"}, "TEKST", false, "Rysuj text ... .", [](Wskaz& w) { w.szukajP0 = true; }},
    {{"A"}, "LUK", false, "Rysuj luk ... .", [](Wskaz& w) { w.szukajP0 = true; }},
    {{"MO"},
     "MOVE",
     true,
     "Przesun. Wskaż obiekty do przesuniecia.",
     [](Wskaz& w) { w.szukaj = true; }},
    {{"CO", "KO"},
     "COPY",
     true,
     "Kopiuj. Wskaż obiekty do kopiowania.",
     [](Wskaz& w) { w.szukaj = true; }},
    {{"RO"},
     "STRE",
     false,
     "Rozciągnij. Wskaż obiekty do rozciągania",
     [](Wskaz& w) { w.szukaj = true; }},
    {{"OD"},
     "OFFSET",
     false,
     "Odsun. Wpisz odległość lub wskaz myszką 2 punkty.",
     [](Wskaz& w) { w.szukajP1 = true; }},
    {{"ODL"}, "ODL", false, "Zmierz odległośc. Wskaż punkty.", [](Wskaz& w) { w.szukajP1 = true; }},
    {{"SC", "SK"},
     "",
     true,
     "Skaluj. Wskaż obiekty do skalowania.",
     [](Wskaz& w) { w.skaluj = w.wybor = true; }},
    {{"OB"}, "OBROT", true, "Obrót. Wskaż obiekty do obrotu.", [](Wskaz& w) { w.szukaj = true; }},
    {{"F"},
     "",
     true,
     "Fazuj. Wskaż obiekty.",
     [](Wskaz& w) {
       w.fazuj1 = true;
       w.fazuj2 = false;
     }},
    {{"TR"},
     "",
     true,
     "Tnij. Wskaż obiekty.",
     [](Wskaz& w) { w.tnijKrawedz = w.wskazObiekt = true; }},
    {{"W"},
     "",
     true,
     "Wydłuż. Wskaż obiekty.",
     [](Wskaz& w) { w.wydluzKrawedz = w.wskazObiekt = true; }},
    {{"U"}, "", true, "Usun. Wskaż obiekty.", [](Wskaz& w) { w.usun = w.wybor = true; }},
    {{"ED", "E"}, "", true, "Edycja. Wskaż obiekt.", [](Wskaz& w) { w.edycja = w.wybor = true; }},
};

bool IsHelp(std::string_view upper) { return upper == "?" || upper == "LISTA" || upper == "POMOC"; }

}  // namespace

const std::vector<std::string>& CommandMachine::HelpLines() {
  static const std::vector<std::string> kLines = {
      "",
      "Lista polecen programu ver.  " + std::string(kProgramVersion) + "  " +
          std::string(kReleaseDate),
      "",
      "UWAGA! Symbolem dzisiętnym jest \" . - kropka\", \" , - przecinek\" służy odzieleniu "
      "wartości.",
      "       Wielkość liter nie ma znaczenia.",
      "",
      "\" \" (spacja)   -   powtórzenie ostatniego polecenia, pierwszego z listy.",
      "",
      "Rysowanie :",
      "l  - rysuj linia",
      "p  -       prostokat",
      "a  -       luk",
      "o  -       okrag",
      "t  -       tekst",
      "",
      "edycja :",
      "co   -  kopiuj",
      "mo   -  przesun",
      "u    -  usun",
      "tr   -  utnij",
      "f    -  fazuj",
      "w    -  wydłuż",
      "od   -  odsuń",
      "ob   -  obrót",
  };
  return kLines;
}

// --- Reset, prompt ---

void CommandMachine::AnulujPolecenie() {
  const bool pokaz = wskaz_.pokazStan;
  wskaz_ = Wskaz{};
  wskaz_.pokazStan = pokaz;
  host_.selection().lines.clear();
  host_.SetPickCursor(false);
  host_.ShowRelativePanel(false);
  host_.SetPrompt("Polecenie:");
  host_.FocusCommandEntry();
}

void CommandMachine::Monit(std::string_view text) {
  host_.SetPrompt("Wprowadz " + std::string(text));
  host_.FocusCommandEntry();
}

// --- The interpreter ---

void CommandMachine::WykonajPolecenie(const std::string& entry, bool from_control) {
  const std::string upper = Upper(entry);
  std::string pending;
  bool value = false;
  if (IsHelp(upper)) {
    host_.ShowHelp(HelpLines());
    pending = kHelpMessage;
  }
  if (!host_.BlockOpen()) {
    pending = kNoFile;
  } else {
    // A control's text is a command, never the value a step waits for.
    Consumed consumed = from_control ? Consumed{} : TypedArgument(entry);
    pending = CutToCharacters(consumed.message, kMaxMessage);
    value = consumed.value;
    if (pending.empty()) {
      AnulujPolecenie();
      // As after Esc: the abandoned step's label or preview would stay until the mouse moves.
      host_.surface().RestoreView();
    }
    if (auto started = StartCommand(upper)) pending = *started;
    if (auto direct = DirectEntry(entry)) pending = *direct;
    if (upper == "WSKAZ?") {
      wskaz_.pokazStan = !wskaz_.pokazStan;
      host_.Redraw();
      value = true;
    }
  }
  if (CharacterCount(pending) < 2) {
    if (value) {
      // A text, a factor or the overlay switch: taken, so echoed and remembered.
      host_.SetOstatniePolecenie(entry);
      host_.Komunikat(entry);
    } else {
      host_.Komunikat(entry + std::string(kUnknown));
    }
  } else {
    host_.SetOstatniePolecenie(entry);
    host_.Komunikat(entry);
    host_.Komunikat(pending);
  }
  if (wskaz_.szukajP0 || wskaz_.szukajP1 || wskaz_.szukajP2) Monit(" X , Y");
}

std::optional<std::string> CommandMachine::StartCommand(const std::string& upper_entry) {
  if (IsHelp(upper_entry)) return std::string(kHelpMessage);
  for (const Keyword& keyword : kKeywords) {
    for (std::string_view e : keyword.entries) {
      if (e.empty() || e != upper_entry) continue;
      wskaz_.Polecenie = keyword.command;
      keyword.start(wskaz_);
      if (keyword.pick_cursor) host_.SetPickCursor(true);
      if (wskaz_.Polecenie == "TEKST") {
        const Settings& s = host_.settings();
        tekst_roboczy_ = TekstRoboczy{};
        tekst_roboczy_.height = s.text_height;
        tekst_roboczy_.width = s.text_width;
      }
      return std::string(keyword.message);
    }
  }
  return std::nullopt;
}

std::optional<std::string> CommandMachine::DirectEntry(const std::string& entry) {
  const std::string start = Upper(entry.substr(0, 2));
  WriterResult result;
  if (start == "L(" || start == "P(") {
    result = DirectSegment(entry, Style());
  } else if (start == "T(") {
    const Settings& s = host_.settings();
    result = DirectText(entry, s.text_height_text, s.text_width_text, Style());
  } else {
    return std::nullopt;
  }
  if (result.error) {
    host_.ShowMessageBox(*result.error);
    return std::string();
  }
  for (std::string& line : result.lines) host_.DodajObiekt(std::move(line));
  if (!result.lines.empty()) host_.Redraw();
  return result.message;
}

CommandMachine::Consumed CommandMachine::TypedArgument(const std::string& entry) {
  Wskaz& w = wskaz_;
  if (w.SzukTekst) {
    const Settings& s = host_.settings();
    Apply(DodajTekst(w.p0, w.A1, entry, s.text_height_text, s.text_width_text, Style()));
    AnulujPolecenie();
    host_.Redraw();
    return {"", true};
  }
  const std::string wrapped = "(" + entry + ")";
  std::string message;
  if (w.szukajA2) {
    if (auto degrees = ParsujLiczbe(wrapped)) {
      double d = *degrees;
      if (static_cast<float>(d * kRadiansPerDegree) < w.A1) d += 360;
      KrokA2(1, static_cast<float>(d * kRadiansPerDegree));
      message = "Wprowadzono kat A2=" + Fixed(d, kFixed2Pattern8);
    }
  }
  if (w.szukajA1) {
    if (auto degrees = ParsujLiczbe(wrapped)) {
      const float a = static_cast<float>(*degrees * kRadiansPerDegree);
      // The arc's side test measures from a point on the start ray; a typed angle has none.
      if (w.Polecenie == "LUK") w.P1 = {w.p0.x + std::cos(a), w.p0.y + std::sin(a)};
      KrokA1(a);
      message = "Wprowadzono kat A1=" + Fixed(*degrees, kFixed2Pattern8);
    }
  }
  if (w.szukajR) {
    if (auto r = ParsujLiczbe(wrapped)) {
      KrokR(static_cast<float>(*r));
      message = "Wprowadzono promien R=" + Fixed(*r, kFixed2Pattern8);
    }
  }
  if (w.szukajP0) {
    if (auto p = ParsujPunkt(wrapped)) {
      KrokP0(p->point);
      message = "Wprowadzono wsp. ";
    }
  }
  if (w.szukajP2) {
    if (auto p = ParsujPunkt(wrapped)) message = KrokP2(p->point);
  }
  if (w.szukajP1) {
    if (entry.find(',') != std::string::npos) {
      if (auto p = ParsujPunkt(wrapped)) message = KrokP1(p->point);
    } else if (auto d = ParsujLiczbe(wrapped)) {
      // A bare number is a distance along x from the origin.
      w.szukajP1 = false;
      w.P1 = {0, 0};
      message = KrokP2({*d, 0});
    }
  }
  if (w.skaluj) {
    // A factor before the base point has nothing to scale about.
    const std::optional<double> factor = ParsujLiczbe(wrapped);
    if (factor && !w.skalujBaza && w.p0.x != kUnsetCoordinate) {
      if (std::abs(*factor) > kSmallestFactor) {
        host_.ApplyChanges(ScaleSelection(host_.drawing().records(), host_.selection(), w.p0.x,
                                          w.p0.y, static_cast<float>(*factor)));
        host_.Redraw();
      }
      AnulujPolecenie();
      return {"", true};
    }
  }
  return {message, false};
}

// --- Steps ---

void CommandMachine::KrokP0(Point point) {
  Wskaz& w = wskaz_;
  w.p0 = w.ORTOJest = point;
  w.maOrto = true;
  w.szukajP0 = false;
  if (w.Polecenie == "OBROT") {
    w.szukajA1 = true;
    Monit("Kąt obrotu");
  } else if (w.Polecenie == "OKRAG" || w.Polecenie == "LUK") {
    w.szukajR = true;
    Monit("Promień");
  } else if (w.Polecenie == "TEKST") {
    w.szukajA1 = true;
    Monit("Kąt [st]");
  }
  host_.Redraw();
  const ViewTransform& view = host_.view();
  Label(view.WorldToScreenX(point.x), view.WorldToScreenY(point.y), XY(point));
}

std::string CommandMachine::KrokP1(Point point) {
  Wskaz& w = wskaz_;
  w.P1 = w.ORTOJest = point;
  w.maOrto = true;
  w.szukajP1 = false;
  w.szukajP2 = true;
  host_.ShowRelativePanel(true);
  return "Wprowadzono wsp. poczatkowa " + FormatXY(point.x, point.y);
}

std::string CommandMachine::KrokP2(Point point) {
  Wskaz& w = wskaz_;
  w.P2 = point;
  if (w.Polecenie == "LINIA") {
    Apply(DodajLinie(w.P1, w.P2, Style()));
    w.P1 = w.ORTOJest = w.P2;
  } else if (w.Polecenie == "PROST") {
    Apply(DodajProstokat(w.P1, w.P2, Style()));
    AnulujPolecenie();
  } else if (w.Polecenie == "MOVE" || w.Polecenie == "COPY" || w.Polecenie == "STRE") {
    ApplyDisplacement(static_cast<float>(w.P2.x - w.P1.x), static_cast<float>(w.P2.y - w.P1.y));
  } else if (w.Polecenie == "ODL") {
    const double dx = w.P2.x - w.P1.x;
    const double dy = w.P2.y - w.P1.y;
    host_.Komunikat(
        "l= " + Fixed(PointDistance(w.P1.x, w.P1.y, w.P2.x, w.P2.y)) + "  dx=" + Fixed(dx) +
        " dy=" + Fixed(dy) + "  kat= " +
        Fixed(DirectionAngle(w.P1.x, w.P1.y, w.P2.x, w.P2.y) * kDegreesPerRadian, "0.0"));
    AnulujPolecenie();
  } else if (w.Polecenie == "OFFSET") {
    w.odleglosc = static_cast<float>(PointDistance(w.P1.x, w.P1.y, w.P2.x, w.P2.y));
    w.wskazObiekt = true;
    w.szukajP2 = false;
    host_.SetPickCursor(true);
  }
  host_.Redraw();
  // The point handed in: after a reset P2 is unset again.
  return "Wprowadzono wsp. koncowa " + FormatXY(point.x, point.y);
}

void CommandMachine::KrokR(float r) {
  Wskaz& w = wskaz_;
  w.szukajR = false;
  w.R = r;
  if (w.Polecenie == "OKRAG") {
    Apply(DodajOkrag(w.p0, w.R, Style()));
  } else if (w.Polecenie == "LUK") {
    w.szukajA1 = true;
    Monit("Kąt pocz.");
  }
  host_.Redraw();
}

void CommandMachine::KrokA1(float a) {
  Wskaz& w = wskaz_;
  if (w.Polecenie == "OBROT") {
    host_.ApplyChanges(
        RotateSelection(host_.drawing().records(), host_.selection(), w.p0.x, w.p0.y, a));
    // The rotation ends the command, as a move does: left at its angle step, the prompt would
    // go on asking for an angle that nothing takes any more.
    AnulujPolecenie();
    host_.Redraw();
  } else if (w.Polecenie == "LUK") {
    w.A1 = a;
    w.szukajA1 = false;
    w.szukajA2 = true;
    Monit("Kąt konc.");
  } else if (w.Polecenie == "TEKST") {
    w.A1 = a;
    w.szukajA1 = false;
    w.SzukTekst = true;
    tekst_roboczy_.angle = Degrees(a);
    Monit("tekst");
  }
}

void CommandMachine::KrokA2(double side, float a) {
  Wskaz& w = wskaz_;
  if (w.Polecenie == "LUK") {
    w.A2 = a;
    Apply(DodajLuk(w.p0, w.R, w.A1, w.A2, side, Style()));
    AnulujPolecenie();
  }
  host_.Redraw();
}

void CommandMachine::Apply(const WriterResult& result) {
  if (result.error) {
    host_.ShowMessageBox(*result.error);
    return;
  }
  for (const std::string& line : result.lines) host_.DodajObiekt(line);
  if (!result.message.empty()) host_.Komunikat(result.message);
}

EntityStyle CommandMachine::Style() const {
  const Settings& s = host_.settings();
  return EntityStyle{s.colour, s.thickness_text};
}

// --- The relative-coordinate panel ---

void CommandMachine::WprowadzDxDy(std::string_view dx_text, std::string_view dy_text, bool polar) {
  const std::optional<double> first = ParseNumber(dx_text, kWorkingSeparator);
  const std::optional<double> second = ParseNumber(dy_text, kWorkingSeparator);
  for (const auto& [value, text] : {std::pair{first, dx_text}, std::pair{second, dy_text}}) {
    if (!value || !std::isfinite(static_cast<float>(*value))) {
      host_.ShowMessageBox("\"" + std::string(text) + "\" nie jest poprawną liczbą.");
      return;
    }
  }
  double dx = *first;
  double dy = *second;
  if (polar) {
    const float a = static_cast<float>(*second * kPi / 180);
    dx = static_cast<float>(std::cos(a) * *first);
    dy = static_cast<float>(std::sin(a) * *first);
  }
  Wskaz& w = wskaz_;
  if (w.Polecenie == "LINIA" && w.szukajP2) {
    w.P2 = {w.P1.x + dx, w.P1.y + dy};
    Apply(DodajLinie(w.P1, w.P2, Style()));
    w.P1 = w.P2;
  } else if (w.Polecenie == "MOVE" || w.Polecenie == "COPY" || w.Polecenie == "STRE") {
    ApplyDisplacement(static_cast<float>(dx), static_cast<float>(dy));
  }
  host_.Redraw();
}

void CommandMachine::ApplyDisplacement(float dx, float dy) {
  const auto records = host_.drawing().records();
  Selection& selection = host_.selection();
  const std::string& command = wskaz_.Polecenie;
  if (command == "MOVE") {
    host_.ApplyChanges(MoveSelection(records, selection, dx, dy));
  } else if (command == "COPY") {
    host_.ApplyChanges(CopySelection(records, selection, dx, dy));
  } else if (command == "STRE") {
    host_.ApplyChanges(StretchSelection(records, selection, dx, dy));
  }
  AnulujPolecenie();
}

// --- Mouse ---

Point CommandMachine::RawPoint(int x, int y) const {
  const ViewTransform& view = host_.view();
  return {view.ScreenToWorldX(x), view.ScreenToWorldY(y)};
}

void CommandMachine::Press(int x, int y) {
  Wskaz& w = wskaz_;
  if (w.wybor || w.szukaj) {
    frame_start_ = {x, y};
    w.ramka = true;
    const Point p = RawPoint(x, y);
    Label(x, y - 12, "X=" + Fixed(p.x, "0.00") + " Y=" + Fixed(p.y, "0.00"));
  }
  // Every block tests its own flags as the blocks before it left them. Later stages of a
  // two-stage pick come before their first stage, so that one click never serves both.
  using Block = void (CommandMachine::*)(int, int);
  static constexpr Block kBlocks[] = {
      &CommandMachine::PressOffsetSide,   &CommandMachine::PressOffsetObject,
      &CommandMachine::PressPointStep,    &CommandMachine::PressScaleBase,
      &CommandMachine::PressEdit,         &CommandMachine::PressChamferSecond,
      &CommandMachine::PressChamferFirst, &CommandMachine::PressTrimObject,
      &CommandMachine::PressTrimEdge,     &CommandMachine::PressExtendObject,
      &CommandMachine::PressExtendEdge,
  };
  for (Block block : kBlocks) (this->*block)(x, y);
  press_ = {x, y};
}

int CommandMachine::Pick(int x, int y) {
  if (host_.font() == nullptr) return -1;
  return PickAndHighlight(host_.surface().OverlayCanvas(), host_.drawing().records(), host_.view(),
                          *host_.font(), host_.reading_defaults(), x, y);
}

bool CommandMachine::IsLine(int index) const {
  const auto records = host_.drawing().records();
  return index >= 0 && static_cast<size_t>(index) < records.size() &&
         records[index].kind == EntityKind::kLine && records[index].valid();
}

void CommandMachine::PressOffsetSide(int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.odsunKierunek) return;
  if (w.obiekt1 >= 0) {
    EditChanges changes =
        OffsetEntity(host_.drawing().records(), w.obiekt1, w.odleglosc, RawPoint(x, y));
    const bool made = !changes.empty();
    host_.ApplyChanges(std::move(changes));
    // The copy just made is line 0: further clicks offset it again. A click that made nothing
    // keeps the object it had.
    if (made) w.obiekt1 = 0;
  }
  host_.Redraw();
}

void CommandMachine::PressOffsetObject(int x, int y) {
  Wskaz& w = wskaz_;
  if (w.Polecenie != "OFFSET" || !w.wskazObiekt) return;
  host_.surface().RestoreView();
  host_.SetPickCursor(false);
  if (const int index = Pick(x, y); index >= 0) {
    w.obiekt1 = index;
    w.odsunKierunek = true;
    w.wskazObiekt = false;
  }
}

void CommandMachine::PressPointStep(int x, int y) {
  Wskaz& w = wskaz_;
  if (w.szukajP0) {
    KrokP0(PunktBezOrto(x, y));
  } else if (w.szukajP2) {
    KrokP2(PunktWskazany(x, y));
  } else if (w.szukajP1) {
    KrokP1(PunktWskazany(x, y));
  } else if (w.szukajA2) {
    w.P2 = PunktWskazany(x, y);
    const float a = static_cast<float>(DirectionAngle(w.p0.x, w.p0.y, w.P2.x, w.P2.y));
    const Point c = RawPoint(x, y);
    // Negative when the click lies counter-clockwise of the start ray.
    const double side = -CrossAbout(w.P1.x, w.P1.y, w.p0.x, w.p0.y, c.x, c.y);
    KrokA2(side, a);
  } else if (w.szukajA1) {
    w.P1 = PunktWskazany(x, y);
    // A rotation turns by the direction its preview showed.
    KrokA1(w.Polecenie == "OBROT"
               ? VectorAngle(static_cast<float>(w.p0.x), static_cast<float>(w.p0.y),
                             static_cast<float>(w.P1.x), static_cast<float>(w.P1.y))
               : static_cast<float>(DirectionAngle(w.p0.x, w.p0.y, w.P1.x, w.P1.y)));
  } else if (w.szukajR) {
    w.P1 = PunktWskazany(x, y);
    KrokR(static_cast<float>(PointDistance(w.p0.x, w.p0.y, w.P1.x, w.P1.y)));
  }
}

void CommandMachine::PressScaleBase(int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.skaluj || !w.skalujBaza) return;
  w.p0 = PunktWskazany(x, y);
  w.skalujBaza = false;
  Monit("Współczynnik :");
}

void CommandMachine::PressEdit(int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.edycja) return;
  // Only a press on an entity ends the edit mode; on empty ground the drag that follows
  // selects for "Zmiana cech".
  const int index = Pick(x, y);
  if (index < 0) return;
  w.edycja = w.wybor = w.ramka = false;
  host_.Redraw();
  host_.OpenEntityEditor(index);
}

void CommandMachine::PressChamferSecond(int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.fazuj2) return;
  host_.surface().RestoreView();
  const int index = Pick(x, y);
  if (!IsLine(index)) return;
  w.obiekt2 = index;
  host_.ApplyChanges(ChamferLines(host_.drawing().records(), w.obiekt1, w.obiekt2, RawPoint(x, y),
                                  w.punktKlikniecia));
  w.fazuj2 = false;
  host_.Redraw();
  host_.SetPickCursor(false);
}

void CommandMachine::PressChamferFirst(int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.fazuj1) return;
  host_.surface().RestoreView();
  const int index = Pick(x, y);
  if (!IsLine(index)) return;
  w.obiekt1 = index;
  w.punktKlikniecia = RawPoint(x, y);
  w.fazuj1 = false;
  w.fazuj2 = true;
}

// Trim and extend share their two stages: the edge, a line, then any number of objects, each
// cut or lengthened against it where it was clicked.
void CommandMachine::PressEdgeObject(bool Wskaz::*object_stage, LineOperation operation, int x,
                                     int y) {
  Wskaz& w = wskaz_;
  if (!w.wskazObiekt || !(w.*object_stage)) return;
  host_.surface().RestoreView();
  const int index = Pick(x, y);
  if (index < 0) return;
  w.obiekt2 = index;
  w.punktKlikniecia = RawPoint(x, y);
  host_.ApplyChanges(operation(host_.drawing().records(), w.obiekt1, w.obiekt2, w.punktKlikniecia));
  host_.Redraw();
}

void CommandMachine::PressEdge(bool Wskaz::*edge_stage, bool Wskaz::*object_stage, int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.wskazObiekt || !(w.*edge_stage)) return;
  host_.surface().RestoreView();
  const int index = Pick(x, y);
  if (!IsLine(index)) return;
  w.obiekt1 = index;
  w.*edge_stage = false;
  w.*object_stage = true;
}

void CommandMachine::PressTrimObject(int x, int y) {
  PressEdgeObject(&Wskaz::tnijObiekt, TrimLine, x, y);
}
void CommandMachine::PressTrimEdge(int x, int y) {
  PressEdge(&Wskaz::tnijKrawedz, &Wskaz::tnijObiekt, x, y);
}
void CommandMachine::PressExtendObject(int x, int y) {
  PressEdgeObject(&Wskaz::wydluzObiekt, ExtendLine, x, y);
}
void CommandMachine::PressExtendEdge(int x, int y) {
  PressEdge(&Wskaz::wydluzKrawedz, &Wskaz::wydluzObiekt, x, y);
}

bool CommandMachine::SelectByGesture(int x, int y) {
  if (host_.font() == nullptr) return false;
  const Drawing& drawing = host_.drawing();
  return blok::SelectByGesture(host_.surface().OverlayCanvas(), drawing, host_.view(),
                               *host_.font(), host_.reading_defaults(), host_.selection(),
                               frame_start_.x, frame_start_.y, x, y);
}

void CommandMachine::Release(int x, int y) {
  Wskaz& w = wskaz_;
  if (!w.wybor && !w.szukaj) return;
  const Selection& selection = host_.selection();
  // Each flag set selects anew; the command of each takes what it needs.
  if (w.usun && SelectByGesture(x, y)) {
    host_.ApplyChanges(DeleteSelection(host_.drawing().records(), selection));
    w.usun = false;
    host_.SetPickCursor(false);
    host_.Redraw();
  }
  if (w.edycja && SelectByGesture(x, y)) {
    w.edycja = w.wybor = w.ramka = false;
    host_.surface().RestoreView();
    host_.ChangeProperties();
    host_.Redraw();
    AnulujPolecenie();
    return;
  }
  if (w.skaluj && SelectByGesture(x, y)) {
    w.skalujBaza = true;
    host_.SetPickCursor(false);
  }
  if (w.szukaj && SelectByGesture(x, y)) {
    w.szukaj = false;
    host_.SetPickCursor(false);
    if (w.Polecenie == "OBROT") {
      w.szukajP0 = true;
    } else if (w.Polecenie == "MOVE" || w.Polecenie == "COPY" || w.Polecenie == "STRE") {
      w.szukajP1 = true;
    }
  }
  if (!selection.empty()) w.wybor = false;
  w.ramka = false;
  host_.surface().RestoreView();
  if (w.szukajP0 || w.szukajP1) Monit(" X , Y");
}

void CommandMachine::DoubleClick() {
  const int index = Pick(press_.x, press_.y);
  if (index >= 0) host_.OpenEntityEditor(index);
  host_.surface().RestoreView();
}

void CommandMachine::Move(int x, int y) {
  // The first row that applies draws the preview of the step.
  if (wskaz_.ramka) {
    // The selection frame from the press to the cursor.
    host_.surface().RestoreView();
    Canvas& canvas = host_.surface().OverlayCanvas();
    canvas.SetPenStyle(PenStyle::kSolid);
    canvas.SetPenColour(kFramePen);
    canvas.SetPenWidth(1);
    canvas.SetBrushColour(kFrameHatch);
    canvas.SetBrushStyle(BrushStyle::kDiagonalCross);
    canvas.Rectangle(std::min(frame_start_.x, x), std::min(frame_start_.y, y),
                     std::max(frame_start_.x, x), std::max(frame_start_.y, y));
    return;
  }
  using Row = bool (CommandMachine::*)(int, int);
  static constexpr Row kRows[] = {
      &CommandMachine::PreviewRadius,     &CommandMachine::PreviewTextAngle,
      &CommandMachine::PreviewArcStart,   &CommandMachine::PreviewRotation,
      &CommandMachine::PreviewArcEnd,     &CommandMachine::PreviewChamfer,
      &CommandMachine::PreviewOffsetSide, &CommandMachine::PreviewPickLabel,
      &CommandMachine::PreviewScaleBase,  &CommandMachine::PreviewSecondPoint,
      &CommandMachine::PreviewFirstPoint, &CommandMachine::PreviewCentre,
      &CommandMachine::PreviewEdgeObject, &CommandMachine::PreviewEdit,
  };
  for (Row row : kRows) {
    if ((this->*row)(x, y)) return;
  }
}

void CommandMachine::PreviewSelectionMove(double dx, double dy) {
  if (host_.font() == nullptr) return;
  Canvas& canvas = host_.surface().OverlayCanvas();
  for (const std::string& line : host_.selection().lines) {
    PreviewMove(canvas, host_.view(), *host_.font(), line, host_.reading_defaults(), dx, dy);
  }
}

void CommandMachine::PreviewSelectionStretch(double dx, double dy) {
  if (host_.font() == nullptr) return;
  Canvas& canvas = host_.surface().OverlayCanvas();
  const Selection& selection = host_.selection();
  for (const std::string& line : selection.lines) {
    PreviewStretch(canvas, host_.view(), *host_.font(), line, host_.reading_defaults(),
                   selection.window, dx, dy);
  }
}

void CommandMachine::ShowObject1() {
  const auto records = host_.drawing().records();
  const int index = wskaz_.obiekt1;
  if (host_.font() == nullptr || index < 0 || static_cast<size_t>(index) >= records.size()) return;
  PreviewMove(host_.surface().OverlayCanvas(), host_.view(), *host_.font(),
              host_.drawing().lines()[index], host_.reading_defaults(), 0, 0);
}

bool CommandMachine::PreviewRotation(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajA1 || w.Polecenie == "TEKST" || w.Polecenie == "LUK") return false;
  host_.surface().RestoreView();
  const Point p = PunktWskazany(x, y);
  const double angle = VectorAngle(static_cast<float>(w.p0.x), static_cast<float>(w.p0.y),
                                   static_cast<float>(p.x), static_cast<float>(p.y));
  if (host_.font() != nullptr) {
    for (const std::string& line : host_.selection().lines) {
      PreviewRotate(host_.surface().OverlayCanvas(), host_.view(), *host_.font(), line,
                    host_.reading_defaults(), angle, w.p0.x, w.p0.y);
    }
  }
  const ViewTransform& view = host_.view();
  Label(view.WorldToScreenX(w.p0.x), view.WorldToScreenY(w.p0.y),
        "alfa = " + Fixed(angle, kFixed2Pattern7));
  return true;
}

bool CommandMachine::PreviewChamfer(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.fazuj1 && !w.fazuj2) return false;
  host_.surface().RestoreView();
  Pick(x, y);
  Label(x, y - 20,
        w.fazuj1 ? "Wskaż pierwszą linię do fazowania" : "Wskaż drugą linię do fazowania");
  return true;
}

bool CommandMachine::PreviewOffsetSide(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.odsunKierunek) return false;
  host_.surface().RestoreView();
  ShowObject1();
  if (host_.font() != nullptr) {
    if (auto line =
            OffsetPreviewLine(host_.drawing().records(), w.obiekt1, w.odleglosc, RawPoint(x, y))) {
      PreviewMove(host_.surface().OverlayCanvas(), host_.view(), *host_.font(), *line,
                  host_.reading_defaults(), 0, 0);
    }
  }
  Label(x, y - 20, "Wskaż KIERUNEK odsunięcia");
  return true;
}

// The commands that wait for a click on one object: a hover highlight and what to pick.
bool CommandMachine::PreviewPickLabel(int x, int y) {
  const Wskaz& w = wskaz_;
  std::string_view label;
  int offset = -20;
  if (w.wskazObiekt && w.Polecenie == "OFFSET") {
    label = "Wskaż OBIEKT do odsunięcia";
  } else if (w.usun) {
    label = "Wskaż OBIEKT do usunięcia";
  } else if (w.skaluj && !w.skalujBaza) {
    label = "Wskaż OBIEKT do skalowania";
  } else if (w.szukaj) {
    if (w.Polecenie == "OBROT") label = "Wskaż OBIEKT do obrotu";
    if (w.Polecenie == "MOVE") label = "Wskaż OBIEKT do przesunięcia";
    if (w.Polecenie == "COPY") label = "Wskaż OBIEKT do kopiowania";
    if (w.Polecenie == "STRE") label = "Wskaż PROSTOKĄTEM rozciąganie";
  } else if (w.wskazObiekt && w.tnijKrawedz) {
    label = "Wskaż krawędź tnącą (linia).";
    offset = 20;
  } else if (w.wskazObiekt && w.wydluzKrawedz) {
    label = "Wskaż krawędź wydłużenia (linie).";
    offset = 20;
  } else {
    return false;
  }
  host_.surface().RestoreView();
  Pick(x, y);
  if (!label.empty()) Label(x, y + offset, label);
  return true;
}

bool CommandMachine::PreviewScaleBase(int x, int y) {
  if (!wskaz_.skalujBaza) return false;
  host_.surface().RestoreView();
  PunktBezOrto(x, y);
  PreviewSelectionMove(0, 0);
  Label(x, y - 40, "PUNKT BAZOWY SKALOWANIA");
  return true;
}

bool CommandMachine::PreviewEdgeObject(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.wskazObiekt || (!w.wydluzObiekt && !w.tnijObiekt)) return false;
  host_.surface().RestoreView();
  ShowObject1();
  Pick(x, y);
  Label(x, y + 20,
        w.wydluzObiekt ? "Wskaż OBIEKT do wydłużenia (linie)." : "Wskaż obiekt do cięcia (linie).");
  return true;
}

bool CommandMachine::PreviewEdit(int x, int y) {
  if (!wskaz_.edycja) return false;
  host_.surface().RestoreView();
  if (host_.font() != nullptr) {
    PickAndShowThickness(host_.surface().OverlayCanvas(), host_.drawing().records(), host_.view(),
                         *host_.font(), host_.reading_defaults(), x, y);
  }
  Label(x, y + 20, "Wskaż OBIEKT do edycji");
  return true;
}

bool CommandMachine::PreviewRadius(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajR) return false;
  host_.surface().RestoreView();
  const Point p = PunktWskazany(x, y);
  const double r = PointDistance(w.p0.x, w.p0.y, p.x, p.y);
  Canvas& canvas = host_.surface().OverlayCanvas();
  const ViewTransform& view = host_.view();
  RubberCircle(canvas, view, kRed, kRubberThickness, w.p0.x, w.p0.y, r);
  DrawSegment(canvas, view, kYellow, kRubberThickness, w.p0.x, w.p0.y, p.x, p.y);
  Label(x, y - 40, " R=" + Fixed(r));
  return true;
}

bool CommandMachine::PreviewTextAngle(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajA1 || w.Polecenie != "TEKST") return false;
  host_.surface().RestoreView();
  const Point p = PunktWskazany(x, y);
  DrawWorkingText(host_.surface().OverlayCanvas(), w.p0.x, w.p0.y,
                  Degrees(DirectionAngle(w.p0.x, w.p0.y, p.x, p.y)));
  return true;
}

bool CommandMachine::PreviewArcStart(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajA1 || w.Polecenie != "LUK") return false;
  host_.surface().RestoreView();
  const Point p = PunktWskazany(x, y);
  Canvas& canvas = host_.surface().OverlayCanvas();
  const ViewTransform& view = host_.view();
  DrawSegment(canvas, view, kRed, kRubberThickness, w.p0.x, w.p0.y, p.x, p.y);
  RubberCircle(canvas, view, kGrey, kRubberThickness, w.p0.x, w.p0.y, w.R);
  Label(
      x, y - 40,
      "KAT pocz := " + Fixed(DirectionAngle(w.p0.x, w.p0.y, p.x, p.y) * kDegreesPerRadian, "0.00"));
  return true;
}

bool CommandMachine::PreviewArcEnd(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajA2) return false;
  host_.surface().RestoreView();
  const Point p = PunktWskazany(x, y);
  Canvas& canvas = host_.surface().OverlayCanvas();
  const ViewTransform& view = host_.view();
  DrawSegment(canvas, view, kRed, kRubberThickness, w.p0.x, w.p0.y, p.x, p.y);
  const Point c = RawPoint(x, y);
  const double side = -CrossAbout(w.P1.x, w.P1.y, w.p0.x, w.p0.y, c.x, c.y);
  const double cursor = DirectionAngle(w.p0.x, w.p0.y, p.x, p.y);
  // Counter-clockwise always: the sweep of at most half a turn between the two directions.
  if (side < 0) {
    DrawArc(canvas, view, kRed, 0, w.p0.x, w.p0.y, w.R, w.A1, cursor);
  } else {
    DrawArc(canvas, view, kRed, 0, w.p0.x, w.p0.y, w.R, cursor, w.A1);
  }
  return true;
}

bool CommandMachine::PreviewSecondPoint(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajP2) return false;
  host_.surface().RestoreView();
  const Point p = PunktWskazany(x, y);
  DrawSegment(host_.surface().OverlayCanvas(), host_.view(), kGreen, 0, w.P1.x, w.P1.y, p.x, p.y);
  // The selection follows the cursor itself, as it will be displaced.
  const Point raw = RawPoint(x, y);
  if (w.Polecenie == "MOVE" || w.Polecenie == "COPY") {
    PreviewSelectionMove(raw.x - w.P1.x, raw.y - w.P1.y);
  } else if (w.Polecenie == "STRE") {
    PreviewSelectionStretch(raw.x - w.P1.x, raw.y - w.P1.y);
  }
  const double dx = p.x - w.P1.x;
  const double dy = p.y - w.P1.y;
  Label(x, y - 35,
        "dx=" + Fixed(dx) + " dy=" + Fixed(dy) +
            " L=" + Fixed(PointDistance(w.P1.x, w.P1.y, p.x, p.y)) +
            " A=" + Fixed(DirectionAngle(w.P1.x, w.P1.y, p.x, p.y) * kDegreesPerRadian));
  return true;
}

bool CommandMachine::PreviewFirstPoint(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajP1) return false;
  host_.surface().RestoreView();
  PunktBezOrto(x, y);
  if (w.Polecenie == "MOVE" || w.Polecenie == "COPY") {
    PreviewSelectionMove(0, 0);
  } else if (w.Polecenie == "STRE") {
    PreviewSelectionStretch(0, 0);
  }
  return true;
}

bool CommandMachine::PreviewCentre(int x, int y) {
  const Wskaz& w = wskaz_;
  if (!w.szukajP0) return false;
  host_.surface().RestoreView();
  const Point p = PunktBezOrto(x, y);
  std::string_view label;
  if (w.Polecenie == "TEKST") {
    DrawWorkingText(host_.surface().OverlayCanvas(), p.x, p.y, tekst_roboczy_.angle);
    label = "PUNKT WSTAWIENIA TEKSTU";
  } else if (w.Polecenie == "OKRAG" || w.Polecenie == "LUK") {
    label = "PUNKT ŚRODKOWY";
  } else if (w.Polecenie == "OBROT") {
    label = "PUNKT BAZOWY OBROTU";
  }
  if (!label.empty()) Label(x, y - 40, label);
  return true;
}

void CommandMachine::Label(int px, int py, std::string_view text) {
  LabelAtPixel(host_.surface().OverlayCanvas(), px, py, text);
}

void CommandMachine::DrawWorkingText(Canvas& canvas, double x, double y, float angle) {
  if (host_.font() == nullptr) return;
  const TekstRoboczy& t = tekst_roboczy_;
  WorkingText(canvas, host_.view(), *host_.font(), t.text, host_.settings().colour,
              kDefaultThickness, t.height, t.width, angle, x, y);
}

// --- Point input ---

SnapSettings CommandMachine::Snaps() const {
  const Settings& s = host_.settings();
  return SnapSettings{s.grid_snap,         s.ortho,    s.snap_end, s.snap_middle, s.snap_centre,
                      s.snap_intersection, s.grid_step};
}

Point CommandMachine::PunktWskazany(int x, int y) {
  if (host_.font() == nullptr) return RawPoint(x, y);
  return blok::PunktWskazany(host_.surface().OverlayCanvas(), host_.drawing().records(),
                             host_.view(), *host_.font(), Snaps(),
                             OrthoReference{wskaz_.ORTOJest, wskaz_.maOrto}, x, y);
}

Point CommandMachine::PunktBezOrto(int x, int y) {
  if (host_.font() == nullptr) return RawPoint(x, y);
  return blok::PunktBezOrto(host_.surface().OverlayCanvas(), host_.drawing().records(),
                            host_.view(), *host_.font(), Snaps(), x, y);
}

// --- The state overlay ---

void CommandMachine::DrawStateOverlay(Canvas& image) const {
  if (!wskaz_.pokazStan) return;
  const Wskaz& w = wskaz_;
  std::vector<std::string> rows;
  rows.push_back("Wskaz:");
  rows.push_back(CutToCharacters("Polecenie : " + w.Polecenie, 22));
  const auto point = [&](std::string_view label, Point p) {
    if (p.x > -999) rows.push_back(std::string(label) + FormatXY(p.x, p.y));
  };
  const auto flag = [&](bool on, std::string_view label) {
    if (on) rows.push_back(std::string(label) + "TAK");
  };
  flag(w.szukaj, "szukaj = ");
  flag(w.szukajR, "szukajR = ");
  flag(w.szukajA1, "szukajA1 = ");
  flag(w.szukajA2, "szukajA2 = ");
  flag(w.szukajP0, "szukajP0 = ");
  point("Wskaz.p0 = ", w.p0);
  flag(w.szukajP1, "szukajP1 = ");
  point("Wskaz.P1 = ", w.P1);
  flag(w.szukajP2, "szukajP2 = ");
  point("Wskaz.P2 = ", w.P2);
  if (w.maOrto) rows.push_back("Wskaz.ORTOJest = " + FormatXY(w.ORTOJest.x, w.ORTOJest.y));
  if (w.SzukTekst) rows.push_back("SzukTekst = TAK");
  int y = 10;
  for (const std::string& row : rows) {
    image.Text(250, y, row, TextStyle{0x000000, kYellow, 0});
    y += 14;
  }
}

}  // namespace blok
