// The entity dialogs and "Zmiana cech" as the user meets them: found and filled through their
// object names, shown modally over a model, answered while they run.
#include "ui/entity_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <deque>
#include <vector>

#include "model/entity_reader.h"
#include "ui/modal_dialogs.h"

namespace blok {
namespace {

using testing::ModalDialogs;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;

template <typename T>
T* Child(QWidget& dialog, const char* name) {
  T* found = dialog.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Types into a field as a user does: what was there is selected and typed over.
void Type(QWidget& dialog, const char* field, const QString& text) {
  QLineEdit* edit = Child<QLineEdit>(dialog, field);
  if (edit == nullptr) return;
  edit->selectAll();
  // Key clicks know ASCII only; other letters come in as a keyboard's input method gives them.
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 128;
  if (ascii) {
    QTest::keyClicks(edit, text);
  } else {
    edit->insert(text);
  }
}

void TypeInCombo(QWidget& dialog, const char* combo, const QString& text) {
  auto* box = Child<QComboBox>(dialog, combo);
  if (box == nullptr) return;
  box->lineEdit()->selectAll();
  QTest::keyClicks(box->lineEdit(), text);
}

void Press(QWidget& dialog, const char* button) {
  if (auto* found = Child<QPushButton>(dialog, button)) found->click();
}

// Presses a button of a running dialog whose refusal shows a message box; the box's text.
// The outer answer's timer does not fire again while it runs, so the box needs a watcher of
// its own.
QString PressAndReadRefusal(QWidget& dialog, const char* button) {
  ModalDialogs boxes;
  boxes.Expect(ModalDialogs::Accept());
  Press(dialog, button);
  return boxes.shown().empty() ? QString() : boxes.shown()[0].text;
}

// Presses a button that must not show anything: a box would fail the test, not hang it.
void PressQuietly(QWidget& dialog, const char* button) {
  ModalDialogs none;
  Press(dialog, button);
}

// The colour dialog, answered from a queue; the preset of each call is kept.
struct ScriptedColours {
  std::deque<std::optional<Colour>> answers;
  std::vector<Colour> presets;

  ColourChooser Chooser() {
    return [this](QWidget*, Colour initial) -> std::optional<Colour> {
      presets.push_back(initial);
      if (answers.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
      }
      const auto answer = answers.front();
      answers.pop_front();
      return answer;
    };
  }
};

struct Control {
  const char* name;
  QString caption;  // a button's, check box's or group's caption; empty: not checked
};

QString CaptionOf(QWidget& dialog, const char* name) {
  QObject* child = dialog.findChild<QObject*>(name);
  if (auto* button = qobject_cast<QAbstractButton*>(child)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(child)) return group->title();
  if (auto* label = qobject_cast<QLabel*>(child)) return label->text();
  return {};
}

QStringList Items(QWidget& dialog, const char* combo) {
  QStringList items;
  if (auto* box = Child<QComboBox>(dialog, combo)) {
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  }
  return items;
}

class EntityDialogsTest : public ::testing::Test {
 protected:
  ScriptedColours colours_;
  ModalDialogs dialogs_;
};

TEST_F(EntityDialogsTest, NamesCaptionsAndItems) {
  TLinieEdycja lines(colours_.Chooser());
  TOkragEdycja circles(colours_.Chooser());
  TTekstyEdycja texts(colours_.Chooser());
  TEdycjaCech properties(colours_.Chooser());
  struct Case {
    QDialog* dialog;
    QString name, title;
    std::vector<Control> controls;
  };
  const std::vector<Control> style = {
      {"Shape", ""}, {"CBGrubosci", ""}, {"wprowadz", "Wprowadź"}, {"Powrot", "Powrót"}};
  const auto with_style = [&](std::vector<Control> controls) {
    controls.insert(controls.end(), style.begin(), style.end());
    return controls;
  };
  const Case cases[] = {
      {&lines, "LinieEdycja", "Dodawanie edycja linii (prostokatów)",
       with_style({{"typ", "........"},
                   {"nr", "-1"},
                   {"E_x1", ""},
                   {"E_y1", ""},
                   {"E_x2", ""},
                   {"E_y2", ""}})},
      {&circles, "OkragEdycja", "Okrag edycja",
       with_style({{"typ", "........"},
                   {"nr", "-1"},
                   {"E_x1", ""},
                   {"E_y1", ""},
                   {"E_r", ""},
                   {"GrupaKaty", "Łuk kąty"},
                   {"E_ks", ""},
                   {"E_kk", ""}})},
      {&texts, "TekstyEdycja", "TekstyEdycja",
       with_style({{"nr", "-1"},
                   {"Tekst", ""},
                   {"E_X", ""},
                   {"E_y", ""},
                   {"Rozmiar", ""},
                   {"Szerokosc", ""},
                   {"RBPoziom", "Poziomo   0 [st.]"},
                   {"RBPion", "Pionowo  90 [st.]"},
                   {"RBRecznie", "Ręcznie"},
                   {"Kat", ""}})},
      {&properties,
       "EdycjaCech",
       "Zmiana cech",
       {{"CB_Kol", "Kolor ............."},
        {"S_kol", ""},
        {"CB_Gr", "Grubość ........."},
        {"CBGrubosci", ""},
        {"CB_Ht", "Wysokość tekstu"},
        {"CBHTekstu", ""},
        {"CB_St", "Szerokość tekstu"},
        {"CBSTekstu", ""},
        {"B_Wykonaj", "Wykonaj"},
        {"B_rezygnuj", "Rezygnuj"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.dialog->objectName(), c.name);
    EXPECT_EQ(c.dialog->windowTitle(), c.title);
    for (const Control& control : c.controls) {
      EXPECT_NE(c.dialog->findChild<QWidget*>(control.name), nullptr)
          << c.name.toStdString() << " " << control.name;
      if (!control.caption.isEmpty()) {
        EXPECT_EQ(CaptionOf(*c.dialog, control.name), control.caption) << control.name;
      }
    }
  }
  // The hidden labels are no part of the look.
  EXPECT_FALSE(Child<QLabel>(lines, "typ")->isVisibleTo(&lines));
  EXPECT_FALSE(Child<QLabel>(texts, "nr")->isVisibleTo(&texts));

  const QStringList thicknesses = {"0,10", "0,12", "0,15", "0,18", "0,20", "0,25", "0,30",
                                   "0,35", "0,50", "0.60", "0,70", "0.80", "1.00"};
  EXPECT_EQ(Items(lines, "CBGrubosci"), thicknesses);
  EXPECT_EQ(Items(circles, "CBGrubosci"), thicknesses);
  EXPECT_EQ(Items(texts, "CBGrubosci"), QStringList{"0.1*rozmiar"} + thicknesses);
  EXPECT_EQ(Items(properties, "CBGrubosci"),
            (QStringList{"0,10", "0,12", "0,15", "0,18", "0,20", "0,25", "0,30", "0,35", "0,50",
                         "0.60", "0,70", "0,80", "1.00"}));
  const QStringList sizes = {"0,20", "0,25", "0,30", "0,35", "0,50", "0,60",
                             "0,70", "0,80", "1,00", "1,50", "2,00"};
  EXPECT_EQ(Items(properties, "CBHTekstu"), sizes);
  EXPECT_EQ(Items(properties, "CBSTekstu"), sizes);
  // The starting texts.
  EXPECT_EQ(Child<QComboBox>(lines, "CBGrubosci")->currentText(), "0.1");
  EXPECT_EQ(Child<QLineEdit>(texts, "Rozmiar")->text(), "1");
  EXPECT_EQ(Child<QLineEdit>(texts, "Szerokosc")->text(), "1");
  EXPECT_EQ(Child<QLineEdit>(texts, "Kat")->text(), "0");
  EXPECT_TRUE(Child<QRadioButton>(texts, "RBPoziom")->isChecked());
  EXPECT_EQ(Child<QComboBox>(properties, "CBGrubosci")->currentText(), "0,10");
  EXPECT_EQ(Child<QComboBox>(properties, "CBHTekstu")->currentText(), "0,60");
  EXPECT_EQ(Child<QComboBox>(properties, "CBSTekstu")->currentText(), "0,50");
}

TEST_F(EntityDialogsTest, LineDialogShowsTheEntityAndWritesWhatIsTyped) {
  TLinieEdycja dialog(colours_.Chooser());
  LineDialogModel model;
  model.Fill(ReadSegment("P(0,0)-(12.5,-3);K(255,0,0);GR(0,25)", ReadingDefaults{}), 6);
  colours_.answers = {kBlue};
  dialogs_.Expect([](QDialog& d) {
    EXPECT_EQ(Child<QLabel>(d, "typ")->text(), "P");
    EXPECT_EQ(Child<QLabel>(d, "nr")->text(), "6");
    EXPECT_EQ(Child<QLineEdit>(d, "E_x2")->text(), "12,5");
    EXPECT_EQ(Child<QLineEdit>(d, "E_y2")->text(), "-3");
    EXPECT_EQ(Child<QComboBox>(d, "CBGrubosci")->currentText(), "0,25");
    Type(d, "E_x1", "1.5");
    TypeInCombo(d, "CBGrubosci", "0.60");
    QTest::mouseClick(Child<QLabel>(d, "Shape"), Qt::LeftButton);
    Press(d, "wprowadz");
  });
  EXPECT_TRUE(dialog.Edit(model));
  EXPECT_EQ(model.result, "P(1.5,0.0)-(12.5,-3.0);K(0,0,255);GR(0.60)");
  EXPECT_EQ(colours_.presets, std::vector<Colour>{kRed});
  // The thickness box shows the comma afterwards; the form keeps what was typed.
  EXPECT_EQ(Child<QComboBox>(dialog, "CBGrubosci")->currentText(), "0,60");
  EXPECT_EQ(model.x1, "1.5");
}

TEST_F(EntityDialogsTest, ARefusalKeepsTheFormOpenWithTheFieldsAsTyped) {
  TLinieEdycja dialog(colours_.Chooser());
  LineDialogModel model;
  model.Fill(ReadSegment("L(0,0)-(1,1);K(0,0,0);GR(0,10)", ReadingDefaults{}), 0);
  dialogs_.Expect([](QDialog& d) {
    Type(d, "E_y2", "jeden");
    EXPECT_EQ(PressAndReadRefusal(d, "wprowadz"), "\"jeden\" nie jest poprawną liczbą.");
    EXPECT_TRUE(d.isVisible());
    Press(d, "Powrot");
  });
  EXPECT_FALSE(dialog.Edit(model));
  EXPECT_FALSE(model.result);
  EXPECT_EQ(model.y2, "jeden");

  // Opened again, it shows what it was left with, and a fixed field goes through.
  dialogs_.Expect([](QDialog& d) {
    EXPECT_EQ(Child<QLineEdit>(d, "E_y2")->text(), "jeden");
    Type(d, "E_y2", "2,5");
    Press(d, "wprowadz");
  });
  EXPECT_TRUE(dialog.Edit(model));
  EXPECT_EQ(model.result, "L(0,0.0)-(1.0,2.5);K(0,0,0);GR(0,1)");
}

TEST_F(EntityDialogsTest, CircleDialogOffersTheAnglesForAnArcOnly) {
  TOkragEdycja dialog(colours_.Chooser());
  struct Case {
    std::string line;
    bool angles;
    std::string written;
  };
  const Case cases[] = {
      {"O(3,4,1.5);K(0,128,0);GR(0,25)", false, "O(3,4,2);K(0,128,0);GR(0,25)"},
      {"LUK(0,0,1.5,300,30);K(0,0,0);GR(0,10)", true, "LUK(0,0,2,120,30);K(0,0,0);GR(0,1)"},
  };
  for (const auto& c : cases) {
    CircleDialogModel model;
    const EntityRecord record = ReadEntity(c.line, ReadingDefaults{});
    if (const auto* circle = std::get_if<CircleRecord>(&record)) model.Fill(*circle, 1);
    if (const auto* arc = std::get_if<ArcRecord>(&record)) model.Fill(*arc, 1);
    dialogs_.Expect([&](QDialog& d) {
      EXPECT_EQ(Child<QGroupBox>(d, "GrupaKaty")->isEnabled(), c.angles) << c.line;
      EXPECT_EQ(Child<QLineEdit>(d, "E_r")->text(), "1,5");
      Type(d, "E_r", "2");
      if (c.angles) Type(d, "E_ks", "120");
      Press(d, "wprowadz");
    });
    EXPECT_TRUE(dialog.Edit(model)) << c.line;
    EXPECT_EQ(model.result, c.written);
  }
}

TEST_F(EntityDialogsTest, TextDialogAngleButtons) {
  TTekstyEdycja dialog(colours_.Chooser());
  TextDialogModel model;
  model.Fill(ReadText("T(1,2,'Opis',0.6,0.5,90);K(0,0,0);GR(0,10)", ReadingDefaults{}), 3);
  // Confirmed as it opened: upright stays upright.
  dialogs_.Expect([](QDialog& d) {
    EXPECT_EQ(Child<QLineEdit>(d, "Tekst")->text(), "Opis");
    EXPECT_EQ(Child<QLineEdit>(d, "Rozmiar")->text(), "0,6");
    EXPECT_TRUE(Child<QRadioButton>(d, "RBPion")->isChecked());
    EXPECT_FALSE(Child<QLineEdit>(d, "Kat")->isEnabled());
    Press(d, "wprowadz");
  });
  EXPECT_TRUE(dialog.Edit(model));
  EXPECT_EQ(model.result, "T(1,2,'Opis',0.6,0.5,90);K(0,0,0);GR(0,1)");

  dialogs_.Expect([](QDialog& d) {
    QTest::mouseClick(Child<QRadioButton>(d, "RBRecznie"), Qt::LeftButton);
    EXPECT_TRUE(Child<QLineEdit>(d, "Kat")->isEnabled());
    Type(d, "Kat", "12.5");
    Type(d, "Tekst", "Zażółć");
    Press(d, "wprowadz");
  });
  EXPECT_TRUE(dialog.Edit(model));
  EXPECT_EQ(model.result, "T(1,2,'Zażółć',0.6,0.5,12.5);K(0,0,0);GR(0,1)");
  EXPECT_EQ(model.angle_choice, TextAngleChoice::kRecznie);

  // A text the file could not hold stays in the open form.
  dialogs_.Expect([](QDialog& d) {
    Type(d, "Tekst", "a☃");
    EXPECT_EQ(PressAndReadRefusal(d, "wprowadz"),
              "Tekst zawiera znak „☃” (U+2603), którego nie ma w stronie kodowej 1250.");
    Press(d, "Powrot");
  });
  EXPECT_FALSE(dialog.Edit(model));
}

// A straight apostrophe is written as ’, and the form says so below the text as it is typed,
// in the words the command t uses.
TEST_F(EntityDialogsTest, TextDialogSaysWhereTheApostropheIsReplaced) {
  const struct {
    QString typed;
    QString note;
    const char* written;
  } cases[] = {
      {"Ala's", "(apostrof zapisano jako ’)", "T(1,2,'Ala’s',0.6,0.5,0);K(0,0,0);GR(0,1)"},
      {"'x'", "(apostrof zapisano jako ’)", "T(1,2,'’x’',0.6,0.5,0);K(0,0,0);GR(0,1)"},
      {"Ala", "", "T(1,2,'Ala',0.6,0.5,0);K(0,0,0);GR(0,1)"},
      {"Ala’s", "", "T(1,2,'Ala’s',0.6,0.5,0);K(0,0,0);GR(0,1)"},
  };
  TTekstyEdycja dialog(colours_.Chooser());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    TextDialogModel model;
    model.Fill(ReadText("T(1,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0,10)", ReadingDefaults{}), 3);
    dialogs_.Expect([&](QDialog& d) {
      auto* note = Child<QLabel>(d, "L_UwagaTekstu");
      ASSERT_NE(note, nullptr);
      EXPECT_FALSE(note->isVisible());  // nothing to say of the text as it opened
      Type(d, "Tekst", c.typed);
      EXPECT_EQ(note->text(), c.note);
      EXPECT_EQ(note->isVisible(), !c.note.isEmpty());
      Press(d, "wprowadz");
    });
    EXPECT_TRUE(dialog.Edit(model));
    EXPECT_EQ(model.result, c.written);
  }
}

TEST_F(EntityDialogsTest, ChangePropertiesChecksWhatTheUserTouches) {
  TEdycjaCech dialog(colours_.Chooser());
  PropertiesDialogModel model;
  model.colour = kRed;
  model.change_height = true;  // left from last time
  model.Show();
  colours_.answers = {std::nullopt};
  dialogs_.Expect([](QDialog& d) {
    EXPECT_FALSE(Child<QCheckBox>(d, "CB_Ht")->isChecked());
    // Nothing checked: "Wykonaj" does nothing, quietly.
    PressQuietly(d, "B_Wykonaj");
    EXPECT_TRUE(d.isVisible());
    // A cancelled colour dialog still checks "Kolor".
    QTest::mouseClick(Child<QLabel>(d, "S_kol"), Qt::LeftButton);
    EXPECT_TRUE(Child<QCheckBox>(d, "CB_Kol")->isChecked());
    TypeInCombo(d, "CBGrubosci", "0,25");
    EXPECT_TRUE(Child<QCheckBox>(d, "CB_Gr")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(d, "CB_St")->isChecked());
    // Unchecked, yet no number: refused.
    TypeInCombo(d, "CBSTekstu", "abc");
    QTest::mouseClick(Child<QCheckBox>(d, "CB_St"), Qt::LeftButton);
    EXPECT_FALSE(Child<QCheckBox>(d, "CB_St")->isChecked());
    EXPECT_EQ(PressAndReadRefusal(d, "B_Wykonaj"), "\"abc\" nie jest poprawną liczbą.");
    TypeInCombo(d, "CBSTekstu", "0.5");
    QTest::mouseClick(Child<QCheckBox>(d, "CB_St"), Qt::LeftButton);
    Press(d, "B_Wykonaj");
  });
  EXPECT_TRUE(dialog.Edit(model));
  ASSERT_TRUE(model.result);
  EXPECT_TRUE(model.result->colour);
  EXPECT_EQ(model.result->colour_value, kRed);
  EXPECT_TRUE(model.result->thickness);
  EXPECT_FLOAT_EQ(model.result->thickness_value, 0.25f);
  EXPECT_FALSE(model.result->height);
  EXPECT_FALSE(model.result->width);
  EXPECT_EQ(colours_.presets, std::vector<Colour>{kRed});

  // "Rezygnuj" makes no change.
  model.Show();
  dialogs_.Expect([](QDialog& d) {
    EXPECT_FALSE(Child<QCheckBox>(d, "CB_Gr")->isChecked());
    EXPECT_EQ(Child<QComboBox>(d, "CBGrubosci")->currentText(), "0,25");
    TypeInCombo(d, "CBHTekstu", "1,50");
    Press(d, "B_rezygnuj");
  });
  EXPECT_FALSE(dialog.Edit(model));
}

}  // namespace
}  // namespace blok
