// The Demos tab's catalogue against the installed examples.
#include "DemoCatalog.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "FolderNames.h"
#include "SingleByte.h"

#ifndef TESSIVAR_EXAMPLES_DIR
#error "TESSIVAR_EXAMPLES_DIR (the user folder holding the examples) must be defined by the build"
#endif

using namespace tessivar;

// Every entry names an installed example; the file's method line is the method its description
// names (the zero-padding series are periodograms).
TEST(DemoCatalog, EveryEntryIsAnInstalledExampleOfItsMethod) {
  struct Row {
    int index;
    const char* method;
  };
  const std::vector<Row> rows = {
      {0, "Periodogram"},
      {1, "Periodogram"},
      {2, "Periodogram"},
      {3, "Periodogram"},
      {4, "Periodogram"},
      {5, "Auto-Correlation"},
      {6, "Burg"},
      {7, "Covariance"},
      {8, "Modified Covariance"},
      {9, "RMLE"},
      {10, "Lockheed (Autocorr/Burg)"},
      {11, "Durbin"},
      {12, "MYWE"},
      {13, "LSMYWE"},
      {14, "Mayne-Firoozan"},
      {15, "Periodogram"},
      {16, "Blackman-Tukey"},
      {17, "MVSE"},
  };
  ASSERT_EQ(rows.size(), demoCatalog().size());
  for (const auto& row : rows) {
    const DemoEntry& e = demoCatalog().at(row.index);
    QFile f(matchInFolder(TESSIVAR_EXAMPLES_DIR, e.file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << e.file.toStdString();
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GE(lines.size(), 7);
    const QString method = fromSingleByte(lines[6]).section('!', 0, 0).trimmed();
    EXPECT_EQ(method, row.method) << e.file.toStdString();
    if (row.index >= 5 && row.index != 10) {
      const QString named = QString(row.method).section(' ', 0, 0);
      EXPECT_TRUE(e.description.contains(named, Qt::CaseInsensitive)) << e.file.toStdString();
    }
  }
}

TEST(DemoCatalog, LookupIgnoresCase) {
  ASSERT_NE(findDemo("ex-auto.0"), nullptr);
  EXPECT_EQ(findDemo("ex-auto.0")->file, demoTexts::defaultDemo);
  EXPECT_EQ(findDemo("EX-0-PAD.8K")->runTime, "~20");
  EXPECT_EQ(findDemo(""), nullptr) << "no example chosen";
  EXPECT_EQ(findDemo("Ex-Akaike.0"), nullptr);
}
