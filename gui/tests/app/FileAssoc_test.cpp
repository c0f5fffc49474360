// File association over settings stores standing for the class registry.
#include "FileAssoc.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <memory>

using tessivar::FileAssoc;

namespace {

struct Stores {
  QTemporaryDir dir;
  std::unique_ptr<FileAssoc> assoc() {
    return std::make_unique<FileAssoc>(
        std::make_unique<QSettings>(dir.path() + "/classes.ini", QSettings::IniFormat),
        std::make_unique<QSettings>(dir.path() + "/user.ini", QSettings::IniFormat));
  }
};

}  // namespace

TEST(FileAssoc, RegisterWritesTheFourKeys) {
  Stores s;
  auto a = s.assoc();
  ASSERT_EQ(
      a->RegisterAssociation("Out", "c:\\windows", "notePad", "Zephq Output", "c:\\icons\\log.ico"),
      0);
  using H = FileAssoc::Hive;
  EXPECT_EQ(a->GetAssociation("Out"), "notePad");
  EXPECT_EQ(a->ReadString(H::ClassesRoot, "notePad", "", "?"), "Zephq Output");
  EXPECT_EQ(a->ReadString(H::ClassesRoot, "notePad\\DefaultIcon", "", "?"), "c:\\icons\\log.ico,0");
  EXPECT_EQ(a->ReadString(H::ClassesRoot, "notePad\\shell\\open\\command", "", "?"),
            "\"c:\\windows\\notePad\" %1");
}

// The directory gets its trailing separator once, in the style it is written in.
TEST(FileAssoc, CommandLineHasTheTrailingSeparator) {
  struct Case {
    const char* dir;
    const char* command;
  };
  const std::vector<Case> cases = {
      {"c:\\windows", "\"c:\\windows\\notePad\" %1"},
      {"c:\\windows\\", "\"c:\\windows\\notePad\" %1"},
      {"/usr/bin", "\"/usr/bin/notePad\" %1"},
      {"/usr/bin/", "\"/usr/bin/notePad\" %1"},
  };
  for (const auto& c : cases) {
    Stores s;
    auto a = s.assoc();
    a->RegisterAssociation("Out", c.dir, "notePad", "Zephq Output", "");
    EXPECT_EQ(a->ReadString(FileAssoc::Hive::ClassesRoot, "notePad\\shell\\open\\command", "", ""),
              c.command)
        << c.dir;
    EXPECT_EQ(a->ReadString(FileAssoc::Hive::ClassesRoot, "notePad\\DefaultIcon", "", "none"),
              "none")
        << "no icon key without an icon";
  }
}

TEST(FileAssoc, FirstStartLeavesAnExistingAssociationAlone) {
  Stores s;
  auto a = s.assoc();
  a->WriteString(FileAssoc::Hive::ClassesRoot, ".Out", "", "MyViewer");
  EXPECT_FALSE(a->registerRunLogViewer());
  EXPECT_EQ(a->GetAssociation("Out"), "MyViewer");
  EXPECT_EQ(a->ReadString(FileAssoc::Hive::ClassesRoot, "notePad", "", "absent"), "absent");
}

TEST(FileAssoc, FirstStartRegistersTheRunLogViewer) {
  Stores s;
  auto a = s.assoc();
  ASSERT_TRUE(a->GetAssociation("Out").isEmpty());
  EXPECT_TRUE(a->registerRunLogViewer());
  const QString type = a->GetAssociation("Out");
  EXPECT_FALSE(type.isEmpty());
  EXPECT_EQ(a->ReadString(FileAssoc::Hive::ClassesRoot, type, "", ""), "Zephq Output");
  const QString command =
      a->ReadString(FileAssoc::Hive::ClassesRoot, type + "\\shell\\open\\command", "", "");
  EXPECT_TRUE(command.endsWith(type + "\" %1")) << command.toStdString();
  // Kept across a new store object: it is in the file, not only in memory.
  EXPECT_EQ(s.assoc()->GetAssociation("Out"), type);
  EXPECT_FALSE(s.assoc()->registerRunLogViewer());
}

TEST(FileAssoc, ReadStringFallsBackOnMissingOrEmpty) {
  Stores s;
  auto a = s.assoc();
  using H = FileAssoc::Hive;
  a->WriteString(H::CurrentUser, "Software\\Harnwell Labs", "fileIn", "   ");
  a->WriteString(H::CurrentUser, "Software\\Harnwell Labs\\Tessivar", "LastFilePath", " /runs ");
  EXPECT_EQ(a->ReadString(H::CurrentUser, "Software\\Harnwell Labs", "fileIn", "dflt"), "dflt");
  EXPECT_EQ(a->ReadString(H::CurrentUser, "Software\\Nobody", "x", "dflt"), "dflt");
  EXPECT_EQ(a->ReadString(H::CurrentUser, "Software\\Harnwell Labs\\Tessivar", "LastFilePath", ""),
            "/runs");
  EXPECT_EQ(
      a->ReadString(H::ClassesRoot, "Software\\Harnwell Labs\\Tessivar", "LastFilePath", "no"),
      "no")
      << "the two hives are separate";
}
