// Shows QStrings as readable text in test failures, with CR LF and TAB spelled out.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
  QString shown = s;
  shown.replace("\r\n", "\\r\\n").replace("\t", "\\t");
  *os << '"' << shown.toStdString() << '"';
}
