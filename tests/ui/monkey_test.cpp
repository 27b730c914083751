// A hurried user at the real window: a seeded random sequence of everything the window takes
// through its controls (commands typed by keyword, values good and bad, points, texts with
// Polish letters, apostrophes and letters the code page cannot hold, clicks and drags at
// random pixels with Shift or not, the snaps, grid and ortho, the dx/dy fields, Esc, Enter,
// Cofnij and Naprzód, the source rows, the browser's filter, paste, a library block inserted,
// loading, starting and saving blocks) with every modal dialog answered at random. After every
// action: no dialog is left open, every line of the drawing reads as an entity, unless the
// block came with it or the user typed it into the source rows, and the records the journal
// gained make exactly the change the drawing shows. Every hundred actions and at the end: undoing
// everything gives the block as it came, redoing everything the newest drawing. After a save:
// the library gives back the lines saved.
//
// BLOK_MONKEY_SEED and BLOK_MONKEY_ACTIONS choose the run (scripts/monkey runs many). A failure
// prints the seed and the shortest list of actions found that still fails.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/journal.h"
#include "interaction/commands/registry.h"
#include "model/cp1250.h"
#include "model/parsed_entity.h"
#include "ui/window_fixture.h"

namespace blok::testing {
namespace {

constexpr size_t kLongestJournalChecked = 5000;  // records

enum class Act {
  kCommand,
  kValue,
  kClick,
  kDrag,
  kSwitch,
  kDxDy,
  kEscape,
  kRepeat,
  kUndo,
  kRedo,
  kRows,
  kRowEdit,
  kFilter,
  kLoad,
  kNewBlock,
  kSave,
  kPaste,
  kInsert,
  kKinds
};

// One action with all its chance drawn beforehand, so that a list of them replays alike.
struct Action {
  Act act = Act::kCommand;
  int a = 0, b = 0, c = 0, d = 0;
  bool shift = false;
  std::string text;
  uint32_t dialogs = 0;  // the seed of the answers to the dialogs it opens
};

// Texts a hurried user types: numbers good and bad, points, words with Polish letters and
// apostrophes, letters the code page 1250 cannot hold, nothing.
std::string Typed(std::mt19937& random) {
  static const char* const kTexts[] = {
      "1",   "0",    "-3,5",   "2.25",       "1e9",     "abc",    "10,10", "@2,0",    "@1<45",
      "<30", "3,-2", "Zażółć", "d'Artagnan", "Łódź ąę", "中文",   "€ß",    "x,y",     ",",
      "",    " ",    "'",      "1,2,3",      "-0",      "1e-300", "@,",    "9999999", "Ąą'ś'"};
  std::string text = kTexts[random() % std::size(kTexts)];
  if (random() % 4 == 0) text += kTexts[random() % std::size(kTexts)];
  return text;
}

Action Draw(std::mt19937& random) {
  Action action;
  action.act = static_cast<Act>(random() % static_cast<int>(Act::kKinds));
  // Clicks and drags come most, as they do at the window.
  if (random() % 3 == 0) action.act = random() % 2 == 0 ? Act::kClick : Act::kValue;
  action.a = static_cast<int>(random() % 1000);
  action.b = static_cast<int>(random() % 1000);
  action.c = static_cast<int>(random() % 1000);
  action.d = static_cast<int>(random() % 1000);
  action.shift = random() % 4 == 0;
  action.text = Typed(random);
  action.dialogs = random();
  return action;
}

const char* Name(Act act) {
  static const char* const kNames[] = {"command", "value",    "click",  "drag", "switch",
                                       "dxdy",    "escape",   "repeat", "undo", "redo",
                                       "rows",    "row edit", "filter", "load", "new block",
                                       "save",    "paste",    "insert"};
  return kNames[static_cast<int>(act)];
}

std::string Describe(const Action& a) {
  return std::string(Name(a.act)) + " " + std::to_string(a.a) + " " + std::to_string(a.b) + " " +
         std::to_string(a.c) + " " + std::to_string(a.d) + (a.shift ? " shift" : "") + " '" +
         a.text + "'";
}

// Answers whatever modal dialog comes, at random: a file dialog with the library or cancelled,
// a question or message by any of its buttons, any other form applied or left.
class RandomDialogs {
 public:
  explicit RandomDialogs(std::filesystem::path library) : library_(std::move(library)) {
    timer_.setInterval(2);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  void Reseed(uint32_t seed) { random_.seed(seed); }
  int answered() const { return answered_; }

 private:
  // The answer is given from the event loop, not from the timer: an answer that opens another
  // dialog (a message over a form) must leave the timer free to answer that one too.
  void Poll() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (pending_ || dialog == nullptr || !dialog->isVisible()) return;
    pending_ = true;
    QTimer::singleShot(0, [this, target = QPointer<QDialog>(dialog)] {
      pending_ = false;
      if (target && target->isVisible()) Answer(*target);
    });
  }

