// Typed commands through the command line as a user types them: what the pane says and what the
// prompt asks next when a step refuses, notes or is interrupted.
#include <gtest/gtest.h>

#include <QLabel>
#include <string>
#include <variant>
#include <vector>

#include "document/block_file.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;

// A click on the drawing at a world point, or an entry typed into the command line.
struct At {
  double x, y;
};
using Input = std::variant<QString, At>;

class TypedCommandsWindowTest : public testing::WindowTest {
 protected:
  void Feed(const std::vector<Input>& inputs) {
    for (const Input& input : inputs) {
      if (const auto* typed = std::get_if<QString>(&input)) {
        Type(*typed);
      } else {
        const At at = std::get<At>(input);
        ClickAt(at.x, at.y);
      }
    }
  }
  QString Prompt() { return Find<QLabel>("L_Polecenie")->text(); }
};

TEST_F(TypedCommandsWindowTest, TheNewestMessageAndTheNextPrompt) {
  struct Case {
    const char* what;
    std::vector<Input> inputs;
    QString message;  // one of the two newest lines of the pane (the other: the entry) has it
    QString prompt;   // what the command line asks next
  };
  const Case cases[] = {
      {"a text as the edge of trim",
       {QString("t"), QString("0,0"), QString("0"), QString("MM"), QString("tr"), At{0.3, 0.3}},
       "Krawędzią tnącą może być linia, prostokąt, okrąg lub łuk.",
       ""},
      {"a scale factor of zero",
       {QString("l"), QString("0,0"), QString("1,0"), QString(""), QString("sc"), At{0.5, 0},
        QString("0,0"), QString("0")},
       "Współczynnik skali nie może być zerem. Wpisz inny.",
       "Wprowadz Współczynnik :"},
      {"an apostrophe in a text",
       {QString("t"), QString("0,0"), QString("0"), QString("Rock'n roll")},
       "(apostrof zapisano jako ’)",
       ""},
  };
  OpenLibrary();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (window_->editor().block().unsaved()) dialogs_.Expect(ModalDialogs::Press("Button2"));
    Click("Bt_NowyBlok");
    Feed(c.inputs);
    const QString newest = Messages().mid(0, 2).join('\n');
    EXPECT_TRUE(newest.contains(c.message)) << newest.toStdString();
    if (!c.prompt.isEmpty()) {
      EXPECT_EQ(Prompt(), c.prompt);
    }
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
  }
}

// A command typed while another waits starts, with its own prompt, from whatever step.
TEST_F(TypedCommandsWindowTest, ACommandTypedInAStepStartsWithItsPrompt) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  for (const char* command : {"f", "mo", "u", "ob", "tr", "lu"}) {
    SCOPED_TRACE(command);
    Type(command);
    const QString own = Prompt();
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
    Type("wi");
    const QString sides = Prompt();
    Type(command);
    EXPECT_NE(Prompt(), sides);
    EXPECT_EQ(Prompt(), own);
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
  }
}

// The typed apostrophe is saved as ’ and read back so, blanks and all.
TEST_F(TypedCommandsWindowTest, ATextWithAnApostropheReadsBackAsTyped) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  Type("t");
  Type("0,0");
  Type("0");
  Type("O'Neila 5");
  Find<QLineEdit>("E_NazwaBloku")->setText("Tablica");
  emit Find<QLineEdit>("E_NazwaBloku")->textEdited("Tablica");
  Click("Bt_ZapiszBlok");
  const auto block = WczytajBlok(library_, "Tablica");
  ASSERT_TRUE(block && *block);
  ASSERT_EQ((*block)->lines.size(), 1u);
  EXPECT_NE((*block)->lines[0].find("O’Neila 5"), std::string::npos) << (*block)->lines[0];
}

}  // namespace
}  // namespace blok
