// Start-up paths and settings: the base folder from the program's folder, the per-user folder
// of a read-only installation, Tessivar.ini, the last answer-file folder, the installation's
// addresses and the single-byte text they are written in.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "FolderNames.h"
#include "InstallInfo.h"
#include "LastPath.h"
#include "SingleByte.h"
#include "StartPath.h"
#include "TessivarIni.h"

using namespace tessivar;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

QByteArray readBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// programs/Tessivar (the program's folder) and its base folder programs/Tessivar/user with the
// key example and a data file.
struct Install {
  QTemporaryDir root;
  QString program, base, user;
  Install(const QString& baseName = "Tessivar", const QString& userName = "user",
          const QString& programName = "Tessivar") {
    program = root.path() + "/programs/" + programName;
    base = root.path() + "/programs/" + baseName;
    user = base + "/" + userName;
    QDir().mkpath(program);
    QDir().mkpath(user);
    writeBytes(user + "/Ex-Auto.0", "Ex-Auto.0  \t\t! example\r\n");
    writeBytes(user + "/Real.Rda", "0 1\r\n");
  }
};

}  // namespace

TEST(StartPath, BaseFolderFromTheProgramsFolder) {
  struct Case {
    QString program;
    QString base;  // empty: refused
  };
  const std::vector<Case> cases = {
      {"/", ""},          // the root itself
      {"/Tessivar", ""},  // directly below the root
      {"/opt/Tessivar", QDir::toNativeSeparators("/opt/Tessivar")},
      {"/opt/Tessivar/", QDir::toNativeSeparators("/opt/Tessivar")},
      {"/opt/HL-Tools/bin", QDir::toNativeSeparators("/opt/HL-Tools/Tessivar")},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartPath::baseDirFor(c.program), c.base) << c.program.toStdString();
  }
}

TEST(StartPath, NamesMatchedWithoutRegardToCase) {
  Install inst("tessivar", "User", "bin");
  const QString base = StartPath::baseDirFor(inst.program);
  EXPECT_EQ(base, QDir::toNativeSeparators(inst.base));
  EXPECT_EQ(matchInFolder(inst.user, "ex-auto.0"),
            QDir::toNativeSeparators(inst.user + "/Ex-Auto.0"));
  EXPECT_EQ(matchInFolder(inst.base, "user"), QDir::toNativeSeparators(inst.user));
  // No entry of that name at all: the name as given.
  EXPECT_EQ(matchInFolder(inst.user, "new.1"), QDir::toNativeSeparators(inst.user + "/new.1"));
}

TEST(StartPath, WritableInstallationIsUsedAsItIs) {
  Install inst;
  QTemporaryDir perUser;
  const auto loc = StartPath(perUser.path()).locate(inst.program);
  ASSERT_EQ(loc.status, StartLocation::Status::Ok);
  EXPECT_FALSE(loc.perUser);
  EXPECT_EQ(loc.baseDir, QDir::toNativeSeparators(inst.base));
  EXPECT_EQ(loc.userDir, QDir::toNativeSeparators(inst.user));
  EXPECT_TRUE(loc.text.isEmpty());
}

TEST(StartPath, ProgramInTheRootIsRefusedWithItsMessage) {
  const auto loc = StartPath("/nowhere").locate("/Tessivar");
  EXPECT_EQ(loc.status, StartLocation::Status::TooCloseToRoot);
  EXPECT_EQ(loc.title, "In 'Start_Path' routine ... Exiting!");
  EXPECT_EQ(loc.text,
            "Missing Tessivar's base directory, \\HL-Tools; Can't proceed without it.\r\n"
            "Did you re-boot since installing Tessivar?\r\n"
            "Please re-boot or re-install Tessivar AND re-boot.");
}

