#include "RunExecution.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Questions.h"
#include "SafeWrite.h"
#include "mdlCommonFiles.h"

namespace tessivar {

namespace {

// The name the engine gives its run log, in the working folder.
const QString kEngineRunLog = QStringLiteral("~Tirelle.out");
const QString kTitle = QStringLiteral("In 'CalcSpectrum' routine ...");

RunRefusal refusal(const QString& text, Dialogs::Icon icon = Dialogs::Icon::Warning) {
  return RunRefusal{text, kTitle, icon};
}

}  // namespace

std::variant<PreparedRun, RunRefusal> RunExecution::prepare(const QString& wanted,
                                                            const QString& meantData,
                                                            bool doublePrecision) {
  const QString path = findFile(wanted);
  AnsFileReader reader;
  if (path.isEmpty() || !reader.open(path))
    return refusal(QStringLiteral("The answer file could not be read:\r\n    %1\r\n%2\r\nSave the "
                                  "form under a new name and Calculate again.")
                       .arg(QDir::toNativeSeparators(wanted),
                            path.isEmpty() ? QStringLiteral("No such file") : reader.error()),
                   Dialogs::Icon::Critical);
  reader.ReadAnsValue();
  // The data file as the engine opens it: a relative name from the working folder.
  const QString dataValue = reader.ReadAnsValue();
  const QString dataFile = QDir::current().absoluteFilePath(dataValue);
  for (int line = 3; line <= 6; ++line) reader.ReadAnsValue();
  PreparedRun run;
  run.answerPath = path;
  run.method = reader.ReadAnsValue().trimmed();
  reader.ReadAnsValue();
  const QString pointsText = reader.ReadAnsValue();
  bool ok = false;
  const int points = pointsText.toInt(&ok);
  if (!ok || points < 1 || points > kMaxNPoints)
    return refusal(QStringLiteral("Line 9 (nPoints) of the answer file\r\n    %1\r\nholds \"%2\", "
                                  "not a whole number from 1 to %3.\r\nCorrect question 8, save "
                                  "and Calculate again.")
                       .arg(QDir::toNativeSeparators(path), pointsText)
                       .arg(kMaxNPoints),
                   Dialogs::Icon::Critical);
  // The engine raises nPoints to a power of two before it builds the spectrum; a file written
  // by hand (or by an older program) may hold any value, so the arrays take the raised size.
  run.arrayPoints = roundNPoints(pointsText).value_or(pointsText).toInt();
  run.dataFile = dataValue;
  // The model orders (questions 9 and 10), kept where the method asks for them.
  const QList<int> asked = requiredList(run.method);
  for (int question = 9; question <= 10; ++question) {
    bool whole = false;
    const int order = reader.ReadAnsValue().toInt(&whole);
    if (whole && asked.contains(question)) (question == 9 ? run.nPoles : run.nZeros) = order;
  }

  // A path the engine cannot open would only end in the file-error box; say why instead.
  if (const std::optional<QString> problem = engineDataPathProblem(dataValue, meantData)) {
    const QString wayOn =
        dataValue.size() > kEngineLineWidth
            ? QStringLiteral("Move the data file to a shorter path")
            : QStringLiteral("Rename the data file or its folders with plain letters and digits");
    return refusal(QStringLiteral("The engine cannot open the data file\r\n    %1\r\n%2\r\n%3, "
                                  "choose it again and Calculate.")
                       .arg(QDir::toNativeSeparators(dataFile), *problem, wayOn));
  }
  // A pipe or a device would keep the engine waiting or reading without end. (A folder is the
  // engine's own file error.)
  if (const QFileInfo data(dataFile); data.exists() && !data.isFile() && !data.isDir())
    return refusal(QStringLiteral("The data file\r\n    %1\r\nis no file on disk but a pipe or a "
                                  "device, which the engine cannot read to its end.\r\n"
                                  "Choose a data file saved on disk, then Calculate again.")
                       .arg(QDir::toNativeSeparators(dataFile)));
  if (isUtf16Text(dataFile))
    return refusal(QStringLiteral("The data file\r\n    %1\r\nis UTF-16 text; the engine reads "
                                  "single-byte text only.\r\nSave the file as plain (ANSI) "
                                  "text, then Calculate again.")
                       .arg(QDir::toNativeSeparators(dataFile)));

  run.entry = engine_.entry();
  run.stoppableEntry = engine_.stoppableEntry();
  if (!run.entry)
    return refusal(engine_.error() + QStringLiteral("\r\nReinstall Tessivar so that the engine "
                                                    "library stands beside the program."),
                   Dialogs::Icon::Critical);
  run.doublePrecision = doublePrecision;
  if (doublePrecision && !run.stoppableEntry)
    return refusal(QStringLiteral("The engine library\r\n    %1\r\ncomputes in single precision "
                                  "only.\r\nTurn off View > Double-precision arithmetic, or "
                                  "reinstall Tessivar, then Calculate again.")
                       .arg(QDir::toNativeSeparators(engine_.path())));

  // Without its run log the engine cannot run, and every reason it gives is written there: a
  // log that cannot be written is reported here, before the run.
  const QString log = QDir::current().filePath(kEngineRunLog);
  if (const std::optional<QString> why = writeRefusal(log))
    return refusal(QStringLiteral("The run log cannot be written:\r\n    %1\r\n%2\r\nMake "
                                  "the folder '%3' writable and clear the log's place, then "
                                  "Calculate again.")
                       .arg(QDir::toNativeSeparators(log), *why,
                            QDir::toNativeSeparators(QDir::currentPath())),
                   Dialogs::Icon::Critical);
  QFile::remove(log);
  return run;
}

RunResults RunExecution::execute(const PreparedRun& run, int* stopFlag) {
  const QDateTime started = QDateTime::currentDateTime();
  RunResults r = callEngine(run.entry, run.answerPath, run.arrayPoints, run.stoppableEntry,
                            stopFlag, run.doublePrecision);
  r.RunMethod = run.method;
  r.DataFile = run.dataFile;
  r.nPoints = run.arrayPoints;
  r.nPoles = run.nPoles;
  r.nZeros = run.nZeros;
  r.RunTime = started;
  r.doublePrecision = run.doublePrecision;
  return r;
}

RunOutcome RunExecution::outcomeOf(const RunResults& r) {
  if (r.nptsZ >= 1) return r.zeroFillZ == -99.0f ? RunOutcome::NoPlot : RunOutcome::Spectrum;
  return r.nptsZ == -9 ? RunOutcome::Stopped : RunOutcome::FileError;
}

}  // namespace tessivar