  void Answer(QDialog& dialog) {
    ++answered_;
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
      if (random_() % 3 == 0) return files->reject();
      files->selectFile(QString::fromStdString(library_.string()));
      dialog.accept();  // QFileDialog's own accept checks the name, as its Open button does
    } else {
      std::vector<QPushButton*> buttons;
      for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isVisible() && button->isEnabled()) buttons.push_back(button);
      }
      if (buttons.empty() || random_() % 8 == 0) {
        dialog.reject();
      } else {
        buttons[random_() % buttons.size()]->click();
      }
    }
    // A form that refused what it was given stays open: the way out, or another answer.
    if (dialog.isVisible() && random_() % 2 == 0) dialog.reject();
  }

  std::filesystem::path library_;
  QTimer timer_;
  std::mt19937 random_;
  int answered_ = 0;
  bool pending_ = false;
};

// The window on a program directory of its own with the sample library open, and what the
// checks need to remember between actions.
class Monkey {
 public:
  Monkey() : window_(ShownWindow(dir_, library_)) {
    window_->OpenGivenFile(QString::fromStdString(library_.string()), "Hydrant");
    QCoreApplication::processEvents();
    Started();
  }

  // Does the action and checks what must hold after it: empty, or what failed.
  std::string Do(const Action& action) {
    dialogs_.Reseed(action.dialogs);
    const bool was_unsaved = window_->editor().block().unsaved();
    const std::vector<std::string> before = Lines();
    const Journal& journal = window_->editor().block().journal();
    // A journal grown long (an array of thousands) is not copied at every action: its check
    // waits for the next block.
    const bool checked = journal.record_count() <= kLongestJournalChecked;
    const std::vector<std::string> journal_before =
        checked ? journal.lines() : std::vector<std::string>{};
    const int32_t position_before = journal.position();
    Perform(action);
    QCoreApplication::processEvents();
    if (QApplication::activeModalWidget() != nullptr) return "a dialog was left open";
    const EditedBlock& block = window_->editor().block();
    const std::vector<std::string> now = Lines();
    changes_ += now != before;
    inserts_ += action.act == Act::kInsert && now.size() > before.size();
    if (!block.journal().CanUndo() && !block.journal().CanRedo()) {
      Started();
    } else if (checked && block.journal().record_count() <= kLongestJournalChecked) {
      if (std::string wrong = JournalFits(before, now, journal_before, position_before);
          !wrong.empty()) {
        return wrong;
      }
    }
    for (const std::string& line : now) {
      const ParsedEntity entity = ParseEntity(line);
      if ((entity.kind == EntityKind::kNone || !entity.valid()) && !raw_.contains(line)) {
        return "a line that does not read: " + line;
      }
    }
    // A block with changes that the save left without: it is in the library as it stands.
    if (action.act == Act::kSave && was_unsaved && !block.unsaved()) {
      ++saves_;
      const auto saved = WczytajBlok(library_, block.block_name());
      if (!saved || !*saved) return "the block saved is not in the library";
      // A last line of one character or none is taken for the trailing line end a block's
      // text used to carry, and is not written.
      std::vector<std::string> written = now;
      if (!written.empty() && CharacterCount(written.back()) <= 1) written.pop_back();
      if ((*saved)->lines != written) {
        return "the library gives back other lines than saved: " + Difference((*saved)->lines);
      }
    }
    return {};
  }

