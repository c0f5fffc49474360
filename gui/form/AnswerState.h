// The answer record: what the form holds, which answer file and data file it belongs to, and
// whether it was edited since the last load or save.
#pragma once

#include <QList>
#include <QString>
#include <array>

#include "Questions.h"

namespace tessivar {

struct AnswerState {
  std::array<QString, kQuestionCount + 1> Answers;  // Answers[1..18]; Answers[0] unused
  QString Note1, Note2;
  QString AnsName = kAnsNameHint;  // the answer file's name, no folder
  QString AnsDir;                  // its folder
  QString DataName, DataDir;       // the data file of question 1
  bool DataChanged = false;
  QString RunMode = QStringLiteral(" ");  // " " at start, "*" user run, "Demo" demo run
  QList<int> RequiredList;                // questions 9..18 of the current method
  bool WriteError = false;                // the last WriteAnsFile failed
  QString SelectedDemo;                   // the example chosen on the Demos tab, empty for none
};

}  // namespace tessivar
