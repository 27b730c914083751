#include "ui/entity_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <initializer_list>
#include <string>

#include "interaction/entity_writers.h"
#include "model/thickness.h"
#include "ui/painter_canvas.h"
#include "ui/qt_text.h"

namespace blok {
namespace {

const QStringList kThicknesses = QTexts(kThicknessChoices, &ThicknessChoice::entity_form);
const QStringList kSelectionThicknesses = QTexts(kThicknessChoices, &ThicknessChoice::text);
const QStringList kTextSizes = QTexts(kTextSizeChoices, std::identity{});

// A colour swatch that answers a mouse release, as the forms' Shape does.
class Swatch : public QLabel {
 public:
  Swatch(const char* name, std::function<void()> released, QWidget* parent)
      : QLabel(parent), released_(std::move(released)) {
    setObjectName(name);
    setFixedSize(40, 22);
    setCursor(Qt::PointingHandCursor);
  }
  void SetReleased(std::function<void()> released) { released_ = std::move(released); }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (released_) released_();
  }

 private:
  std::function<void()> released_;
};

void Paint(QLabel& swatch, Colour colour) {
  swatch.setStyleSheet(
      QString("background-color: %1; border: 1px solid #404040;").arg(ToQColor(colour).name()));
}

// The swatch Shape of an entity dialog: a release opens the colour dialog, and a chosen colour
// becomes the form's colour.
QLabel* ShapeSwatch(QDialog* dialog, const ColourChooser& choose, Colour& colour) {
  auto* swatch = new Swatch("Shape", {}, dialog);
  swatch->SetReleased([dialog, &choose, &colour, swatch] {
    if (const auto chosen = choose(dialog, colour)) Paint(*swatch, colour = *chosen);
  });
  return swatch;
}

// Runs a form over its model until it closes; the fields stay in the model either way.
template <typename Model>
bool RunForm(QDialog& dialog, Model& model, Model*& open, const std::function<void()>& load,
             const std::function<void(Model&)>& store) {
  load();
  open = &model;
  const bool applied = dialog.exec() == QDialog::Accepted;
  store(model);
  open = nullptr;
  return applied && model.result.has_value();
}

QLineEdit* Field(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setMinimumWidth(110);
  return field;
}

QComboBox* Combo(const char* name, const QStringList& items, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(items);
  return combo;
}

// The hidden labels typ and nr: what the form edits.
QLabel* Hidden(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setVisible(false);
  return label;
}

QGroupBox* Group(const QString& title, std::initializer_list<std::pair<QString, QWidget*>> rows,
                 QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* form = new QFormLayout(group);
  for (const auto& [caption, field] : rows) form->addRow(caption, field);
  return group;
}

// "Kolor" with its swatch and the thickness box with its caption, in one row.
QHBoxLayout* StyleRow(QLabel* swatch, const QString& thickness_caption, QComboBox* thickness,
                      QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Kolor", parent));
  row->addWidget(swatch);
  row->addSpacing(16);
  row->addWidget(new QLabel(thickness_caption, parent));
  row->addWidget(thickness);
  row->addStretch();
  return row;
}

// The apply and the way out, at the bottom right; Enter applies, Esc goes out.
QHBoxLayout* Buttons(QDialog* dialog, const char* apply_name, const QString& apply_caption,
                     const char* back_name, const QString& back_caption,
                     std::function<void()> apply) {
  auto* apply_button = new QPushButton(apply_caption, dialog);
  apply_button->setObjectName(apply_name);
  apply_button->setDefault(true);
  auto* back_button = new QPushButton(back_caption, dialog);
  back_button->setObjectName(back_name);
  QObject::connect(apply_button, &QPushButton::clicked, dialog, std::move(apply));
  QObject::connect(back_button, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(apply_button);
  row->addWidget(back_button);
  return row;
}

// A refusal keeps the form open; most say why.
void ShowRefusal(QWidget* over, const std::string& message) {
  if (!message.empty()) QMessageBox::warning(over, "blokedit", Q(message));
}

// The apply button of an entity dialog, the fields already in the model: closes the form on a
// line, else says why and stays. The thickness box shows what the model made of it.
template <typename Model>
void ApplyForm(QDialog& dialog, Model& model, QComboBox& thickness) {
  const auto applied = model.Apply();
  if (!applied) return ShowRefusal(&dialog, applied.error());
  thickness.setCurrentText(Q(model.thickness));
  dialog.accept();
}

std::string Text(const QLineEdit* field) { return S(field->text()); }
std::string Text(const QComboBox* combo) { return S(combo->currentText()); }

}  // namespace

std::optional<Colour> ChooseColourDialog(QWidget* over, Colour initial) {
  QColorDialog dialog(ToQColor(initial), over);
  dialog.setObjectName("Kolor");
  dialog.setWindowTitle("Kolor");
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QColor chosen = dialog.selectedColor();
  if (!chosen.isValid()) return std::nullopt;
  return RgbColour(chosen.red(), chosen.green(), chosen.blue());
}

TLinieEdycja::TLinieEdycja(ColourChooser choose_colour, QWidget* parent)
    : QDialog(parent), choose_colour_(std::move(choose_colour)) {
  setObjectName("LinieEdycja");
  setWindowTitle("Dodawanie edycja linii (prostokatów)");
  setModal(true);
  typ_ = Hidden("typ", "........", this);
  nr_ = Hidden("nr", "-1", this);
  x1_ = Field("E_x1", this);
  y1_ = Field("E_y1", this);
  x2_ = Field("E_x2", this);
  y2_ = Field("E_y2", this);
  shape_ = ShapeSwatch(this, choose_colour_, colour_);
  thickness_ = Combo("CBGrubosci", kThicknesses, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(typ_);
  layout->addWidget(nr_);
  layout->addWidget(Group("Początkowy punkt wstawienia", {{"x1", x1_}, {"y1", y1_}}, this));
  layout->addWidget(Group("Końcowy punkt wstawienia", {{"x2", x2_}, {"y2", y2_}}, this));
  layout->addLayout(StyleRow(shape_, "Grubość linni", thickness_, this));
  layout->addLayout(
      Buttons(this, "wprowadz", "Wprowadź", "Powrot", "Powrót", [this] { Wprowadz(); }));
  Load(LineDialogModel{});
}

bool TLinieEdycja::Edit(LineDialogModel& model) {
  return RunForm<LineDialogModel>(
      *this, model, model_, [&] { Load(model); }, [this](LineDialogModel& m) { Store(m); });
}

void TLinieEdycja::Load(const LineDialogModel& model) {
  typ_->setText(Q(model.typ));
  nr_->setText(QString::number(model.nr));
  x1_->setText(Q(model.x1));
  y1_->setText(Q(model.y1));
  x2_->setText(Q(model.x2));
  y2_->setText(Q(model.y2));
  Paint(*shape_, colour_ = model.colour);
  thickness_->setCurrentText(Q(model.thickness));
}

void TLinieEdycja::Store(LineDialogModel& model) const {
  model.x1 = Text(x1_);
  model.y1 = Text(y1_);
  model.x2 = Text(x2_);
  model.y2 = Text(y2_);
  model.colour = colour_;
  model.thickness = Text(thickness_);
}

void TLinieEdycja::Wprowadz() {
  if (model_ == nullptr) return;
  Store(*model_);
  ApplyForm(*this, *model_, *thickness_);
}

TOkragEdycja::TOkragEdycja(ColourChooser choose_colour, QWidget* parent)
    : QDialog(parent), choose_colour_(std::move(choose_colour)) {
  setObjectName("OkragEdycja");
  setWindowTitle("Okrag edycja");
  setModal(true);
  typ_ = Hidden("typ", "........", this);
  nr_ = Hidden("nr", "-1", this);
  x_ = Field("E_x1", this);
  y_ = Field("E_y1", this);
  r_ = Field("E_r", this);
  start_ = Field("E_ks", this);
  end_ = Field("E_kk", this);
  angles_ = Group("Łuk kąty", {{"start", start_}, {"koniec", end_}}, this);
  angles_->setObjectName("GrupaKaty");
  shape_ = ShapeSwatch(this, choose_colour_, colour_);
  thickness_ = Combo("CBGrubosci", kThicknesses, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(typ_);
  layout->addWidget(nr_);
  layout->addWidget(Group("Punkt wstawienia, promień.", {{"x", x_}, {"y", y_}, {"r", r_}}, this));
  layout->addWidget(angles_);
  layout->addLayout(StyleRow(shape_, "Grubość linni", thickness_, this));
  layout->addLayout(
      Buttons(this, "wprowadz", "Wprowadź", "Powrot", "Powrót", [this] { Wprowadz(); }));
  Load(CircleDialogModel{});
}

bool TOkragEdycja::Edit(CircleDialogModel& model) {
  return RunForm<CircleDialogModel>(
      *this, model, model_, [&] { Load(model); }, [this](CircleDialogModel& m) { Store(m); });
}

void TOkragEdycja::Load(const CircleDialogModel& model) {
  typ_->setText(Q(model.typ));
  nr_->setText(QString::number(model.nr));
  x_->setText(Q(model.x));
  y_->setText(Q(model.y));
  r_->setText(Q(model.r));
  start_->setText(Q(model.start));
  end_->setText(Q(model.end));
  angles_->setEnabled(model.arc());
  Paint(*shape_, colour_ = model.colour);
  thickness_->setCurrentText(Q(model.thickness));
}

void TOkragEdycja::Store(CircleDialogModel& model) const {
  model.x = Text(x_);
  model.y = Text(y_);
  model.r = Text(r_);
  model.start = Text(start_);
  model.end = Text(end_);
  model.colour = colour_;
  model.thickness = Text(thickness_);
}

void TOkragEdycja::Wprowadz() {
  if (model_ == nullptr) return;
  Store(*model_);
  ApplyForm(*this, *model_, *thickness_);
}

TTekstyEdycja::TTekstyEdycja(ColourChooser choose_colour, QWidget* parent)
    : QDialog(parent), choose_colour_(std::move(choose_colour)) {
  setObjectName("TekstyEdycja");
  setWindowTitle("TekstyEdycja");
  setModal(true);
  nr_ = Hidden("nr", "-1", this);
  text_ = Field("Tekst", this);
  text_->setMaxLength(255);
  text_->setMinimumWidth(360);
  x_ = Field("E_X", this);
  y_ = Field("E_y", this);
  height_ = Field("Rozmiar", this);
  width_ = Field("Szerokosc", this);
  auto* angle_group = new QGroupBox("Kąt obrotu", this);
  poziom_ = new QRadioButton("Poziomo   0 [st.]", angle_group);
  poziom_->setObjectName("RBPoziom");
  pion_ = new QRadioButton("Pionowo  90 [st.]", angle_group);
  pion_->setObjectName("RBPion");
  recznie_ = new QRadioButton("Ręcznie", angle_group);
  recznie_->setObjectName("RBRecznie");
  angle_ = Field("Kat", angle_group);
  // The typed angle counts only with "Ręcznie".
  connect(recznie_, &QRadioButton::toggled, angle_, &QLineEdit::setEnabled);
  auto* angle_layout = new QGridLayout(angle_group);
  angle_layout->addWidget(poziom_, 0, 0);
  angle_layout->addWidget(pion_, 1, 0);
  angle_layout->addWidget(recznie_, 2, 0);
  angle_layout->addWidget(angle_, 2, 1);
  shape_ = ShapeSwatch(this, choose_colour_, colour_);
  QStringList thicknesses = kThicknesses;
  thicknesses.prepend(Q(kThicknessFromSize));
  thickness_ = Combo("CBGrubosci", thicknesses, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(nr_);
  layout->addWidget(new QLabel("Tekst (max 255 znaków)", this));
  layout->addWidget(text_);
  // What the file will make of the text, said as t says it, while it is typed.
  QLabel* note = Hidden("L_UwagaTekstu", QString(), this);
  layout->addWidget(note);
  connect(text_, &QLineEdit::textChanged, this, [note](const QString& text) {
    const auto fitted = FitTypedText(S(text));
    note->setText(fitted && !fitted->note.empty() ? "(" + Q(fitted->note) + ")" : QString());
    note->setVisible(!note->text().isEmpty());
  });
  auto* middle = new QHBoxLayout;
  middle->addWidget(Group("Punkt wstawienia", {{"X", x_}, {"Y", y_}}, this));
  middle->addWidget(Group("Parametry ", {{"Rozmiar [cm]", height_}, {"Szerokość", width_}}, this));
  layout->addLayout(middle);
  layout->addWidget(angle_group);
  layout->addLayout(StyleRow(shape_, "Grubość", thickness_, this));
  layout->addLayout(
      Buttons(this, "wprowadz", "Wprowadź", "Powrot", "Powrót", [this] { Wprowadz(); }));
  Load(TextDialogModel{});
}

bool TTekstyEdycja::Edit(TextDialogModel& model) {
  return RunForm<TextDialogModel>(
      *this, model, model_, [&] { Load(model); }, [this](TextDialogModel& m) { Store(m); });
}

void TTekstyEdycja::Load(const TextDialogModel& model) {
  nr_->setText(QString::number(model.nr));
  text_->setText(Q(model.text));
  x_->setText(Q(model.x));
  y_->setText(Q(model.y));
  height_->setText(Q(model.height));
  width_->setText(Q(model.width));
  switch (model.angle_choice) {
    case TextAngleChoice::kPoziom:
      poziom_->setChecked(true);
      break;
    case TextAngleChoice::kPion:
      pion_->setChecked(true);
      break;
    case TextAngleChoice::kRecznie:
      recznie_->setChecked(true);
      break;
  }
  angle_->setEnabled(recznie_->isChecked());
  angle_->setText(Q(model.angle));
  Paint(*shape_, colour_ = model.colour);
  thickness_->setCurrentText(Q(model.thickness));
}

void TTekstyEdycja::Store(TextDialogModel& model) const {
  model.text = Text(text_);
  model.x = Text(x_);
  model.y = Text(y_);
  model.height = Text(height_);
  model.width = Text(width_);
  model.angle_choice = pion_->isChecked()      ? TextAngleChoice::kPion
                       : recznie_->isChecked() ? TextAngleChoice::kRecznie
                                               : TextAngleChoice::kPoziom;
  model.angle = Text(angle_);
  model.colour = colour_;
  model.thickness = Text(thickness_);
}

void TTekstyEdycja::Wprowadz() {
  if (model_ == nullptr) return;
  Store(*model_);
  ApplyForm(*this, *model_, *thickness_);
}

TEdycjaCech::TEdycjaCech(ColourChooser choose_colour, QWidget* parent)
    : QDialog(parent), choose_colour_(std::move(choose_colour)) {
  setObjectName("EdycjaCech");
  setWindowTitle("Zmiana cech");
  setModal(true);
  const auto box = [this](const char* name, const QString& caption,
                          bool PropertiesDialogModel::*flag) {
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(name);
    connect(check, &QCheckBox::toggled, this, [this, flag](bool on) {
      if (model_ != nullptr) model_->*flag = on;
    });
    return check;
  };
  change_colour_ = box("CB_Kol", "Kolor .............", &PropertiesDialogModel::change_colour);
  change_thickness_ = box("CB_Gr", "Grubość .........", &PropertiesDialogModel::change_thickness);
  change_height_ = box("CB_Ht", "Wysokość tekstu", &PropertiesDialogModel::change_height);
  change_width_ = box("CB_St", "Szerokość tekstu", &PropertiesDialogModel::change_width);
  swatch_ = new Swatch(
      "S_kol",
      [this] {
        if (model_ == nullptr) return;
        model_->ColourDialogClosed(choose_colour_(this, model_->colour));
        Sync();
      },
      this);
  // Each combo tells the model which of its three values was edited.
  enum class Value { kThickness, kHeight, kWidth };
  const auto combo = [this](const char* name, const QStringList& items, Value value) {
    auto* c = Combo(name, items, this);
    connect(c, &QComboBox::currentTextChanged, this, [this, value](const QString& text) {
      if (model_ == nullptr) return;
      switch (value) {
        case Value::kThickness:
          model_->ThicknessEdited(S(text));
          break;
        case Value::kHeight:
          model_->HeightEdited(S(text));
          break;
        case Value::kWidth:
          model_->WidthEdited(S(text));
          break;
      }
      Sync();
    });
    return c;
  };
  thickness_ = combo("CBGrubosci", kSelectionThicknesses, Value::kThickness);
  height_ = combo("CBHTekstu", kTextSizes, Value::kHeight);
  width_ = combo("CBSTekstu", kTextSizes, Value::kWidth);
  auto* grid = new QGridLayout;
  grid->addWidget(change_colour_, 0, 0);
  grid->addWidget(swatch_, 0, 1);
  grid->addWidget(change_thickness_, 1, 0);
  grid->addWidget(thickness_, 1, 1);
  grid->addWidget(change_height_, 2, 0);
  grid->addWidget(height_, 2, 1);
  grid->addWidget(change_width_, 3, 0);
  grid->addWidget(width_, 3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(
      Buttons(this, "B_Wykonaj", "Wykonaj", "B_rezygnuj", "Rezygnuj", [this] { Wykonaj(); }));
  PropertiesDialogModel defaults;
  model_ = &defaults;
  Sync();
  model_ = nullptr;
}

bool TEdycjaCech::Edit(PropertiesDialogModel& model) {
  model_ = &model;
  Sync();
  const bool applied = exec() == Accepted;
  model_ = nullptr;
  return applied && model.result.has_value();
}

void TEdycjaCech::Sync() {
  const PropertiesDialogModel& m = *model_;
  const auto check = [](QCheckBox* box, bool on) {
    const QSignalBlocker quiet(box);
    box->setChecked(on);
  };
  check(change_colour_, m.change_colour);
  check(change_thickness_, m.change_thickness);
  check(change_height_, m.change_height);
  check(change_width_, m.change_width);
  Paint(*swatch_, m.colour);
  // Set only what differs, so that the cursor of a box being typed into stays put.
  const auto show = [](QComboBox* combo, const std::string& text) {
    if (combo->currentText() == Q(text)) return;
    const QSignalBlocker quiet(combo);
    combo->setCurrentText(Q(text));
  };
  show(thickness_, m.thickness_text);
  show(height_, m.height_text);
  show(width_, m.width_text);
}

void TEdycjaCech::Wykonaj() {
  if (model_ == nullptr) return;
  const auto applied = model_->Apply();
  if (!applied) return ShowRefusal(this, applied.error());
  accept();
}

}  // namespace blok
