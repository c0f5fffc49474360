// The File menu of frmMain: answer files written from and read into the form, and the New,
// Open, Save, Save As, Delete and Exit commands with their prompts.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <vector>

#include "LastPath.h"
#include "frmMain.h"
#include "mdlCommonFiles.h"

namespace tessivar {

namespace {

const QString kInputFilter = QStringLiteral(
    "All Files (*.*)|*.*|Input Files (*.?\?)|*.?;*.??|Example Input Files (Ex*.?\?)|Ex*.?;Ex*.??");

}  // namespace

void frmMain::showFileError(const QString& routine, const QString& path, const QString& error) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QFileInfo(folder).isDir()) {
    dialogs_.message(QStringLiteral("This drive or path does not exist: ") + path,
                     QStringLiteral("In '%1' routine ...").arg(routine), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return;
  }
  // The form keeps its answers: the user can pick another file or save under another name.
  dialogs_.message(QStringLiteral("Unexpected error #75 occured: Path/File access error\r\n"
                                  "    File = %1\r\n    %2\r\n"
                                  "Check the file's name and permissions, then try again.")
                       .arg(QDir::toNativeSeparators(path), error),
                   QStringLiteral("In '%1' routine ...").arg(routine), Dialogs::Buttons::Ok,
                   Dialogs::Icon::Critical);
}

