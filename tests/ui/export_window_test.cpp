// The exports from the window: Pliki's DXF export, PDF catalogue and print, driven through
// their object names and read back by our own DXF import and by poppler-utils.
#include <gtest/gtest.h>

#include <QDate>
#include <QImage>
#include <QProgressDialog>
#include <QRadioButton>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "document/block_file.h"
#include "document/dxf_import.h"
#include "document/text_file.h"
#include "support/command_output.h"
#include "ui/export_dialogs.h"
#include "ui/window_fixture.h"
#include "view/font_capital.h"

namespace blok {
namespace {

using testing::CommandOutput;
using testing::ModalDialogs;
using testing::ReadBytes;
using testing::WriteBytes;

// The value of a "Name:   value" line of pdfinfo.
std::string Field(const std::string& info, const std::string& name) {
  const size_t at = info.find(name + ":");
  if (at == std::string::npos) return {};
  const size_t value = info.find_first_not_of(' ', at + name.size() + 1);
  return info.substr(value, info.find('\n', value) - value);
}

// Clicks the radio button of this name, then the dialog's BOK.
ModalDialogs::Answer Choose(const char* radio) {
  return [radio](QDialog& dialog) {
    auto* button = dialog.findChild<QRadioButton*>(radio);
    ASSERT_NE(button, nullptr) << radio;
    ASSERT_TRUE(button->isEnabled()) << radio;
    button->setChecked(true);
    dialog.findChild<QPushButton*>("BOK")->click();
  };
}

ModalDialogs::Answer Fill(std::vector<std::pair<const char*, QString>> fields) {
  return [fields](QDialog& dialog) {
    for (const auto& [name, text] : fields) {
      auto* edit = dialog.findChild<QLineEdit*>(name);
      ASSERT_NE(edit, nullptr) << name;
      edit->setText(text);
    }
    dialog.findChild<QPushButton*>("BOK")->click();
  };
}

class ExportWindowTest : public testing::WindowTest {
 protected:
  ExportItems& Items() { return *Find<ExportItems>("Eksporty"); }

  void SelectRows(const QStringList& names) {
    auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
    list->clearSelection();
    for (const QString& name : names) {
      const auto items = list->findItems(name, Qt::MatchExactly);
      ASSERT_EQ(items.size(), 1) << name.toStdString();
      // The first is the current row, as a click makes it; the others are added to it.
      if (name == names.front()) list->setCurrentItem(items.front());
      items.front()->setSelected(true);
    }
  }

  // The blocks of a DXF file as our own import reads them: name and entity count.
  std::vector<std::pair<std::string, size_t>> ReadDxf(const std::filesystem::path& file) {
    DxfImportOptions options;
    options.all_blocks = true;
    options.capital = CapitalOf(*window_->editor().view().romans_font());
    const auto report = ImportDxf(file, options);
    EXPECT_TRUE(report.has_value()) << (report ? "" : report.error().message);
    std::vector<std::pair<std::string, size_t>> blocks;
    if (report) {
      for (const DxfBlock& b : report->blocks) blocks.emplace_back(b.name, b.lines.size());
    }
    return blocks;
  }

  // A library of its own in place of the sample one.
  void WriteLibrary(const std::vector<BlockToSave>& blocks) {
    std::string bytes;
    for (const BlockToSave& block : blocks) {
      for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
    }
    WriteBytes(library_, bytes);
  }

