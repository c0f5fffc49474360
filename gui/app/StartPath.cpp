#include "StartPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "FolderNames.h"
#include "SafeWrite.h"

namespace tessivar {

namespace {

const QString kTooCloseTitle = QStringLiteral("In 'Start_Path' routine ... Exiting!");
const QString kTooCloseText = QStringLiteral(
    "Missing Tessivar's base directory, \\HL-Tools; Can't proceed without it.\r\n"
    "Did you re-boot since installing Tessivar?\r\n"
    "Please re-boot or re-install Tessivar AND re-boot.");
const QString kKeyExample = QStringLiteral("ex-auto.0");

bool isDir(const QString& path) {
  return QFileInfo(path).isDir();
}

// Copies the files of `from` that `to` does not have yet. Example answer files ("Ex*") are
// left read-only, as installed; everything else writable. False when a copy fails; failed then
// names the file and the reason.
bool copyMissing(const QString& from, const QString& to, QString& failed) {
  const QStringList files = QDir(from).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : files) {
    if (name.startsWith('~')) continue;  // an old run log is no installation file
    const QString target = matchInFolder(to, name);
    if (QFileInfo::exists(target)) continue;
    const QString dst = joinPath(to, name);
    if (const std::optional<QString> reason = copyFileSafely(joinPath(from, name), dst)) {
      failed = dst + QStringLiteral(": ") + *reason;
      return false;
    }
    QFile::Permissions p = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    if (!name.startsWith(QStringLiteral("ex"), Qt::CaseInsensitive)) p |= QFile::WriteOwner;
    QFile::setPermissions(dst, p);
  }
  return true;
}

}  // namespace

StartPath::StartPath(QString perUserBase, WritableTest writable)
    : perUserBase_(std::move(perUserBase)), writable_(std::move(writable)) {
  if (!writable_) writable_ = &StartPath::probeWritable;
}

QString StartPath::baseDirFor(const QString& programDir) {
  if (programDir.trimmed().isEmpty()) return {};
  const QString program =
      QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(programDir)).absoluteFilePath());
  if (QDir(program).isRoot()) return {};
  const QString parent = QFileInfo(program).path();
  if (parent.isEmpty() || QDir(parent).isRoot()) return {};
  return matchInFolder(QDir::toNativeSeparators(parent), QStringLiteral("Tessivar"));
}

bool StartPath::probeWritable(const QString& folder) {
  if (!isDir(folder)) return false;
  QTemporaryFile probe(joinPath(folder, QStringLiteral(".tessivar-write-test-XXXXXX")));
  return probe.open();
}

StartLocation StartPath::locate(const QString& programDir) const {
  StartLocation loc;
  const QString base = baseDirFor(programDir);
  if (base.isEmpty()) {
    loc.status = StartLocation::Status::TooCloseToRoot;
    loc.title = kTooCloseTitle;
    loc.text = kTooCloseText;
    return loc;
  }
  const QString user = matchInFolder(base, QStringLiteral("user"));
  if (!isDir(user)) {
    return usePerUser({}, QStringLiteral("Tessivar's base folder %1 was not found, or it has no "
                                         "\"user\" folder.")
                              .arg(QDir::toNativeSeparators(user)));
  }
  if (!writable_(user) || !writable_(base)) {
    return usePerUser(user, QStringLiteral("The folder %1 cannot be written (a read-only "
                                           "installation).")
                                .arg(writable_(user) ? base : user));
  }
  loc.status = StartLocation::Status::Ok;
  loc.baseDir = base;
  loc.userDir = user;
  return loc;
}

StartLocation StartPath::usePerUser(const QString& installedUser, const QString& why) const {
  StartLocation loc;
  loc.title = QStringLiteral("Tessivar: base folder");
  const QString base = QDir::toNativeSeparators(perUserBase_);
  const QString user = joinPath(base, QStringLiteral("user"));
  QString failed;
  const bool fresh = !QFileInfo::exists(matchInFolder(user, kKeyExample));
  const bool made = !perUserBase_.isEmpty() && QDir().mkpath(user) && writable_(user) &&
                    (installedUser.isEmpty() || copyMissing(installedUser, user, failed));
  if (!made || !QFileInfo::exists(matchInFolder(user, kKeyExample))) {
    loc.status = StartLocation::Status::NotFound;
    loc.text = why + QStringLiteral(
                         "\r\nNo per-user folder could stand in for it (%1).\r\n"
                         "Please re-install Tessivar.")
                         .arg(failed.isEmpty() ? user : failed);
    return loc;
  }
  loc.status = StartLocation::Status::Ok;
  loc.perUser = true;
  loc.perUserNew = fresh;
  loc.baseDir = base;
  loc.userDir = user;
  loc.text = why + QStringLiteral(
                       "\r\nTessivar keeps your answer files, settings and run logs in "
                       "%1 instead.")
                       .arg(user);
  return loc;
}

}  // namespace tessivar
