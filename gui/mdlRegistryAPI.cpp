#include "mdlRegistryAPI.h"

#include <QSettings>

namespace tessivar {

namespace {

const QString kOrganisation = QStringLiteral("Harnwell Labs");
const QString kApplication = QStringLiteral("Tessivar");

}  // namespace

QString lastFilePath() {
  const QSettings settings(kOrganisation, kApplication);
  return settings.value(QStringLiteral("LastFilePath")).toString();
}

void setLastFilePath(const QString& dir) {
  QSettings settings(kOrganisation, kApplication);
  settings.setValue(QStringLiteral("LastFilePath"), dir);
}

void clearFileIn() {
  QSettings organisation(kOrganisation, QString());
  const QSettings program(kOrganisation, kApplication);
  const bool keyExists = !organisation.childKeys().isEmpty() || !program.allKeys().isEmpty();
  if (keyExists) organisation.setValue(QStringLiteral("fileIn"), QString());
}

}  // namespace tessivar
