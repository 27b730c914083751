#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "interaction/entity_dialogs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace blok {

// The colour dialog "Kolor" over a window, preset to initial; nothing when cancelled.
std::optional<Colour> ChooseColourDialog(QWidget* over, Colour initial);
using ColourChooser = std::function<std::optional<Colour>(QWidget* over, Colour initial)>;

// The forms over the entity dialog models. Each is built once and shown modally by Edit: the
// fields show the model, the apply button writes them into it and runs its Apply (a refusal
// shows its message and the form stays open), and on closing the fields stay in the model, so
// that they are there at the next opening. Edit is true when the form closed on an apply that
// succeeded.

// `LinieEdycja`: a line or a rectangle.
class TLinieEdycja : public QDialog {
  Q_OBJECT

 public:
  explicit TLinieEdycja(ColourChooser choose_colour = ChooseColourDialog,
                        QWidget* parent = nullptr);
  bool Edit(LineDialogModel& model);

 private:
  void Load(const LineDialogModel& model);
  void Store(LineDialogModel& model) const;
  void Wprowadz();

  ColourChooser choose_colour_;
  LineDialogModel* model_ = nullptr;
  Colour colour_ = 0;
  QLabel* typ_;
  QLabel* nr_;
  QLineEdit* x1_;
  QLineEdit* y1_;
  QLineEdit* x2_;
  QLineEdit* y2_;
  QLabel* shape_;
  QComboBox* thickness_;
};

// `OkragEdycja`: a circle or an arc; the angles (GrupaKaty) only for an arc.
class TOkragEdycja : public QDialog {
  Q_OBJECT

 public:
  explicit TOkragEdycja(ColourChooser choose_colour = ChooseColourDialog,
                        QWidget* parent = nullptr);
  bool Edit(CircleDialogModel& model);

 private:
  void Load(const CircleDialogModel& model);
  void Store(CircleDialogModel& model) const;
  void Wprowadz();

  ColourChooser choose_colour_;
  CircleDialogModel* model_ = nullptr;
  Colour colour_ = 0;
  QLabel* typ_;
  QLabel* nr_;
  QLineEdit* x_;
  QLineEdit* y_;
  QLineEdit* r_;
  QGroupBox* angles_;
  QLineEdit* start_;
  QLineEdit* end_;
  QLabel* shape_;
  QComboBox* thickness_;
};

// `TekstyEdycja`: a text.
class TTekstyEdycja : public QDialog {
  Q_OBJECT

 public:
  explicit TTekstyEdycja(ColourChooser choose_colour = ChooseColourDialog,
                         QWidget* parent = nullptr);
  bool Edit(TextDialogModel& model);

 private:
  void Load(const TextDialogModel& model);
  void Store(TextDialogModel& model) const;
  void Wprowadz();

  ColourChooser choose_colour_;
  TextDialogModel* model_ = nullptr;
  Colour colour_ = 0;
  QLabel* nr_;
  QLineEdit* text_;
  QLineEdit* x_;
  QLineEdit* y_;
  QLineEdit* height_;
  QLineEdit* width_;
  QRadioButton* poziom_;
  QRadioButton* pion_;
  QRadioButton* recznie_;
  QLineEdit* angle_;
  QLabel* shape_;
  QComboBox* thickness_;
};

// `EdycjaCech`: "Zmiana cech" of the selection. Every control works on the model as the user
// touches it: a combo's change checks its box, the swatch checks CB_Kol.
class TEdycjaCech : public QDialog {
  Q_OBJECT

 public:
  explicit TEdycjaCech(ColourChooser choose_colour = ChooseColourDialog, QWidget* parent = nullptr);
  bool Edit(PropertiesDialogModel& model);

 private:
  void Sync();
  void Wykonaj();

  ColourChooser choose_colour_;
  PropertiesDialogModel* model_ = nullptr;
  QCheckBox* change_colour_;
  QCheckBox* change_thickness_;
  QCheckBox* change_height_;
  QCheckBox* change_width_;
  QLabel* swatch_;
  QComboBox* thickness_;
  QComboBox* height_;
  QComboBox* width_;
};

}  // namespace blok
