// The intro window of a first start: what the program does, a word on zero padding, and three
// ways on: run a demo, create your own data, or leave.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tessivar {

class frmIntro : public QWidget {
  Q_OBJECT

 public:
  explicit frmIntro(QWidget* parent = nullptr);

 public slots:
  void cmdRunIntro_Click() { emit runDemo(); }
  void cmdCreateIntro_Click() { emit createData(); }
  void cmdExitIntro_Click();

 signals:
  void runDemo();
  void createData();

 private:
  QLabel *lblTitleIntro, *lblSentence1, *lblSentence2;
  QPushButton *cmdRunIntro, *cmdCreateIntro, *cmdExitIntro;
};

}  // namespace tessivar