// A read-only installation: the user folder's files are copied to the per-user folder, the
// examples stay read-only there, and the message names both folders.
TEST(StartPath, ReadOnlyInstallationMovesToAPerUserFolder) {
  Install inst;
  QTemporaryDir perUser;
  const QString installedUser = QDir::toNativeSeparators(inst.user);
  StartPath start(perUser.path(), [&](const QString& folder) {
    return !QDir::toNativeSeparators(folder).startsWith(QDir::toNativeSeparators(inst.base));
  });
  const auto loc = start.locate(inst.program);
  ASSERT_EQ(loc.status, StartLocation::Status::Ok) << loc.text.toStdString();
  EXPECT_TRUE(loc.perUser);
  EXPECT_TRUE(loc.perUserNew);
  EXPECT_EQ(loc.userDir, QDir::toNativeSeparators(perUser.path() + "/user"));
  EXPECT_TRUE(loc.text.contains(installedUser)) << loc.text.toStdString();
  EXPECT_TRUE(loc.text.contains(loc.userDir)) << loc.text.toStdString();
  EXPECT_EQ(readBytes(loc.userDir + "/Real.Rda"), "0 1\r\n");
  const auto perms = QFile::permissions(loc.userDir + "/Ex-Auto.0");
  EXPECT_FALSE(perms & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
  EXPECT_TRUE(QFile::permissions(loc.userDir + "/Real.Rda") & QFile::WriteOwner);

  // A second start keeps what the user has changed in the per-user folder, and uses the
  // folder without a note; a data file the user deleted comes back from the installation.
  writeBytes(loc.userDir + "/Real.Rda", "changed");
  const auto again = start.locate(inst.program);
  EXPECT_EQ(readBytes(loc.userDir + "/Real.Rda"), "changed");
  EXPECT_TRUE(again.perUser);
  EXPECT_FALSE(again.perUserNew);
  EXPECT_EQ(again.userDir, loc.userDir);
  QFile::remove(loc.userDir + "/Real.Rda");
  start.locate(inst.program);
  EXPECT_EQ(readBytes(loc.userDir + "/Real.Rda"), "0 1\r\n");
}

TEST(StartPath, MissingBaseFolderIsNamedInTheMessage) {
  QTemporaryDir root, perUser;
  const QString program = root.path() + "/programs/bin";
  QDir().mkpath(program);
  const auto loc = StartPath(perUser.path()).locate(program);
  EXPECT_EQ(loc.status, StartLocation::Status::NotFound);
  EXPECT_TRUE(loc.text.contains(QDir::toNativeSeparators(root.path() + "/programs/Tessivar")))
      << loc.text.toStdString();
  EXPECT_TRUE(loc.text.contains("re-install")) << loc.text.toStdString();
}

TEST(TessivarIni, FirstStartWritesThreeLines) {
  QTemporaryDir base;
  TessivarIni ini(base.path());
  ASSERT_FALSE(ini.exists());
  IniValues v;
  IniError err;
  const QDate day(2026, 12, 7);
  ASSERT_TRUE(ini.startIni(v, err, day)) << err.description.toStdString();
  EXPECT_EQ(v.userName, "no name");
  EXPECT_EQ(v.timeFactor, 1.0f);
  const QByteArray expected = QByteArray("Tessivar\x99 Program") + QByteArray(17, ' ') +
                              QLocale::system().toString(day, QLocale::ShortFormat).toLatin1() +
                              "\r\n1             ! Increase if COMMAND still active and stops "
                              "your run\r\nno name             ! User name\r\n";
  EXPECT_EQ(readBytes(ini.path()), expected);
  EXPECT_TRUE(ini.exists());
}

TEST(TessivarIni, LaterStartsReadLinesTwoAndThree) {
  struct Case {
    QByteArray text;
    float factor;
    QString user;
  };
  const std::vector<Case> cases = {
      {"header\r\n2.5   ! factor\r\nAda Lovelace   ! User name\r\n", 2.5f, "Ada Lovelace"},
      {"header\r\n1\t\t! factor\r\n\tBob\t! name\r\n", 1.0f, "Bob"},
      {"header\r\n-999   ! factor\r\n-999.5   ! name\r\n", 1.0f, ""},  // "-999..." is empty
      {"header\r\nfast ! factor\r\nno name\r\n", 1.0f, "no name"},     // not a number: 1
  };
  for (const auto& c : cases) {
    QTemporaryDir base;
    writeBytes(base.path() + "/Tessivar.ini", c.text);
    IniValues v;
    IniError err;
    ASSERT_TRUE(TessivarIni(base.path()).startIni(v, err)) << c.text.toStdString();
    EXPECT_EQ(v.timeFactor, c.factor) << c.text.toStdString();
    EXPECT_EQ(v.userName, c.user) << c.text.toStdString();
    EXPECT_EQ(readBytes(base.path() + "/Tessivar.ini"), c.text) << "read, never rewritten";
  }
}

TEST(TessivarIni, UnwritableFileIsAnErrorNamingTheFolder) {
  QTemporaryDir base;
  TessivarIni missing(base.path() + "/no/such/folder");
  IniValues v;
  IniError err;
  EXPECT_FALSE(missing.startIni(v, err));
  EXPECT_EQ(err.number, 75);
  EXPECT_TRUE(err.description.contains("no/such/folder")) << err.description.toStdString();
  EXPECT_EQ(missing.errorTitle(), "In 'Start_INI' routine ...");
  EXPECT_EQ(missing.errorText(err), "Unexpected error #75 occured: \r\nPath =" + base.path() +
                                        "/no/such/folder\r\n" + err.description +
                                        ". Suggest re-installing Tessivar.");
}

TEST(LastPath, OnlyAnAbsolutePathOfThePlatformIsAccepted) {
  struct Case {
    QString stored;
    bool accepted;
  };
#ifdef Q_OS_WIN
  const std::vector<Case> cases = {{"d:\\x", true}, {"D:/x", true}, {"\\\\server\\x", false},
                                   {"abc", false},  {"", false},    {"/x", false}};
#else
  const std::vector<Case> cases = {
      {"/home/ada/runs", true}, {"/", true}, {"abc", false}, {"d:\\x", false},
      {"\\\\server\\x", false}, {"", false}, {"./x", false}};
#endif
  QTemporaryDir dir;
  for (const auto& c : cases) {
    EXPECT_EQ(LastPath::acceptable(c.stored), c.accepted) << c.stored.toStdString();
    QSettings s(dir.path() + "/s.ini", QSettings::IniFormat);
    s.setValue("LastFilePath", c.stored);
    const QString got = LastPath::get(s, "USERDIR");
    EXPECT_EQ(got, c.accepted ? QDir::toNativeSeparators(c.stored) : QString("USERDIR"))
        << c.stored.toStdString();
  }
  QSettings empty(dir.path() + "/empty.ini", QSettings::IniFormat);
  EXPECT_EQ(LastPath::get(empty, "USERDIR"), "USERDIR") << "no value stored yet";
}

TEST(InstallInfo, AddressesFromInstallIni) {
  QTemporaryDir dir;
  writeBytes(dir.path() + "/install.ini",
             "[Support]\nEMail=help@lab.example\nWebPage=https://lab.example/class\n");
  const auto info = InstallInfo::read(dir.path());
  EXPECT_EQ(info.supportEmail(), "help@lab.example");
  EXPECT_EQ(info.webUrl(), QUrl("https://lab.example/class"));
  EXPECT_EQ(info.mailUrl().toString(QUrl::FullyEncoded),
            "mailto:help@lab.example?subject=Tessivar%205.12.2%20questions/"
            "problems.&body=How%20can%20we%20help?");
  EXPECT_TRUE(info.mailFallbackText().contains("help@lab.example"));
  EXPECT_TRUE(info.mailFallbackText().contains("('Cntl V' will retrieve our e-mail address!)"));

  QTemporaryDir none;
  const auto missing = InstallInfo::read(none.path());
  EXPECT_TRUE(missing.supportEmail().isEmpty());
  EXPECT_FALSE(missing.mailUrl().isValid());
  EXPECT_TRUE(missing.notConfiguredText("support e-mail address").contains("install.ini"));
}

TEST(SingleByte, CodePageOfTheProgramsFiles) {
  struct Case {
    QString text;
    QByteArray bytes;
  };
  const std::vector<Case> cases = {
      {"plain", "plain"},
      {QString::fromUtf8("1. \u00bb  File"), "1. \xBB  File"},
      {QString::fromUtf8("Tessivar\u2122"), "Tessivar\x99"},
      {QString::fromUtf8("\u20ac \u00e9"), "\x80 \xE9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toSingleByte(c.text), c.bytes) << c.text.toStdString();
    EXPECT_EQ(fromSingleByte(c.bytes), c.text) << c.text.toStdString();
  }
  EXPECT_EQ(toSingleByte(QString::fromUtf8("\u4e2d")), "?") << "not in the code page";
}
