// blokedit: the editor of block libraries.
#include <QApplication>
#include <QStandardPaths>
#include <filesystem>

#include "document/data_dir.h"
#include "editor/data_files.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("blokedit");
  // Fonts and Bloki/ lie beside the program or in its share folder; what it writes for itself
  // goes beside them, or to the user's data folder when an installation's folder is read-only.
  const std::filesystem::path data = blok::FindDataDir(
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()));
  const std::filesystem::path state = blok::FindStateDir(
      data, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
  blok::TPodgladRysowanie window(blok::ProgramPaths{data, state});
  if (!window.started()) return 1;  // the reason has been shown
  window.show();
  // blokedit FILE [BLOCK]: what the file manager and the menu entry pass.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    window.OpenGivenFile(arguments[1], arguments.size() > 2 ? arguments[2] : QString());
  }
  return QApplication::exec();
}
