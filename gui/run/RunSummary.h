// The header that the Output box gets before a run's plot: program, date and time, the run's
// answer file and the summary banner.
#pragma once

#include <QString>

namespace tessivar {

// The header text, lines separated by CR LF (no break before the first line). runFile is shown
// as given, padded with blanks behind "File: " to 53 characters.
QString runSummaryText(const QString& runFile, const QString& date, const QString& time);

}  // namespace tessivar
