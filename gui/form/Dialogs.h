// Every prompt the program shows goes through Dialogs: message boxes, the open, save, colour
// and printer dialogs, and handing a file or an address to the desktop. The window uses
// QtDialogs; tests use ScriptedDialogs, which answers from a script and records every call.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

namespace tessivar {

class Dialogs {
 public:
  enum class Icon { None, Warning, Question, Critical };
  enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
  enum class Answer { Ok, Cancel, Yes, No };

  // An open or save dialog. filter uses the program's "Label|patterns|Label|patterns" form;
  // filterIndex counts from 1.
  struct FileRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
    QString initialDir;
    QString fileName;
  };

  virtual ~Dialogs() = default;

  virtual Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<QString> openFile(const FileRequest& request) = 0;
  virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
  virtual std::optional<QColor> pickColor(const QColor& initial) = 0;
  // Lets the user choose the printer and its settings; false when cancelled.
  virtual bool choosePrinter(QPrinter& printer) = 0;
  // Opens a file in the desktop's viewer for its type (run logs, the manual, examples).
  virtual bool openDocument(const QString& path) = 0;
  // Opens a web or mail address with the desktop's handler.
  virtual bool openUrl(const QUrl& url) = 0;
  virtual void beep() {}
};

// Converts "All Files (*.*)|*.*|Text Files (*.txt)|*.txt" into Qt's "a;;b" filter list.
QStringList qtFilters(const QString& programFilter);

// What a file dialog's name box shows for an offered name: a stem with any extension ("sf.*")
// as the stem and its point ("sf."), so that only the extension is left to type; a name that
// is all wildcards ("*.*") as nothing; any other name as it is.
QString nameBoxText(const QString& offered);

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
  std::optional<QString> openFile(const FileRequest& request) override;
  std::optional<QString> saveFile(const FileRequest& request) override;
  std::optional<QColor> pickColor(const QColor& initial) override;
  bool choosePrinter(QPrinter& printer) override;
  bool openDocument(const QString& path) override;
  bool openUrl(const QUrl& url) override;
  void beep() override;

 private:
  QWidget* parent_;
};

// Answers prompts from a script, in order, and records each one. A prompt with no scripted
// answer left gets the safe answer: Cancel (or No where there is no Cancel), no file, no colour.
class ScriptedDialogs : public Dialogs {
 public:
  struct Call {
    QString kind;  // "message", "open", "save", "color", "printer", "document", "url"
    QString title;
    QString text;  // message text, or the file request's file name, or the path / address
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    FileRequest request;
  };

  void answer(Answer a) { answers_.push_back(a); }
  // The next file dialog's answer; an empty path stands for Cancel.
  void file(const QString& path) { files_.push_back(path); }
  void color(std::optional<QColor> c) { colors_.push_back(c); }
  void printer(bool accept) { printers_.push_back(accept); }
  // Whether the desktop finds a viewer for the documents opened from now on.
  void documentOpens(bool opens) { documentOpens_ = opens; }

  const std::vector<Call>& calls() const { return calls_; }
  // The message boxes shown, in order.
  std::vector<Call> messages() const;
  void clear() { calls_.clear(); }

  Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
  std::optional<QString> openFile(const FileRequest& request) override;
  std::optional<QString> saveFile(const FileRequest& request) override;
  std::optional<QColor> pickColor(const QColor& initial) override;
  bool choosePrinter(QPrinter& printer) override;
  bool openDocument(const QString& path) override;
  bool openUrl(const QUrl& url) override;

 private:
  std::deque<Answer> answers_;
  std::deque<QString> files_;
  std::optional<QString> nextFile();
  std::deque<std::optional<QColor>> colors_;
  std::deque<bool> printers_;
  bool documentOpens_ = true;
  std::vector<Call> calls_;
};

}  // namespace tessivar
