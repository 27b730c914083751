// The question about a block a killed editor left comes with the window on screen behind it.
#include <QCoreApplication>

#include "document/recovery_file.h"
#include "ui/window_fixture.h"

namespace blok::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(WindowTest, TheRecoveryQuestionComesOnceTheWindowIsShown) {
  QCoreApplication::processEvents();  // the fixture's window has had its own offer
  const fs::path dead = dir_ / "Odzysk" / "999999.blkr";
  fs::create_directories(dead.parent_path());
  ASSERT_TRUE(WriteRecoveryFile(dead, {library_, "Odzyskany", "m", {"O(0,0,1)"}, 1'765'000'000}));
  WriteBytes(fs::path(dead).replace_extension(".lock"), "");  // held by nobody

  std::optional<TPodgladRysowanie> next;
  bool visible_when_asked = false;
  dialogs_.Expect([&](QDialog& dialog) {
    visible_when_asked = next && next->isVisible();
    ModalDialogs::Press("Button2")(dialog);  // Nie
  });
  next.emplace(dir_.path());
  EXPECT_TRUE(dialogs_.shown().empty()) << "asked before the window was shown";
  next->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs_.shown().empty(); }));
  EXPECT_TRUE(dialogs_.shown()[0].text.startsWith("Znaleziono niezapisany blok „Odzyskany”"))
      << dialogs_.shown()[0].text.toStdString();
  EXPECT_TRUE(visible_when_asked);
  EXPECT_FALSE(fs::exists(dead));
  // Shown again (restored after minimising), it asks nothing more.
  next->hide();
  next->show();
  QTest::qWait(20);
  EXPECT_EQ(dialogs_.shown().size(), 1u);
}

// A library given to the program opens after the question, as the question is about what the
// window will show: answered Tak, the block brought back is then asked about before the file
// replaces it.
TEST_F(WindowTest, AGivenFileOpensAfterTheRecoveryQuestion) {
  QCoreApplication::processEvents();
  const fs::path dead = dir_ / "Odzysk" / "999998.blkr";
  fs::create_directories(dead.parent_path());
  ASSERT_TRUE(WriteRecoveryFile(dead, {library_, "Odzyskany", "m", {"O(0,0,1)"}, 1'765'000'000}));
  WriteBytes(fs::path(dead).replace_extension(".lock"), "");

  std::optional<TPodgladRysowanie> next;
  bool file_open_when_asked = true;
  dialogs_.Expect([&](QDialog& dialog) {
    file_open_when_asked = next->editor().library().open_file().has_value();
    ModalDialogs::Press("Button1")(dialog);  // Tak
  });
  dialogs_.Expect(ModalDialogs::Press("Button2"));  // Nie: the block brought back is not kept
  next.emplace(dir_.path());
  next->show();
  next->OpenGivenFile(QString::fromStdString(library_.string()), "Hydrant");
  ASSERT_TRUE(QTest::qWaitFor([&] { return next->editor().library().open_file().has_value(); }));
  EXPECT_FALSE(file_open_when_asked);
  ASSERT_EQ(dialogs_.shown().size(), 2u);
  EXPECT_TRUE(dialogs_.shown()[0].text.startsWith("Znaleziono niezapisany blok"));
  EXPECT_EQ(next->editor().block().block_name(), "Hydrant");
}

}  // namespace
}  // namespace blok::testing
