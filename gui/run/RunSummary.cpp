#include "RunSummary.h"

#include <QStringList>

namespace tessivar {

QString runSummaryText(const QString& runFile, const QString& date, const QString& time) {
  const QStringList lines = {
      QStringLiteral("        ----") + QString(53, ' '),
      QStringLiteral("Tessivar (tm) Results\t\t     ") + date + ' ' + time,
      QStringLiteral("      --------\t\t=========================="),
      QStringLiteral("        ----") + (QStringLiteral("File: ") + runFile).leftJustified(53, ' '),
      QStringLiteral(" "),
      QStringLiteral(" "),
      QStringLiteral(" ================ Summary of Run ================="),
      QStringLiteral(" ================================================="),
  };
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace tessivar