  std::filesystem::path dxf_ = dir_ / "wynik.dxf";
  std::filesystem::path pdf_ = dir_ / "wynik.pdf";
};

TEST_F(ExportWindowTest, DxfOfTheChosenBlocks) {
  const struct {
    const char* radio;
    QStringList selected;
    bool edit;  // Latarnia loaded and a line added, not saved
    std::vector<std::string> blocks;
    QString message;
  } cases[] = {
      {"RBZaznaczone", {"Hydrant", "Drzewo"}, false, {"Drzewo", "Hydrant"}, "2 bloki"},
      {"RBZaznaczone", {"Latarnia"}, false, {"Latarnia"}, "1 blok"},
      {"RBBiblioteka",
       {"Hydrant"},
       false,
       {"Drzewo", "Hydrant", "Latarnia", "Strzałka", "Studzienka kanalizacyjna", "Wpust uliczny",
        "Znak STOP"},
       "7 bloków"},
      {"RBEdytowany", {"Hydrant"}, true, {"Latarnia"}, "1 blok"},
  };
  OpenLibrary();
  std::map<std::string, size_t> entities_of;  // as exported from the file
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radio);
    if (c.edit) {
      LoadBlock("Latarnia");
      Type("l");
      Type("0,0");
      Type("5,5");
      Type("");
    }
    SelectRows(c.selected);
    const bool there = std::filesystem::exists(dxf_);
    dialogs_.Expect(Choose(c.radio)).Expect(ModalDialogs::ChooseFile(dxf_));
    if (there) dialogs_.Expect(ModalDialogs::Press("Button1"));  // Zastąp
    Find<QAction>("M_EksportujDXF")->trigger();
    std::vector<std::string> names;
    for (const auto& [name, entities] : ReadDxf(dxf_)) {
      names.push_back(name);
      // The unsaved line went out with the edited block.
      if (c.edit) {
        EXPECT_EQ(entities, entities_of.at(name) + 1);
      } else {
        entities_of[name] = entities;
      }
    }
    std::ranges::sort(names);
    EXPECT_EQ(names, c.blocks);
    EXPECT_EQ(Messages().front(), "Zapisano wynik.dxf: " + c.message + ".");
  }
}

TEST_F(ExportWindowTest, ChoicesWithNothingBehindThemAreDisabled) {
  const struct {
    bool select, load;
    bool selected_enabled, edited_enabled;
    const char* checked;
  } cases[] = {
      {false, false, false, false, "RBBiblioteka"},
      {true, false, true, false, "RBZaznaczone"},
      {false, true, false, true, "RBEdytowany"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.checked);
    OpenLibrary();  // nothing loaded, nothing selected
    if (c.load) {
      LoadBlock("Hydrant");
      Find<QListWidget>("LB_NazwaBlokuCzytaj")->clearSelection();
      Find<QListWidget>("LB_NazwaBlokuCzytaj")->setCurrentItem(nullptr);
    }
    if (c.select) SelectRows({"Hydrant"});
    bool answered = false;
    dialogs_.Expect([&](QDialog& dialog) {
      answered = true;
      EXPECT_EQ(dialog.objectName(), "EksportDXF");
      EXPECT_EQ(dialog.findChild<QRadioButton*>("RBZaznaczone")->isEnabled(), c.selected_enabled);
      EXPECT_EQ(dialog.findChild<QRadioButton*>("RBEdytowany")->isEnabled(), c.edited_enabled);
      EXPECT_TRUE(dialog.findChild<QRadioButton*>(c.checked)->isChecked());
      dialog.reject();
    });
    Find<QAction>("M_EksportujDXF")->trigger();
    EXPECT_TRUE(answered);
    EXPECT_FALSE(std::filesystem::exists(dxf_));
  }
}

TEST_F(ExportWindowTest, ItemsWaitForALibrary) {
  for (const char* item : {"M_EksportujDXF", "M_KatalogPDF", "M_Drukuj"}) {
    EXPECT_FALSE(Find<QAction>(item)->isEnabled()) << item;
  }
  OpenLibrary();
  for (const char* item : {"M_EksportujDXF", "M_KatalogPDF", "M_Drukuj"}) {
    EXPECT_TRUE(Find<QAction>(item)->isEnabled()) << item;
  }
}