  // What the run did, for its report.
  std::string Summary() const {
    return std::to_string(changes_) + " actions changed the drawing, " +
           std::to_string(dialogs_.answered()) + " dialogs answered, " + std::to_string(saves_) +
           " saves, " + std::to_string(inserts_) + " blocks inserted";
  }

  // Everything taken back gives the block as it came; everything made again, the newest.
  std::string UndoAndRedo() {
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
    const EditedBlock& block = window_->editor().block();
    auto* undo = window_->findChild<QAction*>("M_Cofnij");
    auto* redo = window_->findChild<QAction*>("M_Naprzod");
    for (int i = 0; i < 100000 && block.journal().CanRedo(); ++i) redo->trigger();
    const std::vector<std::string> newest = Lines();
    for (int i = 0; i < 100000 && block.journal().CanUndo(); ++i) undo->trigger();
    if (Lines() != start_) return "undoing everything does not give the block as it came";
    for (int i = 0; i < 100000 && block.journal().CanRedo(); ++i) redo->trigger();
    if (Lines() != newest) return "redoing everything does not give the newest drawing";
    QCoreApplication::processEvents();
    return {};
  }

 private:
  template <typename T>
  T* Find(const char* name) {
    return window_->findChild<T*>(name);
  }
  std::vector<std::string> Lines() {
    const auto lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  // Where these lines part from the drawing's.
  std::string Difference(const std::vector<std::string>& other) {
    const std::vector<std::string> lines = Lines();
    size_t i = 0;
    while (i < lines.size() && i < other.size() && lines[i] == other[i]) ++i;
    const auto at = [i](const std::vector<std::string>& v) {
      return i < v.size() ? "'" + v[i] + "'" : std::string("nothing");
    };
    return "line " + std::to_string(i) + " is " + at(other) + ", the drawing has " + at(lines) +
           " (" + std::to_string(other.size()) + " and " + std::to_string(lines.size()) + " lines)";
  }

  // Every change of the drawing went through the journal, and the records it gained make exactly
  // that change: applied to the lines before, oldest first, they give the lines now.
  std::string JournalFits(const std::vector<std::string>& before,
                          const std::vector<std::string>& now,
                          const std::vector<std::string>& old_text, int32_t old_position) {
    const Journal& journal = window_->editor().block().journal();
    const std::vector<std::string> text = journal.lines();
    if (text == old_text) {
      if (journal.position() != old_position) return {};  // a step back or forth
      return now == before ? "" : "a change the journal did not record";
    }
    if (journal.position() != 0) return {};  // records made and taken back in one action
    // Records undone before are dropped by a new one; the rest stay below the new ones.
    const auto kept = old_text.begin() + old_position;
    const auto kept_count = static_cast<size_t>(old_text.end() - kept);
    if (text.size() < kept_count || !std::equal(kept, old_text.end(), text.end() - kept_count)) {
      return {};  // another block and its own journal
    }
    // Added lines go in at the top.
    std::deque<std::string> lines(before.begin(), before.end());
    constexpr size_t kRecord = Journal::kRecordLines;
    for (size_t end = text.size() - kept_count; end >= kRecord; end -= kRecord) {
      const std::string* record = &text[end - kRecord];
      if (record[0] == "dodaj") {
        lines.push_front(record[1]);
        continue;
      }
      const size_t index = std::stoul(record[1]);
      const std::string& was = record[0] == "usun" ? record[2] : record[3];
      if (index >= lines.size() || lines[index] != was) {
        return "a journal record of a line the drawing did not have: " + record[0] + " " +
               record[1] + " '" + was + "'";
      }
      if (record[0] == "usun") {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
      } else {
        lines[index] = record[2];
      }
    }
    if (!std::ranges::equal(lines, now)) {
      return "the journal's records do not make the change: " +
             Difference({lines.begin(), lines.end()});
    }
    return {};
  }

  void Started() {
    start_ = Lines();
    raw_.insert(start_.begin(), start_.end());
  }
  QPoint Pixel(int a, int b) {
    PaintBox& box = window_->podglad();
    return {a * box.width() / 1000, b * box.height() / 1000};
  }
  void Enter(const std::string& text) {
    auto* entry = Find<QLineEdit>("E_Polecenie");
    entry->setText(QString::fromStdString(text));
    QTest::keyClick(entry, Qt::Key_Return);
  }

  void Perform(const Action& x) {
    PaintBox& box = window_->podglad();
    const Qt::KeyboardModifiers shift = x.shift ? Qt::ShiftModifier : Qt::NoModifier;
    switch (x.act) {
      case Act::kCommand: {
        const auto commands = Commands();
        return Enter(ControlText(commands[static_cast<size_t>(x.a) % commands.size()]));
      }
      case Act::kValue:
        return Enter(x.text);
      case Act::kClick: {
        const QPoint p = Pixel(x.a, x.b);
        QTest::mouseMove(&box, p);
        QTest::mouseClick(&box, x.c % 5 == 0 ? Qt::RightButton : Qt::LeftButton, shift, p);
        return;
      }
      case Act::kDrag: {
        const QPoint from = Pixel(x.a, x.b);
        const QPoint to = Pixel(x.c, x.d);
        QTest::mousePress(&box, Qt::LeftButton, shift, from);
        QTest::mouseMove(&box, (from + to) / 2);
        QTest::mouseMove(&box, to);
        QTest::mouseRelease(&box, Qt::LeftButton, shift, to);
        return;
      }
      case Act::kSwitch: {
        static const char* const kSwitches[] = {
            "CB_Koniec",  "CB_Srodek",     "CB_Przeciecie", "CB_Centrum", "CB_Prosto",
            "CB_Styczny", "CB_Najblizszy", "CB_Kwadrant",   "CB_Siatka",  "CB_Orto"};
        if (auto* box = Find<QCheckBox>(kSwitches[x.a % std::size(kSwitches)])) box->click();
        return;
      }
      case Act::kDxDy: {
        Find<QLineEdit>("E_dx")->setText(QString::fromStdString(x.text));
        Find<QLineEdit>("E_dy")->setText(QString::number((x.b % 21) - 10));
        if (auto* button = Find<QPushButton>("B_Wprowadz_dxdy"); button && button->isVisible()) {
          button->click();
        }
        return;
      }
      case Act::kEscape:
        return QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
      case Act::kRepeat:
        return Enter(" ");
      case Act::kUndo:
        return window_->findChild<QAction*>("M_Cofnij")->trigger();
      case Act::kRedo:
        return window_->findChild<QAction*>("M_Naprzod")->trigger();
      case Act::kRows:
        return Find<QPushButton>("B_Zrodlo")->click();
      case Act::kRowEdit: {
        auto* rows = Find<QListView>("Polecenia");
        if (rows == nullptr || !rows->isVisible() || rows->model()->rowCount() == 0) return;
        const int row = x.a % rows->model()->rowCount();
        // A row typed over is the user's own line, read or not.
        if (rows->model()->setData(rows->model()->index(row, 0), QString::fromStdString(x.text))) {
          raw_.insert(x.text);
        }
        return;
      }
      case Act::kFilter:
        return Find<QLineEdit>("E_FiltrBlokow")->setText(QString::fromStdString(x.text));
      case Act::kLoad: {
        auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
        if (list->count() == 0) return;
        list->setCurrentRow(x.a % list->count());
        return Find<QPushButton>("B_WczytajBlok")->click();
      }
      case Act::kNewBlock:
        if (auto* button = Find<QPushButton>("Bt_NowyBlok"); button->isEnabled()) button->click();
        if (x.b % 2 == 0) {
          Find<QLineEdit>("E_NazwaBloku")->setText(QString::fromStdString("Małpa " + x.text));
        }
        return;
      case Act::kSave:
        if (auto* button = Find<QPushButton>("Bt_ZapiszBlok"); button->isEnabled()) {
          button->click();
        }
        return;
      case Act::kPaste:
        QApplication::clipboard()->setText(
            QString::fromStdString(x.a % 2 == 0 ? "O(1,1,2)\nL(0,0)-(3,3)\n" + x.text : x.text));
        return window_->findChild<QAction*>("M_Wklej")->trigger();
      case Act::kInsert: {
        // A library block at a point, scaled and turned as typed: the one chosen in the list,
        // or with none chosen, by its name.
        auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
        const bool by_name = x.shift || list->count() == 0;
        const std::string name =
            list->count() == 0 ? x.text : list->item(x.a % list->count())->text().toStdString();
        list->setCurrentRow(by_name ? -1 : x.a % list->count());
        Enter("wb");
        if (by_name) Enter(name);
        const QPoint p = Pixel(x.b, x.c);
        QTest::mouseMove(&box, p);
        QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, p);
        static const char* const kScales[] = {"", "2", "0,5", "-1", "1e40"};
        Enter(kScales[x.d % std::size(kScales)]);
        if (x.b % 3 == 0) return Enter(x.text);
        const QPoint turn = Pixel(x.d, x.a);
        QTest::mouseMove(&box, turn);
        QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, turn);
        return;
      }
      case Act::kKinds:
        return;
    }
  }

  // Must outlive the window: its last dialogs can come while it closes.
  TestDir dir_;
  std::filesystem::path library_ = dir_ / "Bloki" / "przyklad.blk";
  RandomDialogs dialogs_{library_};
  std::unique_ptr<TPodgladRysowanie> window_;
  std::vector<std::string> start_;
  std::set<std::string> raw_;  // lines the block came with or the user typed as rows
  int changes_ = 0;
  int saves_ = 0;
  int inserts_ = 0;
};

