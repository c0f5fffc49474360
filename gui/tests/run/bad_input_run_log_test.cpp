// Calculate when the engine's run log cannot be written: the run is not started, a message says
// which file and why, and the form keeps its answers. The tests run as an administrator, whom
// the system lets write almost anywhere, so the log's place is blocked in ways that hold for
// everyone: a folder of the log's name, or files and folders without any write permission bit.
#include <QTabWidget>

#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

using Answer = Dialogs::Answer;
using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;

// An engine that stops without writing any run log.
int stopsWithoutLog(const char*, float*, float*, int* nptsZ, int*, float*, float*, float*, float*,
                    int) {
  *nptsZ = -9;
  return 0;
}

class RunLogBlocked : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    saveRunForm();
    before = answers();
  }
  void TearDown() override {
    // Give the folder back its permissions so that the temporary folder can be removed.
    QFile::setPermissions(form->userDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup);
  }

  QStringList answers() {
    QStringList out;
    for (const char* name : {"timeData", "nSkip", "TotalLines", "nPoints", "windowName", "Note1"})
      out << box(name)->text();
    out << w<QComboBox>("Methods")->currentText() << form->state().AnsName;
    out << QString::number(form->state().DataChanged);
    return out;
  }

  QString logPath() const { return form->userDir() + "/~Tirelle.out"; }

  // Calculate is refused before the run with reason; the form is as it was and can run again.
  void expectRefused(const QString& reason) {
    dialogs.clear();
    form->cmdSubmit_Click();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const auto box0 = dialogs.messages()[0];
    EXPECT_EQ(box0.title, "In 'CalcSpectrum' routine ...");
    EXPECT_EQ(box0.text, "The run log cannot be written:\r\n    " + logPath() + "\r\n" + reason +
                             "\r\nMake the folder '" + form->userDir() +
                             "' writable and clear the log's place, then Calculate again.");
    EXPECT_EQ(box0.icon, Icon::Critical);
    EXPECT_EQ(box0.buttons, Buttons::Ok);
    EXPECT_EQ(form->results().nptsZ, 0) << "the engine was not called";
    EXPECT_EQ(answers(), before);
    EXPECT_EQ(w<QTabWidget>("Plot_Tabs")->currentIndex(), 0);
    EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
  }

  QStringList before;
};

}  // namespace

TEST_F(RunLogBlocked, AFolderInTheLogsPlaceIsReportedAndTheNextRunWorks) {
  ASSERT_TRUE(QDir().mkdir(logPath()));
  expectRefused("A folder of that name stands in its place.");

  // Once the place is free the same form runs with the real engine.
  ASSERT_TRUE(QDir().rmdir(logPath()));
  dialogs.clear();
  form->cmdSubmit_Click();
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(form->results().nptsZ, 64);
  EXPECT_TRUE(QFileInfo(logPath()).isFile());
}

TEST_F(RunLogBlocked, ReadOnlyLogOrUserFolderIsReported) {
  writeBytes(logPath(), " an earlier run\r\n");
  ASSERT_TRUE(QFile::setPermissions(logPath(), QFile::ReadOwner | QFile::ReadGroup));
  expectRefused("The file is read-only.");
  EXPECT_EQ(readBytes(logPath()), " an earlier run\r\n");

  ASSERT_TRUE(QFile::remove(logPath()));
  ASSERT_TRUE(QFile::setPermissions(
      form->userDir(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup));
  expectRefused("Its folder '" + form->userDir() + "' is read-only.");
  EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(RunLogBlocked, AnEngineStopWithoutLogSaysSoAndNoOlderLogIsQuoted) {
  writeBytes(logPath(), " an earlier run's last line\r\n");
  form->engine().setEntry(&stopsWithoutLog);
  dialogs.clear();
  form->cmdSubmit_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const auto stop = dialogs.messages()[0];
  EXPECT_EQ(stop.title, "Calculation stopped.");
  EXPECT_EQ(stop.text, "The engine stopped before it could write its run log in\r\n    " +
                           form->userDir() +
                           "\r\nCheck that this folder can be written, then Calculate again.");
  EXPECT_EQ(stop.icon, Icon::Warning);
  EXPECT_EQ(stop.buttons, Buttons::Ok);
  EXPECT_EQ(answers(), before);
  EXPECT_TRUE(w<QPushButton>("cmdSubmit")->isEnabled());
}

TEST(WriteRefusal, NamesWhyAPathCannotBeWritten) {
  QTemporaryDir dir;
  const QString free = dir.filePath("log.out");
  EXPECT_EQ(writeRefusal(free), std::nullopt);
  writeBytes(free, "x");
  EXPECT_EQ(writeRefusal(free), std::nullopt);
  EXPECT_EQ(writeRefusal(dir.filePath("no/such/log.out")),
            "Its folder '" + dir.filePath("no/such") + "' does not exist.");
  ASSERT_TRUE(QDir().mkdir(dir.filePath("taken.out")));
  EXPECT_EQ(writeRefusal(dir.filePath("taken.out")), "A folder of that name stands in its place.");
  ASSERT_TRUE(QFile::setPermissions(free, QFile::ReadOwner));
  EXPECT_EQ(writeRefusal(free), "The file is read-only.");
}
