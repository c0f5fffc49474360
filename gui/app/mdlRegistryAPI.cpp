#include "mdlRegistryAPI.h"

#include <QSettings>
#include <memory>

namespace tessivar {

namespace {

const QString kOrganisation = QStringLiteral("Harnwell Labs");
const QString kApplication = QStringLiteral("Tessivar");

// The key "Software\Harnwell Labs" itself. On Windows an empty application name would mean
// its "OrganizationDefaults" subkey, so the key is named in full there.
std::unique_ptr<QSettings> organisationKey() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Harnwell Labs"),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(kOrganisation, QString());
#endif
}

}  // namespace

void clearFileIn() {
  const std::unique_ptr<QSettings> organisation = organisationKey();
  const QSettings program(kOrganisation, kApplication);
  const bool keyExists = !organisation->childKeys().isEmpty() || !program.allKeys().isEmpty();
  if (keyExists) organisation->setValue(QStringLiteral("fileIn"), QString());
}

}  // namespace tessivar
