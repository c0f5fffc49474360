// The run without a window: what prepare() refuses and why, the arrays it sizes, the engine call
// and what each status means.
#include "RunExecution.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tessivar;

namespace {

// A stand-in entry: records the array size it was given and answers with a fixed status.
struct RecordingEntry {
  static inline int capacity = 0;
  static int entry(const char*, float*, float*, int* nptsZ, int* npointsZ, float*, float*,
                   float* zeroFillZ, float*, int) {
    capacity = *npointsZ;
    *nptsZ = 100;
    *npointsZ = capacity / 2;
    *zeroFillZ = 0;
    return 0;
  }
};

class RunExecutionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    engine.setEntry(&RecordingEntry::entry);
    QFile data(dir.filePath("real.rda"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write("1 0.5\r\n2 0.25\r\n");
  }
  void TearDown() override { QDir::setCurrent(previous); }

  // An answer file of 21 lines: the data file on line 2, the method on 7, nPoints on 9.
  QString answerFile(const QString& data, const QString& method, const QString& points) {
    QStringList lines(21, QStringLiteral("-999"));
    lines[0] = QStringLiteral("note");
    lines[1] = data;
    lines[6] = method;
    lines[8] = points;
    QFile f(dir.filePath("run.1"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    return f.fileName();
  }

  QTemporaryDir dir;
  QString previous;
  EngineLibrary engine;
};

TEST_F(RunExecutionTest, RefusesWhatTheEngineCouldNotRunAndNamesTheFile) {
  ASSERT_EQ(mkfifo(dir.filePath("pipe.rda").toLocal8Bit().constData(), 0600), 0);
  struct Case {
    const char* data;
    const char* points;
    bool answerFileExists;
    const char* textHas;
  };
  const Case cases[] = {
      {"real.rda", "1024", false, "No such file"},
      {"real.rda", "many", true, "holds \"many\", not a whole number from 1 to 16384"},
      {"real.rda", "0", true, "not a whole number"},
      {"real.rda", "32768", true, "not a whole number"},
      {"pipe.rda", "1024", true, "is no file on disk but a pipe or a device"},
  };
  for (const Case& c : cases) {
    QString path = answerFile(c.data, QStringLiteral("Burg"), c.points);
    if (!c.answerFileExists) path = dir.filePath("missing.1");
    RunExecution runner(engine);
    const auto prepared = runner.prepare(path, {});
    const RunRefusal* refusal = std::get_if<RunRefusal>(&prepared);
    ASSERT_NE(refusal, nullptr) << c.points << " " << c.data;
    EXPECT_TRUE(refusal->text.contains(QString::fromLatin1(c.textHas)))
        << refusal->text.toStdString();
    EXPECT_EQ(refusal->title, QStringLiteral("In 'CalcSpectrum' routine ..."));
  }
}

TEST_F(RunExecutionTest, SizesTheArraysAsTheEngineRaisesNPointsAndClearsTheOldLog) {
  QFile old(dir.filePath("~Tirelle.out"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(" an earlier run\r\n");
  old.close();
  RunExecution runner(engine);
  const auto prepared = runner.prepare(answerFile("real.rda", "  Burg  ", "1000"), {});
  const PreparedRun* run = std::get_if<PreparedRun>(&prepared);
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run->arrayPoints, 1024);
  EXPECT_EQ(run->method, QStringLiteral("Burg"));
  EXPECT_FALSE(QFile::exists(dir.filePath("~Tirelle.out")));

  const RunResults r = RunExecution::execute(*run);
  EXPECT_EQ(RecordingEntry::capacity, 1024);
  EXPECT_EQ(r.x_array.size(), 1024u);
  EXPECT_EQ(r.npointsZ, 512);
  EXPECT_EQ(r.RunMethod, QStringLiteral("Burg"));
}

// What names the run in an exported spectrum: the data file as written, nPoints as raised, the
// orders of lines 10 and 11 where the method asks for them, the time of the call.
TEST_F(RunExecutionTest, KeepsTheDataFileTheOrdersTheMethodTakesAndTheTime) {
  const struct {
    const char* method;
    const char* poles;
    const char* zeros;
    std::optional<int> nPoles, nZeros;
  } cases[] = {
      {"Burg", "8", "-999", 8, std::nullopt},
      {"Mayne-Firoozan", "2", "3", 2, 3},
      {"Durbin", "-999", "4", std::nullopt, 4},
      {"Periodogram", "10", "0", std::nullopt, std::nullopt},
      {"Burg", "-999", "2", std::nullopt, std::nullopt},
  };
  RunExecution runner(engine);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    QStringList lines(21, QStringLiteral("-999"));
    lines[1] = QStringLiteral("real.rda");
    lines[6] = c.method;
    lines[8] = QStringLiteral("100");
    lines[9] = c.poles;
    lines[10] = c.zeros;
    QFile f(dir.filePath("orders.1"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    f.close();
    const auto prepared = runner.prepare(f.fileName(), {});
    const PreparedRun* run = std::get_if<PreparedRun>(&prepared);
    ASSERT_NE(run, nullptr);
    const QDateTime before = QDateTime::currentDateTime();
    const RunResults r = RunExecution::execute(*run);
    EXPECT_EQ(r.DataFile, QStringLiteral("real.rda"));
    EXPECT_EQ(r.nPoints, 128);
    EXPECT_EQ(r.nPoles, c.nPoles);
    EXPECT_EQ(r.nZeros, c.nZeros);
    EXPECT_LE(before.secsTo(r.RunTime), 1);
    EXPECT_GE(before.secsTo(r.RunTime), -1);
  }
}

TEST(RunOutcomeTest, StatusAndZeroFillTellTheOutcome) {
  struct Case {
    int nptsZ;
    float zeroFill;
    RunOutcome expected;
  };
  const Case cases[] = {
      {1, 0.0f, RunOutcome::Spectrum},    {1000, 2.0f, RunOutcome::Spectrum},
      {1000, -99.0f, RunOutcome::NoPlot}, {0, 0.0f, RunOutcome::FileError},
      {-7, 0.0f, RunOutcome::FileError},  {-8, 0.0f, RunOutcome::FileError},
      {-9, 0.0f, RunOutcome::Stopped},
  };
  for (const Case& c : cases) {
    RunResults r;
    r.nptsZ = c.nptsZ;
    r.zeroFillZ = c.zeroFill;
    EXPECT_EQ(RunExecution::outcomeOf(r), c.expected) << c.nptsZ << " " << c.zeroFill;
  }
}

}  // namespace
