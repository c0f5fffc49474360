// A main window over a fresh base folder, with scripted prompts and private settings.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "Dialogs.h"
#include "frmMain.h"
#include "mdlCommonFiles.h"

namespace tessivar::testing {

inline QByteArray readBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

// Lines of a CR LF file without their line ends.
inline QList<QByteArray> fileLines(const QString& path) {
  QList<QByteArray> lines = readBytes(path).split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QByteArray& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
  }
  return lines;
}

class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(base.isValid());
    QSettings("Harnwell Labs", "Tessivar").clear();
    QSettings("Harnwell Labs", QString()).clear();
    form = std::make_unique<frmMain>(dialogs, base.path());
    form->engine().setPath(QStringLiteral(VOXTREL_SHARED_LIBRARY));
  }

  template <class T>
  T* w(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QLineEdit* box(const char* name) { return w<QLineEdit>(name); }
  QLineEdit* textBox(int question) {
    static const char* const names[] = {"nPoles", "nZeros", "EPS", "Mode", "Meqn",
                                        "Lpts",   "mLag",   "NIT", "PER",  "windowName"};
    return box(names[question - 9]);
  }
  QString user(const QString& name) const { return form->userDir() + '/' + name; }

  // A real-data file of n points (x = index, y = a sine) in the user folder.
  QString writeData(const QString& name, int n) {
    QByteArray text = "header line\r\n";
    for (int i = 0; i < n; ++i)
      text += QByteArray::number(i) + " " + QByteArray::number(std::sin(0.7 * i), 'g', 7) + "\r\n";
    writeBytes(user(name), text);
    return user(name);
  }

  void chooseMethod(const QString& method) {
    w<QComboBox>("Methods")->setCurrentIndex(methodEntries().indexOf(method));
    form->Methods_LostFocus();
  }

  void chooseData(const QString& path) {
    dialogs.file(path);
    form->cmdFileData_Click();
  }

  // A complete periodogram form with a 64-point data file, saved as user/run.1.
  void saveRunForm(const QString& method = "Periodogram") {
    chooseData(writeData("sig.rda", 64));
    chooseMethod(method);
    box("nSkip")->setText("1");
    box("TotalLines")->setText("0");
    box("nPoints")->setText("64");
    box("windowName")->setText("Rectangular");
    w<QRadioButton>("optReal")->setChecked(true);
    w<QRadioButton>("optNo")->setChecked(true);
    dialogs.file(user("run.1"));
    ASSERT_TRUE(form->FileSaveAs());
    dialogs.clear();
  }

  // Titles of the message boxes shown so far.
  QStringList titles() const {
    QStringList out;
    for (const auto& call : dialogs.messages()) out << call.title;
    return out;
  }

  bool isRed(int question) {
    return w<QLabel>(qPrintable(QStringLiteral("Question_%1").arg(question)))
               ->palette()
               .color(QPalette::WindowText) == QColor(255, 0, 0);
  }

  QTemporaryDir base;
  ScriptedDialogs dialogs;
  std::unique_ptr<frmMain> form;
};

}  // namespace tessivar::testing
