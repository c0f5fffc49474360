// Where the program finds its files. The base folder BaseDir is the folder "Tessivar" beside the
// program's folder (normally the program's folder itself); its "user" folder holds the answer
// files, the examples and their data, and the engine's run log, and is the working directory
// while the program runs.
//
// A program that sits in a file system's root, or directly below it, has no base folder and is
// refused. A base folder that is missing, or whose user folder cannot be written (a read-only
// installation), is replaced by a per-user folder: the installed user folder's files are copied
// there (the examples read-only again; files the user already has are kept) and, at the start
// that sets the folder up, the user is told which folder is used instead.
#pragma once

#include <QString>
#include <functional>

namespace tessivar {

struct StartLocation {
  enum class Status {
    Ok,              // baseDir and userDir are usable
    TooCloseToRoot,  // the program's folder is a root or directly below one: stop
    NotFound,        // no base folder and no usable per-user folder: stop
  };
  Status status = Status::NotFound;
  QString baseDir;  // holds Tessivar.ini (the per-user base folder when perUser)
  QString userDir;  // answer files, examples, data, run log
  bool perUser = false;
  // perUser only: the per-user folder was set up at this start (it had no key example yet).
  // Later starts use it without a word, as any installed program uses its user's files.
  bool perUserNew = false;
  // The box to show: for a stop, the reason; for perUser, which folder is used instead.
  QString title;
  QString text;
};

class StartPath {
 public:
  // Tells whether the program may create and replace files in a folder; replaceable in tests.
  using WritableTest = std::function<bool(const QString& folder)>;

  // perUserBase: the per-user base folder to fall back on, for example
  // QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).
  explicit StartPath(QString perUserBase, WritableTest writable = {});

  // Start_Path: finds BaseDir from the program's folder (QCoreApplication::applicationDirPath()).
  StartLocation locate(const QString& programDir) const;

  // The base folder named by the program's folder: its parent + "/Tessivar", spelled as on disk.
  // Empty when the program's folder is a root or directly below one.
  static QString baseDirFor(const QString& programDir);

  // A folder the program can write in: a probe file can be created and removed there.
  static bool probeWritable(const QString& folder);

 private:
  StartLocation usePerUser(const QString& installedUser, const QString& why) const;

  QString perUserBase_;
  WritableTest writable_;
};

}  // namespace tessivar
