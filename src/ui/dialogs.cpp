#include "ui/dialogs.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <tuple>

#include "model/program_info.h"

namespace blok {
namespace {

QString WebAddress() { return "https://" + QString::fromUtf8(kWebHost); }
QString MailAddress() {
  return "mailto:" + QString::fromUtf8(kMailAddress) +
         "?subject=" + QString::fromUtf8(kProgramName);
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

TPytanieTakNieKasuj::TPytanieTakNieKasuj(QWidget* parent) : QDialog(parent) {
  setObjectName("PytanieTakNieKasuj");
  setWindowTitle("Verado. Pytanie?");
  setModal(true);
  auto* picture = new QLabel(this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(48, 48));
  question_ = new QLabel(this);
  question_->setObjectName("Pytanie");
  question_->setAlignment(Qt::AlignCenter);
  question_->setWordWrap(true);
  question_->setMinimumWidth(260);
  tak_ = Button("Button1", "Tak", this);
  nie_ = Button("Button2", "Nie", this);
  kasuj_ = Button("Kasuj", "Kasuj", this);
  connect(tak_, &QPushButton::clicked, this, [this] {
    answer_ = Answer::kTak;
    accept();
  });
  connect(nie_, &QPushButton::clicked, this, [this] {
    answer_ = Answer::kNie;
    accept();
  });
  connect(kasuj_, &QPushButton::clicked, this, [this] {
    answer_ = Answer::kKasuj;
    reject();
  });
  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addWidget(question_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(tak_);
  buttons->addWidget(nie_);
  buttons->addWidget(kasuj_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
}

Answer TPytanieTakNieKasuj::Ask(const Question& question) {
  question_->setText(QString::fromStdString(question.text));
  // The button clicked last would keep the focus, and Enter would press it again.
  for (const auto& [button, caption, answer] :
       {std::tuple{tak_, &question.tak, Answer::kTak},
        std::tuple{nie_, &question.nie, Answer::kNie},
        std::tuple{kasuj_, &question.kasuj, Answer::kKasuj}}) {
    button->setText(QString::fromStdString(*caption));
    button->setVisible(!caption->empty());
    button->setDefault(answer == question.safe);
    if (answer == question.safe) button->setFocus();
  }
  answer_ = Answer::kKasuj;
  exec();
  return answer_;
}

TOpis::TOpis(std::function<void(const std::vector<std::string>&)> copy,
             std::function<bool(const std::vector<std::string>&)> open, QWidget* parent)
    : QDialog(parent) {
  setObjectName("Opis");
  setWindowTitle("Opis");
  setSizeGripEnabled(true);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName("Tekst");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);  // the desktop's fixed font where Courier New is missing
  mono.setPixelSize(10);
  text_->setFont(mono);
  auto* copy_button = Button("Button1", "Kopiuj do schowka", this);
  close_after_copy_ = new QCheckBox("Zamknij po skopiowaniu", this);
  close_after_copy_->setObjectName("CB_Zamknij");
  close_after_copy_->setChecked(true);
  auto* open_button = Button("B_PokazNotatnik", "Pokaż tekst w notatniku", this);
  auto* back = Button("B_Powrot", "Powrót", this);
  connect(copy_button, &QPushButton::clicked, this, [this, copy] {
    copy(Lines());
    if (close_after_copy_->isChecked()) accept();
  });
  connect(open_button, &QPushButton::clicked, this, [this, open] {
    if (open(Lines())) accept();
  });
  connect(back, &QPushButton::clicked, this, &QDialog::accept);
  auto* top = new QHBoxLayout;
  top->addWidget(open_button);
  top->addStretch();
  top->addWidget(close_after_copy_);
  top->addWidget(copy_button);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);
  layout->addLayout(bottom);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screen_height = screen != nullptr ? screen->availableGeometry().height() : 800;
  resize(640, std::max(300, screen_height - 50));
}

void TOpis::ShowLines(const std::vector<std::string>& lines) {
  QStringList list;
  for (const auto& line : lines) list << QString::fromStdString(line);
  text_->setPlainText(list.join('\n'));
  exec();
}

std::vector<std::string> TOpis::Lines() const {
  std::vector<std::string> lines;
  const QString all = text_->toPlainText();
  if (all.isEmpty()) return lines;
  for (const QString& line : all.split('\n')) lines.push_back(line.toStdString());
  return lines;
}

void TOpis::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

TFormOprogramie::TFormOprogramie(QWidget* parent) : QDialog(parent) {
  setObjectName("FormOprogramie");
  setWindowTitle("O programie");
  auto* title = new QLabel("blokedit — edytor bibliotek bloków", this);
  QFont title_font = title->font();
  title_font.setPixelSize(18);
  title_font.setBold(true);
  title->setFont(title_font);
  version_ = new QLabel(this);
  version_->setObjectName("L_WersjaNr");
  QFont version_font = version_->font();
  version_font.setPixelSize(16);
  version_font.setBold(true);
  version_->setFont(version_font);
  date_ = new QLabel(this);
  date_->setObjectName("L_WersjaData");
  auto* author = new QLabel("Autor: zespół blokedit", this);
  auto* web = new QLabel("www." + QString::fromUtf8(kWebHost), this);
  auto* description = new QTextEdit(this);
  description->setObjectName("Opis");
  description->setReadOnly(true);
  description->setPlainText(
      "blokedit przygotowuje biblioteki prostych rysunków (bloków), które\n"
      "mogą zostać wstawione jako obiekty do programu VERADO.\n"
      "Bloki składają się z podstawowych składowych, którymi są linie, okręgi, łuki i opisy.\n"
      "Wymienione obiekty można edytować typowymi narzędziami dostępnymi w powszechnie \n"
      "używanych programach typu Cad.\n"
      " \n");
  description->setMinimumHeight(130);
  description->setLineWrapMode(QTextEdit::NoWrap);
  auto* www = Button("B_www", "Strona www", this);
  auto* mail = Button("BitBtn1", "E-mail", this);
  mail->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  auto* back = Button("BPowrot", "Powrót", this);
  connect(www, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(WebAddress())); });
  connect(mail, &QPushButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl(MailAddress())); });
  connect(back, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(www);
  buttons->addWidget(mail);
  buttons->addStretch();
  buttons->addWidget(back);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(version_);
  layout->addWidget(date_);
  layout->addWidget(author);
  layout->addWidget(web);
  layout->addWidget(description);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(640, 360)));
}

void TFormOprogramie::showEvent(QShowEvent* event) {
  version_->setText(" ver. " + QString::fromUtf8(kProgramVersion));
  date_->setText(" z dn. " + QString::fromUtf8(kReleaseDate));
  QDialog::showEvent(event);
}

}  // namespace blok
