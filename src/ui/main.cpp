// blokedit: the editor of block libraries.
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <csignal>
#include <filesystem>

#include "document/data_dir.h"
#include "editor/data_files.h"
#include "ui/main_window.h"
#include "ui/translations.h"

namespace {

// A signal handler may only write: the byte wakes the event loop, which ends the program.
int signal_pipe[2] = {-1, -1};

void OnEndSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signal_pipe[1], &byte, 1);
}

// The desktop logging out, kill and Ctrl+C in a terminal end the program as its menu does, but
// without questions nobody could answer: what it remembers is written, and an unsaved block
// stays in its recovery file.
void EndOnSignals(QApplication& app, blok::TPodgladRysowanie& window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &window,
                   [&window] { window.EndWithoutQuestions(); });
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("blokedit");
  blok::LoadQtTranslations(app);
  // Fonts and Bloki/ lie beside the program or in its share folder; what it writes for itself
  // goes beside them, or to the user's data folder when an installation's folder is read-only.
  const std::filesystem::path data = blok::FindDataDir(
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()));
  const std::filesystem::path state = blok::FindStateDir(
      data, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
  blok::TPodgladRysowanie window(blok::ProgramPaths{data, state});
  if (!window.started()) return 1;  // the reason has been shown
  EndOnSignals(app, window);
  window.show();
  // blokedit FILE [BLOCK]: what the file manager and the menu entry pass.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    window.OpenGivenFile(arguments[1], arguments.size() > 2 ? arguments[2] : QString());
  }
  return QApplication::exec();
}
