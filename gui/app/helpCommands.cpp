// The Help and Web Links menus of frmMain: the manual, the support e-mail, the about box and the
// product's web page. The addresses are the installation's (install.ini in the program's folder).
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "FolderNames.h"
#include "InstallInfo.h"
#include "StartPath.h"
#include "frmMain.h"

namespace tessivar {

namespace {

const QString kManual = QStringLiteral("manual.html");

}  // namespace

void frmMain::mnuHelpManual_Click() {
  // The manual stands in the base folder; a per-user base folder has none, so the installed
  // one is read then.
  QString manual = matchInFolder(baseDir_, kManual);
  if (!QFileInfo(manual).isFile()) {
    const QString installed = StartPath::baseDirFor(programDir_);
    if (!installed.isEmpty() && QFileInfo(matchInFolder(installed, kManual)).isFile())
      manual = matchInFolder(installed, kManual);
  }
  if (!QFileInfo(manual).isFile()) {
    dialogs_.message(QStringLiteral("The manual %1 was not found.\r\nPlease re-install Tessivar.")
                         .arg(QDir::toNativeSeparators(manual)),
                     QStringLiteral("Manual not found."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  if (!dialogs_.openDocument(manual))
    dialogs_.message(QStringLiteral("No viewer could be started for\r\n    %1\r\nOpen it with a "
                                    "web browser of your choice.")
                         .arg(QDir::toNativeSeparators(manual)),
                     QStringLiteral("Manual not opened."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
}

void frmMain::mnuHelpEmail_Click() {
  const InstallInfo info = InstallInfo::read(programDir_);
  if (info.supportEmail().isEmpty()) {
    dialogs_.message(info.notConfiguredText(QStringLiteral("support e-mail address")),
                     QStringLiteral("E-mail Support"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  dialogs_.openUrl(info.mailUrl());
  // Whether or not a mail program came up, the address can be pasted from the clipboard.
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(info.supportEmail());
  dialogs_.message(info.mailFallbackText(), InstallInfo::mailFallbackTitle(), Dialogs::Buttons::Ok,
                   Dialogs::Icon::Warning);
}

void frmMain::mnuHelpAbout_Click() {
  const InstallInfo info = InstallInfo::read(programDir_);
  dialogs_.message(info.aboutText(), InstallInfo::aboutTitle(), Dialogs::Buttons::Ok,
                   Dialogs::Icon::None);
}

void frmMain::mnuWebLink_Click() {
  const InstallInfo info = InstallInfo::read(programDir_);
  if (!info.webUrl().isValid()) {
    dialogs_.message(info.notConfiguredText(QStringLiteral("web page")),
                     QStringLiteral("Spectral Estimation Class"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  if (!dialogs_.openUrl(info.webUrl()))
    dialogs_.message(QStringLiteral("No web browser could be started for\r\n    %1\r\nOpen the "
                                    "address in a browser of your choice.")
                         .arg(info.webUrl().toString()),
                     QStringLiteral("Spectral Estimation Class"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
}

}  // namespace tessivar