// Runs the actions in a fresh window: the index of the first that failed and why, or none.
std::pair<size_t, std::string> Replay(const std::vector<Action>& actions,
                                      std::string* summary = nullptr) {
  Monkey monkey;
  for (size_t i = 0; i < actions.size(); ++i) {
    std::string failed = monkey.Do(actions[i]);
    if (failed.empty() && (i % 100 == 99 || i + 1 == actions.size())) failed = monkey.UndoAndRedo();
    if (!failed.empty()) return {i, failed};
  }
  if (summary != nullptr) *summary = monkey.Summary();
  return {actions.size(), {}};
}

// The shortest list found that still fails the same way: halves, then ever smaller pieces,
// taken out while the failure stays.
std::vector<Action> Shrink(std::vector<Action> actions, const std::string& failure) {
  // Two minutes at most: a long list replays slowly.
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  const auto in_time = [&] { return std::chrono::steady_clock::now() < end; };
  for (size_t piece = actions.size() / 2; piece >= 1 && in_time(); piece /= 2) {
    for (size_t at = 0; at + piece <= actions.size() && in_time();) {
      std::vector<Action> fewer = actions;
      fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                  fewer.begin() + static_cast<std::ptrdiff_t>(at + piece));
      const auto [index, failed] = Replay(fewer);
      if (failed == failure) {
        fewer.resize(index + 1);
        actions = std::move(fewer);
      } else {
        at += piece;
      }
    }
  }
  return actions;
}

