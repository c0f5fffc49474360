// Facts of the installation that the Help and Web Links menus need: the support e-mail address
// and the product's web page. They are read from one place, the file "install.ini" in the
// program's folder, which the build writes from TESSIVAR_SUPPORT_EMAIL and TESSIVAR_WEB_PAGE
// and an installer may rewrite:
//
//   [Support]
//   EMail=...
//   WebPage=...
#pragma once

#include <QString>
#include <QUrl>

#include "tessivar_version.h"

namespace tessivar {

class InstallInfo {
 public:
  static constexpr const char* kFileName = "install.ini";
  // The project's version (the generated tessivar_version.h).
  static constexpr const char* kVersion = TESSIVAR_VERSION;

  // Reads programDir/install.ini; a missing file or value leaves the address empty.
  static InstallInfo read(const QString& programDir);

  QString supportEmail() const { return email_; }
  QString webPage() const { return web_; }
  // The file the values were read from, for messages.
  QString source() const { return source_; }

  // mailto: address with the subject "Tessivar 5.12.2 questions/problems." and the body
  // "How can we help?", blanks sent as %20. Invalid when no address is configured.
  QUrl mailUrl() const;
  QUrl webUrl() const { return web_.isEmpty() ? QUrl() : QUrl(web_); }

  // The box shown after the mail handler was asked (the address is on the clipboard by then).
  static QString mailFallbackTitle() {
    return QStringLiteral("If default e-Mail program was Not found.");
  }
  QString mailFallbackText() const;
  // Help > About: the program, its "Version", the maker and this installation's addresses.
  static QString aboutTitle() { return QStringLiteral("About Tessivar"); }
  QString aboutText() const;
  // The message when an address is missing from install.ini.
  QString notConfiguredText(const QString& what) const;

 private:
  QString email_, web_, source_;
};

}  // namespace tessivar