void frmMain::WriteAnsFile(const QString& name, const QString& dir) {
  if (!PutAnswers()) {
    s_.WriteError = true;
    return;
  }
  // isCompleteTest fixes the method's questions and warns about blanks; the file is written
  // all the same, so half-finished work can be kept.
  isCompleteTest();
  if (!charactersKept()) {
    s_.WriteError = true;
    return;
  }
  s_.Answers[5] = kNoValue;
  const QByteArray text = ansFileText(name, s_, s_.RequiredList, QDateTime::currentDateTime());
  QString path = dir + '/' + name;
  if (const QString existing = findFile(path); !existing.isEmpty()) path = existing;
  const QString title = QStringLiteral("File not saved; Error in 'WriteAnsFile' routine.");
  if (const std::optional<QString> refusal = writeRefusal(path)) {
    s_.WriteError = true;
    qWarning("WriteAnsFile: %s: %s", qPrintable(path), qPrintable(*refusal));
    dialogs_.message(
        QStringLiteral("File Path\\FileName error occured: \r\n"
                       "    Path = %1\r\n"
                       "    FileName = %2\r\n"
                       "\r\n"
                       "If these are okay then the error may be do to following:\r\n"
                       "  Ex*.?? files in Pellmor's User directory are for 'read-only'.\r\n"
                       "  Do not save changes in these Example files.  Save changes under other "
                       "names.")
            .arg(dir, name),
        title, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return;
  }
  // A full disk or a file size limit shows only while writing; the file on disk is kept whole.
  if (const std::optional<QString> error = writeFileSafely(path, text)) {
    s_.WriteError = true;
    dialogs_.message(QStringLiteral("The answer file could not be written:\r\n    %1\r\n%2\r\n"
                                    "The file on disk is unchanged and the form keeps your "
                                    "answers. Free some room on the disk, or save under "
                                    "another name with File > Save As.")
                         .arg(QDir::toNativeSeparators(path), *error),
                     title, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return;
  }
  s_.WriteError = false;
}

bool frmMain::charactersKept() {
  // The answers that go into the file, with the control each comes from.
  struct Field {
    QString name;
    QString text;
    QWidget* control;
  };
  std::vector<Field> fields;
  for (int i = 1; i <= kQuestionCount; ++i) {
    const bool typed = i == 1 || i == 2 || i == 3 || i >= 8;  // 4 to 7 are choices
    if (!typed || (i >= 9 && !s_.RequiredList.contains(i))) continue;
    fields.push_back({QStringLiteral("Question %1").arg(i), s_.Answers[i], questionControl(i)});
  }
  fields.push_back({QStringLiteral("Note 1"), s_.Note1, Note1});
  fields.push_back({QStringLiteral("Note 2"), s_.Note2, Note2});

  QStringList lines;
  QWidget* first = nullptr;
  for (const Field& f : fields) {
    const QStringList lost = unsavableCharacters(f.text);
    if (lost.isEmpty()) continue;
    lines << QStringLiteral("    ") + f.name + QStringLiteral(": ") + lost.join(' ');
    if (!first) first = f.control;
  }
  if (lines.isEmpty()) return true;
  if (dialogs_.message(QStringLiteral("The answer file is single-byte text and cannot keep these "
                                      "characters:\r\n") +
                           lines.join(QStringLiteral("\r\n")) +
                           QStringLiteral("\r\nSaved, each of them becomes \"?\". Press Cancel "
                                          "to go back and change them, or OK to save them as "
                                          "\"?\"."),
                       QStringLiteral("Characters that cannot be saved"),
                       Dialogs::Buttons::OkCancel, Dialogs::Icon::Warning) == Dialogs::Answer::Ok)
    return true;
  Plot_Tabs->setCurrentIndex(0);
  first->setFocus();
  return false;
}

bool frmMain::ReadAnsFile(const QString& name, const QString& dir) {
  const QString wanted = dir + '/' + name;
  const QString path = findFile(wanted);
  QString error = QStringLiteral("No such file");
  const std::optional<AnsFileContents> contents =
      path.isEmpty() ? std::nullopt : readAnsFileContents(path, &error);
  if (!contents) {
    showFileError(QStringLiteral("ReadAnsFile"), wanted, error);
    return false;
  }
  // A file the form cannot show is refused as a whole: a half-loaded form would silently mix
  // its answers with the ones it had.
  if (const std::optional<QString> problem = ansFileProblem(*contents)) {
    dialogs_.message(QStringLiteral("'%1' cannot be used as an answer file:\r\n%2\r\nThe form "
                                    "keeps its answers. Open another file, or correct this "
                                    "one in a text editor.")
                         .arg(QDir::toNativeSeparators(path), *problem),
                     QStringLiteral("In 'ReadAnsFile' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
    return false;
  }
  // The data file stays the one the file names, with its folder, so that a run of the file as
  // it is and a run after an edit and save read the same data. A bare name, as the examples
  // store it, means the working (user) folder, where the engine looks for it too.
  s_.Answers = contents->Answers;
  s_.Note1 = contents->Note1;
  s_.Note2 = contents->Note2;
  const bool usable = GetAnswers();  // an unusable nPoints has been reported once already
  s_.DataChanged = false;
  if (usable) isComplete();
  return true;
}

void frmMain::FileNew() {
  SaveChangesQuery();  // whatever the answer, New goes on to its own question
  if (dialogs_.message(QStringLiteral("Okay to Clear responses?"),
                       QStringLiteral("Confirm 'New' Response."), Dialogs::Buttons::OkCancel,
                       Dialogs::Icon::Question) != Dialogs::Answer::Ok)
    return;
  for (QString& answer : s_.Answers) answer.clear();
  s_.Answers[6] = QStringLiteral("Auto-Correlation");
  s_.DataName.clear();
  s_.DataDir = QDir::currentPath();
  s_.Note1.clear();
  s_.Note2.clear();
  s_.AnsName = kNewDataName;
  s_.AnsDir = QDir::currentPath();
  GetAnswers();
  ShowFilename();
  s_.DataChanged = false;
  nSkip->setFocus();
}

void frmMain::FileOld() {
  cmdSubmit->setEnabled(true);
  SaveChangesQuery();  // whatever the answer, the open dialog follows
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Open Input File");
  request.filter = kInputFilter;
  request.filterIndex = 2;
  request.initialDir = dialogDir_;
  const std::optional<QString> chosen = dialogs_.openFile(request);
  if (!chosen) return;
  QString dir;
  const QString name = SplitPath(QDir::fromNativeSeparators(*chosen), dir);
  if (!ReadAnsFile(name, dir)) return;  // the form and its file stay as they were
  s_.AnsName = name;
  s_.AnsDir = dir;
  QSettings settings;
  LastPath::set(settings, dir);
  dialogDir_ = dir;
  ShowFilename();
  s_.WriteError = false;
}

void frmMain::FileSave() {
  s_.WriteError = false;
  // The file is looked for where it was opened or saved.
  if (s_.AnsName == QStringLiteral("*.*") || !FileExists(runPath())) {
    FileSaveAs();
    return;
  }
  if (!PutAnswers()) return;
  WriteAnsFile(s_.AnsName, s_.AnsDir);
  if (!s_.WriteError) s_.DataChanged = false;
}

bool frmMain::FileSaveAs() {
  s_.WriteError = false;
  if (!PutAnswers()) return false;  // nothing is asked or written with an unusable nPoints
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Save Input File As ... (No spaces in name!)");
  request.filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
  request.filterIndex = 1;
  request.initialDir = dialogDir_;
  request.fileName = saveAsOfferedName(s_.AnsName);
  const std::optional<QString> chosen = dialogs_.saveFile(request);
  if (!chosen) return false;
  const QString path = QDir::fromNativeSeparators(*chosen);
  // The title names the file that would be replaced, as it is spelled on disk: in another
  // case the name could stand for another file.
  const QString existing = findFile(path);
  if (!existing.isEmpty() &&
      dialogs_.message(QStringLiteral("File exists, want to replace it?"),
                       QStringLiteral("Replace ") + QDir::toNativeSeparators(existing) +
                           QStringLiteral(" file?"),
                       Dialogs::Buttons::YesNo, Dialogs::Icon::Question) != Dialogs::Answer::Yes)
    return false;

  const QString oldName = s_.AnsName, oldDir = s_.AnsDir;
  s_.AnsName = SplitPath(path, s_.AnsDir);
  dialogDir_ = s_.AnsDir;
  WriteAnsFile(s_.AnsName, s_.AnsDir);
  if (s_.WriteError) {
    // The form still holds unsaved answers and still belongs to its old file.
    s_.WriteError = false;
    s_.AnsName = oldName;
    s_.AnsDir = oldDir;
    return false;
  }
  s_.DataChanged = false;
  ShowFilename();
  cmdSubmit->setEnabled(true);
  return true;
}

void frmMain::FileDelete() {
  Dialogs::FileRequest request;
  request.title = QStringLiteral("Select File to be Deleted");
  request.filter = QStringLiteral("All Files (*.*)|*.*");
  request.filterIndex = 1;
  request.initialDir = dialogDir_;
  request.fileName = QStringLiteral("*.*");
  const std::optional<QString> chosen = dialogs_.openFile(request);
  if (!chosen) return;
  const QString path = findFile(QDir::fromNativeSeparators(*chosen));
  if (!path.isEmpty() &&
      dialogs_.message(QStringLiteral("Delete '") + *chosen + QStringLiteral("' File."),
                       QStringLiteral("Confirm Delete?"), Dialogs::Buttons::YesNo,
                       Dialogs::Icon::Question) == Dialogs::Answer::Yes) {
    QFile file(path);
    if (!file.remove())
      dialogs_.message(QStringLiteral("'%1' was not deleted: %2\r\nCheck that the file and its "
                                      "folder are writable.")
                           .arg(*chosen, file.errorString()),
                       QStringLiteral("In 'FileDelete' routine ..."), Dialogs::Buttons::Ok,
                       Dialogs::Icon::Warning);
  }
  QString dir;
  SplitPath(QDir::fromNativeSeparators(*chosen), dir);
  dialogDir_ = dir;
}

bool frmMain::SaveChangesQuery() {
  if (!PutAnswers()) return true;
  if (s_.DataChanged) {
    if (dialogs_.message(QStringLiteral("Save current data?"),
                         QStringLiteral("Data in form has changed!"), Dialogs::Buttons::YesNoCancel,
                         Dialogs::Icon::Question) != Dialogs::Answer::Yes)
      return true;
    FileSaveAs();
    return false;
  }
  if (s_.AnsName == kNewDataName) {
    if (dialogs_.message(QStringLiteral("Save current data?"), QStringLiteral("No File Name!"),
                         Dialogs::Buttons::YesNoCancel,
                         Dialogs::Icon::Question) != Dialogs::Answer::Yes)
      return true;
    s_.AnsName = QStringLiteral("*.*");
    FileSaveAs();
    return false;
  }
  return false;
}

void frmMain::mnuFileNew_Click() {
  FileNew();
}
void frmMain::mnuFileOpen_Click() {
  FileOld();
}
void frmMain::mnuFileSave_Click() {
  FileSave();
}

void frmMain::mnuFileSaveAs_Click() {
  FileSaveAs();
  s_.WriteError = false;
  ShowFilename();
}

void frmMain::mnuFileDelete_Click() {
  FileDelete();
}
void frmMain::mnuFileExit_Click() {
  close();
}

}  // namespace tessivar
