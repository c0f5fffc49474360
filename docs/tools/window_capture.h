// What the manual's screenshot tools share: a user folder filled with the examples, letting a
// window lay itself out and paint, and taking a window's picture off the X display with
// ImageMagick's import (so the tools run under a virtual display).
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QWidget>
#include <cstdio>
#include <vector>

#include "Dialogs.h"

namespace tessivar::shots {

// Prints why the tool gave up, and the boxes the program showed meanwhile; the exit status 1.
inline int fail(const char* tool, const QString& why, const ScriptedDialogs* boxes = nullptr) {
  std::fprintf(stderr, "%s: %s\n", tool, qPrintable(why));
  for (const auto& m : boxes ? boxes->messages() : std::vector<ScriptedDialogs::Call>{})
    std::fprintf(stderr, "%s: box %s: %s\n", tool, qPrintable(m.title), qPrintable(m.text));
  return 1;
}

// Lets the window lay itself out and paint for a while.
inline void settle(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Copies the examples (not run logs) into user; the name of the first file that could not be
// copied, empty when all were.
inline QString copyExamples(const QDir& examples, const QString& user) {
  for (const QString& name : examples.entryList(QDir::Files)) {
    if (name.startsWith('~') || name.endsWith(QStringLiteral(".out"), Qt::CaseInsensitive))
      continue;
    if (!QFile::copy(examples.filePath(name), user + '/' + name)) return name;
  }
  return {};
}

// The window's place on the display, as the display shows it.
inline bool capture(const QWidget& window, const QString& path) {
  const QRect r = window.frameGeometry();
  const QString crop =
      QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
  return QProcess::execute(QStringLiteral("import"),
                           {QStringLiteral("-window"), QStringLiteral("root"),
                            QStringLiteral("-crop"), crop, QStringLiteral("+repage"), path}) == 0;
}

}  // namespace tessivar::shots
