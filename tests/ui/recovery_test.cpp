// An editor killed while its block is unsaved: the next one offers the block back.
#include <signal.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "ui/window_fixture.h"

namespace blok::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDirVariable = "BLOK_RECOVERY_DIR";
constexpr const char* kChild = "RecoveryChild.DISABLED_DrawsAndWaitsToBeKilled";

// The editor that is killed. It runs only when the test below starts it, on its directory.
TEST(RecoveryChild, DISABLED_DrawsAndWaitsToBeKilled) {
  const char* dir = std::getenv(kDirVariable);
  if (dir == nullptr) GTEST_SKIP() << kDirVariable << " names the program directory";
  TPodgladRysowanie window{fs::path(dir)};
  window.show();
  ASSERT_TRUE(window.started());
  window.editor().OtworzOstatniPlik((fs::path(dir) / "Bloki" / "przyklad.blk").string());
  QApplication::processEvents();
  auto* name = window.findChild<QLineEdit*>("E_NazwaBloku");
  QTest::keyClicks(name, "Kolo");
  auto* entry = window.findChild<QLineEdit*>("E_Polecenie");
  for (const char* typed : {"o", "0,0", "2"}) {
    entry->setText(typed);
    QTest::keyClick(entry, Qt::Key_Return);
  }
  ASSERT_TRUE(window.editor().block().unsaved());
  const fs::path file = window.editor().recovery().recovery_file();
  ASSERT_FALSE(file.empty());
  while (!fs::exists(file)) QTest::qWait(20);
  for (;;) QTest::qWait(1000);
}

TEST_F(WindowTest, ABlockDrawnByAKilledEditorIsOfferedBack) {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kDirVariable, QString::fromStdString(dir_.path().string()));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests", QString("--gtest_filter=") + kChild});
  ASSERT_TRUE(child.waitForStarted());
  const fs::path file = dir_ / "Odzysk" / (std::to_string(child.processId()) + ".blkr");
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (!fs::exists(file) && child.state() == QProcess::Running &&
         std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(fs::exists(file)) << "the child never kept its block: " << file;
  ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
  ASSERT_TRUE(child.waitForFinished());
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

  // The window of this test runs on: a second one starts on the same directory.
  dialogs_.Expect(ModalDialogs::Press("Button1"));
  TPodgladRysowanie next{dir_.path()};
  next.show();
  // The question waits for the window to be painted.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs_.shown().empty(); }));
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  EXPECT_TRUE(dialogs_.shown()[0].text.startsWith("Znaleziono niezapisany blok „Kolo” z pliku " +
                                                  QString::fromStdString(library_.string())))
      << dialogs_.shown()[0].text.toStdString();
  Editor& e = next.editor();
  EXPECT_EQ(e.library().open_file(), library_);
  ASSERT_EQ(e.block().drawing().lines().size(), 1u);
  EXPECT_TRUE(e.block().drawing().lines()[0].starts_with("O(0,0,2"))
      << e.block().drawing().lines()[0];
  EXPECT_EQ(next.findChild<QLineEdit*>("E_NazwaBloku")->text(), "Kolo");
  EXPECT_TRUE(next.findChild<QLabel*>("L_Zmiana")->isVisible());
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(next.windowTitle(), QString::fromStdString(library_.string()));
}

}  // namespace
}  // namespace blok::testing
