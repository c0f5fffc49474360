#include "InstallInfo.h"

#include <QSettings>

#include "FolderNames.h"

namespace tessivar {

InstallInfo InstallInfo::read(const QString& programDir) {
  InstallInfo info;
  info.source_ = matchInFolder(programDir, QString::fromLatin1(kFileName));
  QSettings ini(info.source_, QSettings::IniFormat);
  info.email_ = ini.value(QStringLiteral("Support/EMail")).toString().trimmed();
  info.web_ = ini.value(QStringLiteral("Support/WebPage")).toString().trimmed();
  return info;
}

QUrl InstallInfo::mailUrl() const {
  if (email_.isEmpty()) return {};
  QString text = QStringLiteral("mailto:") + email_ + QStringLiteral("?subject=Tessivar ") +
                 QString::fromLatin1(kVersion) +
                 QStringLiteral(" questions/problems.&body=How can we help?");
  text.replace(' ', QStringLiteral("%20"));
  return QUrl(text, QUrl::TolerantMode);
}

QString InstallInfo::mailFallbackText() const {
  return QStringLiteral("Please e-mail your question to ") + email_ +
         QStringLiteral(" with the subject \"Tessivar ") + QString::fromLatin1(kVersion) +
         QStringLiteral(" questions/problems\".\r\n") +
         QStringLiteral("('Cntl V' will retrieve our e-mail address!)");
}

QString InstallInfo::aboutText() const {
  QString text = QStringLiteral("Tessivar (tm) for Spectral Estimators\r\nVersion ") +
                 QString::fromLatin1(kVersion) + QStringLiteral("\r\nHarnwell Labs");
  if (!web_.isEmpty()) text += QStringLiteral("\r\n") + web_;
  if (!email_.isEmpty()) text += QStringLiteral("\r\nSupport: ") + email_;
  return text;
}

QString InstallInfo::notConfiguredText(const QString& what) const {
  return QStringLiteral("No %1 is set for this installation.\r\nAdd it to %2 (section [Support]).")
      .arg(what, source_);
}

}  // namespace tessivar
