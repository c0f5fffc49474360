#include "OutputBox.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace tessivar {

void WidgetOutputBox::clear() {
  text_.clear();
  if (widget_) widget_->clear();
}

void WidgetOutputBox::append(const QString& text) {
  text_ += text;
  if (!widget_) return;
  // The widget breaks lines at LF; a CR left in would show as a stray character.
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QTextCursor end(widget_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
}

}  // namespace tessivar