TEST_F(ExportWindowTest, CatalogueAsBlkMakesIt) {
  const struct {
    QString columns, rows, title;
    const char* pdf_title;
    const char* pages;
  } cases[] = {
      {"4", "6", "", "przyklad.blk", "1"},  // blk's defaults: the file's name
      {"1", "2", "Znaki i urządzenia", "Znaki i urządzenia", "4"},  // 7 blocks
  };
  OpenLibrary();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pdf_title);
    const bool there = std::filesystem::exists(pdf_);
    dialogs_.Expect(Fill({{"EKolumny", c.columns}, {"EWiersze", c.rows}, {"ETytul", c.title}}))
        .Expect(ModalDialogs::ChooseFile(pdf_));
    if (there) dialogs_.Expect(ModalDialogs::Press("Button1"));
    Find<QAction>("M_KatalogPDF")->trigger();
    const std::string info = CommandOutput("pdfinfo '" + pdf_.string() + "' 2>&1");
    EXPECT_EQ(Field(info, "Title"), c.pdf_title) << info;
    EXPECT_EQ(Field(info, "Pages"), c.pages) << info;
    EXPECT_EQ(Messages().front(), "Zapisano katalog wynik.pdf.");
  }
}

TEST_F(ExportWindowTest, ACatalogueDialogKeepsBlksDefaults) {
  OpenLibrary();
  dialogs_.Expect([](QDialog& dialog) {
    EXPECT_EQ(dialog.objectName(), "KatalogPDF");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("EKolumny")->text(), "4");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("EWiersze")->text(), "6");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("ETytul")->text(), "przyklad.blk");
    dialog.reject();
  });
  Find<QAction>("M_KatalogPDF")->trigger();
}

// Anuluj in Postep as soon as it shows.
class CancelOnShow : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->objectName() == "Postep") {
      if (auto* progress = qobject_cast<QProgressDialog*>(watched)) {
        progress->cancel();
        ++cancelled;
      }
    }
    return false;
  }
  int cancelled = 0;
};

TEST_F(ExportWindowTest, ACancelledExportLeavesTheFileAsItWas) {
  const struct {
    const char* item;
    std::vector<ModalDialogs::Answer> answers;
    const std::filesystem::path* file;
  } cases[] = {
      {"M_EksportujDXF",
       {Choose("RBBiblioteka"), ModalDialogs::ChooseFile(dxf_), ModalDialogs::Press("Button1")},
       &dxf_},
      {"M_KatalogPDF",
       {Fill({{"EKolumny", "1"}, {"EWiersze", "1"}}), ModalDialogs::ChooseFile(pdf_),
        ModalDialogs::Press("Button1")},
       &pdf_},
  };
  OpenLibrary();
  Items().SetProgressDelay(0);
  CancelOnShow cancel;
  qApp->installEventFilter(&cancel);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    WriteBytes(*c.file, "made earlier");
    for (const auto& answer : c.answers) dialogs_.Expect(answer);
    const int before = cancel.cancelled;
    Find<QAction>(c.item)->trigger();
    EXPECT_GT(cancel.cancelled, before);
    EXPECT_EQ(ReadBytes(*c.file), "made earlier");
    EXPECT_EQ(Messages().front(), "Przerwano: nic nie zapisano.");
    // No temporary file left beside it either.
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "Dane" || name == "Bloki" || name == "Odzysk" || name == "wynik.dxf" ||
                  name == "wynik.pdf")
          << name;
    }
  }
  qApp->removeEventFilter(&cancel);
}

// A file that is there is replaced only after "Zastąp": Anuluj leaves it and writes nothing.
TEST_F(ExportWindowTest, AnExistingFileIsReplacedOnlyWhenSaid) {
  const struct {
    const char* item;
    ModalDialogs::Answer first;
    const std::filesystem::path* file;
  } cases[] = {
      {"M_EksportujDXF", Choose("RBBiblioteka"), &dxf_},
      {"M_KatalogPDF", Fill({{"EKolumny", "1"}, {"EWiersze", "1"}}), &pdf_},
  };
  OpenLibrary();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    WriteBytes(*c.file, "made earlier");
    const QString pane = Pane();
    dialogs_.Expect(c.first)
        .Expect(ModalDialogs::ChooseFile(*c.file))
        .Expect(ModalDialogs::Press("Kasuj"));  // Anuluj
    Find<QAction>(c.item)->trigger();
    EXPECT_EQ(ReadBytes(*c.file), "made earlier");
    EXPECT_EQ(Pane(), pane);
  }
}

