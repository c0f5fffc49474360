// The Output tab's text box as plotting writes to it: emptied, then appended to. The window
// adapts its text widget to this; tests keep the text in a string.
#pragma once

#include <QString>

class QPlainTextEdit;

namespace tessivar {

class OutputBox {
 public:
  virtual ~OutputBox() = default;
  virtual void clear() = 0;
  // Appends text as it stands; lines after the first start with CR LF.
  virtual void append(const QString& text) = 0;
};

class StringOutputBox : public OutputBox {
 public:
  void clear() override { text_.clear(); }
  void append(const QString& text) override { text_ += text; }
  const QString& text() const { return text_; }

 private:
  QString text_;
};

// The Output tab's text widget as an OutputBox. The widget shows the lines; the text as written,
// with its CR LF line ends, stays available for copying and saving.
class WidgetOutputBox : public OutputBox {
 public:
  explicit WidgetOutputBox(QPlainTextEdit* widget) : widget_(widget) {}
  void clear() override;
  void append(const QString& text) override;
  const QString& text() const { return text_; }

 private:
  QPlainTextEdit* widget_;
  QString text_;
};

}  // namespace tessivar
