// blokedit: the editor of block libraries.
#include <QApplication>
#include <filesystem>

#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("blokedit");
  // Fonts, data files and Bloki/ lie beside the program.
  const std::filesystem::path program_dir =
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
  blok::TPodgladRysowanie window(program_dir);
  if (!window.started()) return 1;  // the reason has been shown
  window.show();
  return QApplication::exec();
}