// Dark pixels of each column of the page, as pdftoppm renders it at 254 dots per inch (10 a
// millimetre), over the page's upper part (above the stamp).
struct Ink {
  int dark = 0;
  int left = -1, right = -1;  // the columns with ink
};

Ink InkOf(const std::filesystem::path& pdf, const testing::TestDir& dir) {
  const std::string png = (dir / "strona").string();
  EXPECT_EQ(std::system(("pdftoppm -r 254 -thinlinemode solid -png -singlefile '" + pdf.string() +
                         "' '" + png + "'")
                            .c_str()),
            0);
  const QImage image(QString::fromStdString(png + ".png"));
  Ink ink;
  for (int y = 0; y < image.height() * 3 / 4; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) > 128) continue;
      ++ink.dark;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

TEST_F(ExportWindowTest, PrintAtAScaleInTheBlocksUnit) {
  const struct {
    const char* unit;
    QString scale;  // empty: fitted to the page
    int length;     // of the line 1 unit long on paper, in pixels of 0.1 mm
    const char* stamp;
  } cases[] = {
      {"m", "100", 100, "Skala: 1:100"},  // 1 m at 1:100 is 10 mm
      {"m", "50", 200, "Skala: 1:50"},
      {"cm", "10", 10, "Skala: 1:10"},    // 1 cm at 1:10 is 1 mm
      {"mm", "0,5", 20, "Skala: 1:0,5"},  // 1 mm at 1:0,5 is 2 mm
      {"m", "", 1500, "Skala: dopasowana do strony"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stamp);
    WriteLibrary({{"Odcinek", c.unit, {"L(0,0)-(1,0);K(0,0,0);GR(0,01)", ""}}});
    OpenLibrary();
    LoadBlock("Odcinek");
    Items().SetPreview([&](QPrinter& printer, const std::function<void()>& paint) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf_.string()));
      paint();
    });
    dialogs_.Expect(c.scale.isEmpty() ? Choose("RBDopasuj") : [&](QDialog& dialog) {
      dialog.findChild<QRadioButton*>("RBSkala")->setChecked(true);
      Fill({{"ESkala", c.scale}})(dialog);
    });
    Find<QAction>("M_Drukuj")->trigger();
    const Ink ink = InkOf(pdf_, dir_);
    if (c.scale.isEmpty()) {
      EXPECT_GT(ink.right - ink.left, c.length);  // most of the page's width
    } else {
      EXPECT_NEAR(ink.right - ink.left + 1, c.length, 3);
    }
    EXPECT_GT(ink.dark, 0);
    const std::string text = CommandOutput("pdftotext '" + pdf_.string() + "' - 2>&1");
    for (const std::string& want : {std::string("Blok: Odcinek"),
                                    "Jednostka: " + std::string(c.unit), std::string(c.stamp)}) {
      EXPECT_NE(text.find(want), std::string::npos) << want << " in " << text;
    }
    EXPECT_NE(text.find("Data: " + QDate::currentDate().toString(Qt::ISODate).toStdString()),
              std::string::npos);
  }
}

TEST_F(ExportWindowTest, NothingToPrintIsSaid) {
  OpenLibrary();
  Items().SetPreview([](QPrinter&, const std::function<void()>&) { ADD_FAILURE() << "printed"; });
  dialogs_.Expect(ModalDialogs::Accept());
  Find<QAction>("M_Drukuj")->trigger();
  EXPECT_EQ(dialogs_.shown().back().text, "Nie ma czego drukować: wczytaj blok albo narysuj go.");
}

}  // namespace
}  // namespace blok
