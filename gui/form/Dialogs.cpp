#include "Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace tessivar {

QStringList qtFilters(const QString& programFilter) {
  const QStringList parts = programFilter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    out << QStringLiteral("%1 (%2)").arg(parts[i].section(" (", 0, 0), patterns);
  }
  return out;
}

QString nameBoxText(const QString& offered) {
  // "sf.*" means: sf with any extension. The box gets "sf." and the user types the extension.
  if (offered.endsWith(QStringLiteral(".*"))) {
    const QString stem = offered.chopped(1);
    return stem.contains('*') || stem.contains('?') || stem == QStringLiteral(".") ? QString()
                                                                                   : stem;
  }
  return offered.contains('*') || offered.contains('?') ? QString() : offered;
}

Dialogs::Answer QtDialogs::message(const QString& text, const QString& title, Buttons buttons,
                                   Icon icon) {
  QMessageBox box(parent_);
  box.setWindowTitle(title);
  // The program's texts break lines with CR LF; the box wants a plain line feed.
  box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  switch (icon) {
    case Icon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case Icon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case Icon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case Icon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  switch (buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const Dialogs::FileRequest& r, bool save) {
  QFileDialog dialog(parent, r.title, r.initialDir);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the program asks itself
  const QStringList filters = qtFilters(r.filter);
  dialog.setNameFilters(filters);
  if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[r.filterIndex - 1]);
  if (const QString name = nameBoxText(r.fileName); !name.isEmpty()) dialog.selectFile(name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> QtDialogs::openFile(const FileRequest& request) {
  return runFileDialog(parent_, request, false);
}

std::optional<QString> QtDialogs::saveFile(const FileRequest& request) {
  return runFileDialog(parent_, request, true);
}

std::optional<QColor> QtDialogs::pickColor(const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent_);
  if (!c.isValid()) return std::nullopt;
  return c;
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  // Printing to a PDF file is offered beside the printers, and is all that is offered where
  // no printer is installed, so that a plot can always be printed.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::openDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDialogs::openUrl(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

void QtDialogs::beep() {
  QApplication::beep();
}

std::vector<ScriptedDialogs::Call> ScriptedDialogs::messages() const {
  std::vector<Call> out;
  for (const Call& c : calls_) {
    if (c.kind == "message") out.push_back(c);
  }
  return out;
}

Dialogs::Answer ScriptedDialogs::message(const QString& text, const QString& title, Buttons buttons,
                                         Icon icon) {
  calls_.push_back({"message", title, text, buttons, icon, {}});
  if (!answers_.empty()) {
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::optional<QString> ScriptedDialogs::openFile(const FileRequest& request) {
  calls_.push_back({"open", request.title, request.fileName, Buttons::Ok, Icon::None, request});
  return nextFile();
}

std::optional<QString> ScriptedDialogs::saveFile(const FileRequest& request) {
  calls_.push_back({"save", request.title, request.fileName, Buttons::Ok, Icon::None, request});
  return nextFile();
}

std::optional<QString> ScriptedDialogs::nextFile() {
  if (files_.empty()) return std::nullopt;
  const QString f = files_.front();
  files_.pop_front();
  if (f.isEmpty()) return std::nullopt;
  return f;
}

std::optional<QColor> ScriptedDialogs::pickColor(const QColor& initial) {
  calls_.push_back({"color", {}, initial.name(), Buttons::Ok, Icon::None, {}});
  if (colors_.empty()) return std::nullopt;
  auto c = colors_.front();
  colors_.pop_front();
  return c;
}

bool ScriptedDialogs::choosePrinter(QPrinter&) {
  calls_.push_back({"printer", {}, {}, Buttons::Ok, Icon::None, {}});
  if (printers_.empty()) return false;
  const bool ok = printers_.front();
  printers_.pop_front();
  return ok;
}

bool ScriptedDialogs::openDocument(const QString& path) {
  calls_.push_back({"document", {}, path, Buttons::Ok, Icon::None, {}});
  return documentOpens_;
}

bool ScriptedDialogs::openUrl(const QUrl& url) {
  calls_.push_back({"url", {}, url.toString(), Buttons::Ok, Icon::None, {}});
  return true;
}

}  // namespace tessivar