long FromEnvironment(const char* name, long otherwise) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::strtol(value, nullptr, 10) : otherwise;
}

TEST(MonkeyTest, AHurriedUserBreaksNothing) {
  const auto seed = static_cast<uint32_t>(FromEnvironment("BLOK_MONKEY_SEED", 20261210));
  const auto count = static_cast<size_t>(FromEnvironment("BLOK_MONKEY_ACTIONS", 2000));
  std::mt19937 random(seed);
  std::vector<Action> actions;
  while (actions.size() < count) {
    actions.push_back(Draw(random));
    // A command is mostly followed by the points it asks for, as a user gives them.
    if (actions.back().act != Act::kCommand) continue;
    for (int points = static_cast<int>(random() % 5); points > 0; --points) {
      Action click = Draw(random);
      click.act = random() % 4 == 0 ? Act::kValue : Act::kClick;
      click.c = 1;  // the left button
      actions.push_back(click);
    }
  }
  actions.resize(count);
  std::string summary;
  const auto [index, failed] = Replay(actions, &summary);
  std::cout << "monkey: seed " << seed << ", " << std::min(index + 1, count) << " actions; "
            << summary << "\n";
  if (failed.empty()) return;
  actions.resize(index + 1);
  const std::vector<Action> shortest = Shrink(actions, failed);
  std::string list;
  for (const Action& action : shortest) list += "  " + Describe(action) + "\n";
  ADD_FAILURE() << "seed " << seed << ", action " << index << ": " << failed << "\nshortest ("
                << shortest.size() << " actions):\n"
                << list;
}

}  // namespace
}  // namespace blok::testing
