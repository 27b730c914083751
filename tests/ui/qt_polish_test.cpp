// The standard dialogs' buttons in Polish once Qt's translations are loaded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTranslator>

#include "ui/translations.h"

namespace blok {
namespace {

TEST(QtPolishTest, StandardButtonsSpeakPolish) {
  const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_pl.qm";
  if (!QFileInfo::exists(file)) GTEST_SKIP() << "no " << file.toStdString();
  ASSERT_TRUE(LoadQtTranslations(*QCoreApplication::instance()));
  QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open | QDialogButtonBox::Save);
  const struct {
    QDialogButtonBox::StandardButton button;
    QString caption;
  } cases[] = {{QDialogButtonBox::Cancel, "Anuluj"},
               {QDialogButtonBox::Open, "Otwórz"},
               {QDialogButtonBox::Save, "Zachowaj"}};
  for (const auto& c : cases) {
    EXPECT_EQ(box.button(c.button)->text().remove('&'), c.caption) << c.caption.toStdString();
  }
  // The other tests see Qt as it was.
  qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
}

}  // namespace
}  // namespace blok
