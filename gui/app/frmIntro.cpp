#include "frmIntro.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DemoCatalog.h"

namespace tessivar {

namespace {

QLabel* makeLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  return label;
}

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

frmIntro::frmIntro(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmIntro"));
  setWindowTitle(introTexts::caption);
  // A label shows its text as it stands: the doubled ampersand of the title is one "&".
  lblTitleIntro = makeLabel("lblTitleIntro", QString(introTexts::title).replace("&&", "&"), this);
  lblTitleIntro->setAlignment(Qt::AlignCenter);
  QFont titleFont = lblTitleIntro->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  titleFont.setBold(true);
  lblTitleIntro->setFont(titleFont);
  lblSentence1 = makeLabel("lblSentence1", introTexts::sentence1, this);
  lblSentence2 = makeLabel("lblSentence2", introTexts::sentence2, this);

  cmdRunIntro = makeButton("cmdRunIntro", introTexts::runDemo, this);
  cmdCreateIntro = makeButton("cmdCreateIntro", introTexts::createData, this);
  cmdExitIntro = makeButton("cmdExitIntro", introTexts::exit, this);
  connect(cmdRunIntro, &QPushButton::clicked, this, &frmIntro::cmdRunIntro_Click);
  connect(cmdCreateIntro, &QPushButton::clicked, this, &frmIntro::cmdCreateIntro_Click);
  connect(cmdExitIntro, &QPushButton::clicked, this, &frmIntro::cmdExitIntro_Click);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->setSpacing(14);
  layout->addWidget(lblTitleIntro);
  layout->addWidget(lblSentence1);
  layout->addWidget(lblSentence2);
  layout->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdRunIntro);
  buttons->addWidget(cmdCreateIntro);
  buttons->addStretch(1);
  buttons->addWidget(cmdExitIntro);
  layout->addLayout(buttons);
  cmdRunIntro->setDefault(true);
  resize(560, 300);
}

void frmIntro::cmdExitIntro_Click() {
  // With no other window open, closing the intro ends the program.
  close();
}

}  // namespace tessivar
