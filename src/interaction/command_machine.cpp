#include "interaction/command_machine.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "interaction/commands/common.h"
#include "interaction/commands/direct_entry.h"
#include "interaction/commands/insert.h"
#include "interaction/commands/registry.h"
#include "interaction/typed_input.h"
#include "model/cp1250.h"
#include "model/numbers.h"
#include "view/previews.h"

namespace blok {
namespace {

constexpr std::string_view kUnknownEntry = "         <- nieznane polecenie.";
constexpr std::string_view kNoFile =
    "Stworz nowy plik bloków (menu Pliki/Nowy plik) lub otwórz plik bloków (menu Pliki/Otworz "
    "plik)";
constexpr size_t kMaxMessage = 255;

constexpr Colour kFramePen = 0xFA3232;
constexpr Colour kFrameHatch = 0xC89696;

}  // namespace

const Wskaz& CommandMachine::wskaz() const {
  state_ = Wskaz{};
  state_.pokazStan = pokaz_stan_;
  if (!running_) return state_;
  const Awaited awaited = running_->Awaits();
  state_.szukajP0 = awaited == Awaited::kCentre;
  state_.szukajP1 = awaited == Awaited::kFirstPoint;
  state_.szukajP2 = awaited == Awaited::kSecondPoint;
  state_.szukajR = awaited == Awaited::kRadius;
  state_.szukajA1 = awaited == Awaited::kAngle;
  state_.szukajA2 = awaited == Awaited::kEndAngle;
  state_.SzukTekst = awaited == Awaited::kText;
  running_->Describe(state_);
  return state_;
}

Awaited CommandMachine::awaits() const { return running_ ? running_->Awaits() : Awaited::kNothing; }

// --- Reset, prompt ---

void CommandMachine::AnulujPolecenie() {
  // The command may be the one calling: it lives until its event is over.
  if (running_) retired_ = std::move(running_);
  ctx_.EndFrame();
  ctx_.ForgetGathered();
  host_.selection().count = 0;
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

Taken CommandMachine::WykonajPolecenie(const std::string& entry, bool from_control) {
  // Empty Enter ends a selection that Shift gathered, as a release catching nothing new would.
  if (entry.empty() && Selecting() && ctx_.HasGathered()) {
    ctx_.TakeGathered(true);
    Release(press_.x, press_.y);
    ctx_.TakeGathered(false);
    return Taken::kQuietly;
  }
  const std::string upper = UpperCp1250(entry);
  Reply reply;
  const CommandRow* row = FindCommand(upper);
  if (row != nullptr && row->act != nullptr) row->act(host_);
  if (!host_.BlockOpen()) {
    reply = Reply::Said(std::string(kNoFile));
  } else {
    // A control's text is a command, never the value a step waits for; nor is a typed keyword,
    // unless the step takes free text or claims the keyword as its switch: a step that refuses
    // what it cannot read would otherwise keep running under the new command.
    const bool claimed = !from_control && running_ && running_->Claims(upper);
    const bool offered = !from_control && (row == nullptr || awaits() == Awaited::kText || claimed);
    if (offered && running_) reply = running_->Typed(entry);
    if (reply.taken == Taken::kWithMessage) {
      reply.message = CutToCharacters(reply.message, kMaxMessage);
    } else {
      AnulujPolecenie();
      // As after Esc: the abandoned step's label or preview would stay until the mouse moves.
      host_.surface().RestoreView();
    }
    if (row != nullptr && !claimed) reply = Reply::Said(StartCommand(*row));
    if (auto direct = DirectEntry(ctx_, entry)) reply = std::move(*direct);
    if (upper == "WSKAZ?") {
      pokaz_stan_ = !pokaz_stan_;
      host_.Redraw();
      if (reply.taken == Taken::kUnknown) reply.taken = Taken::kQuietly;
    }
  }
  if (reply.taken == Taken::kUnknown) {
    host_.Komunikat(entry + std::string(kUnknownEntry));
  } else {
    // Taken, so echoed and remembered.
    host_.SetOstatniePolecenie(entry);
    host_.Komunikat(entry);
    if (reply.taken == Taken::kWithMessage) host_.Komunikat(std::move(reply.message));
  }
  if (IsPoint(awaits())) Monit(" X , Y");
  return reply.taken;
}

std::optional<std::string> CommandMachine::Complete(std::string_view typed) const {
  if (!Runs("WB") || awaits() != Awaited::kText) return CompleteKeyword(typed);
  return CompleteName(typed, host_.BlockNames());
}

void CommandMachine::DropBlock(const std::string& name, int x, int y) {
  AnulujPolecenie();
  host_.surface().RestoreView();
  if (!host_.BlockOpen()) return host_.Komunikat(std::string(kNoFile));
  InsertDroppedBlock(ctx_, name, x, y);
}

bool CommandMachine::Runs(std::string_view upper_keyword) const {
  return running_ != nullptr && running_row_ == FindCommand(upper_keyword);
}

std::string CommandMachine::StartCommand(const CommandRow& row) {
  if (row.make != nullptr) {
    if (running_) retired_ = std::move(running_);
    running_ = row.make(ctx_);
    running_row_ = &row;
    // A command may refuse to start, having said why.
    if (!running_) return std::string("Anulowano.");
    if (row.pick_cursor) host_.SetPickCursor(true);
  }
  return std::string(row.message);
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
  if (running_) running_->Relative(dx, dy);
  host_.Redraw();
}

// --- Mouse ---

void CommandMachine::Press(int x, int y, bool adding) {
  ctx_.SetAdding(adding);
  if (Selecting()) {
    ctx_.StartFrame(x, y);
    const Point p = ctx_.Raw(x, y);
    ctx_.Label(x, y - 12,
               "X=" + commands::Fixed(p.x, "0.00") + " Y=" + commands::Fixed(p.y, "0.00"));
  }
  if (running_) running_->Press(x, y);
  press_ = {x, y};
}

void CommandMachine::Release(int x, int y, bool adding) {
  if (!Selecting()) return;
  ctx_.SetAdding(adding);
  if (running_->Release(x, y) == Released::kFinished) return;
  ctx_.EndFrame();
  host_.surface().RestoreView();
  if (Selecting()) ctx_.ShowGathered();
  if (IsPoint(awaits())) Monit(" X , Y");
}

void CommandMachine::DoubleClick() {
  const int index = ctx_.Pick(press_.x, press_.y);
  if (index >= 0) host_.OpenEntityEditor(index);
  host_.surface().RestoreView();
}

void CommandMachine::Move(int x, int y) {
  if (ctx_.framing()) {
    // The selection frame from the press to the cursor.
    const PixelPoint start = ctx_.frame_start();
    host_.surface().RestoreView();
    Canvas& canvas = host_.surface().OverlayCanvas();
    canvas.SetPenStyle(PenStyle::kSolid);
    canvas.SetPenColour(kFramePen);
    canvas.SetPenWidth(1);
    canvas.SetBrushColour(kFrameHatch);
    canvas.SetBrushStyle(BrushStyle::kDiagonalCross);
    canvas.Rectangle(std::min(start.x, x), std::min(start.y, y), std::max(start.x, x),
                     std::max(start.y, y));
  } else if (running_) {
    running_->Preview(x, y);
  }
  // The hover highlight and the frame wipe the overlay: what Shift gathered is shown again.
  if (Selecting()) ctx_.ShowGathered();
}

// --- The state overlay ---

void CommandMachine::DrawStateOverlay(Canvas& image) const {
  if (!pokaz_stan_) return;
  const Wskaz& w = wskaz();
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
    image.Text(250, y, row, TextStyle{0x000000, commands::kYellow, 0});
    y += 14;
  }
}

}  // namespace blok
