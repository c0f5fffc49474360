// The parameter form's fixed content: the eighteen question captions and their design
// defaults, the methods list, and which of questions 9 to 18 each method needs.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tessivar {

inline constexpr int kQuestionCount = 18;

// The hint shown as the answer-file name before any file was saved or opened.
inline const QString kAnsNameHint = QStringLiteral("8 character max & 3 numbers max; eg. sf.49");
inline const QString kNewDataName = QStringLiteral("New data");
inline const QString kSelectMethod = QStringLiteral("-Select-");

// Caption of question i (1..18), exactly as the form shows it.
QString questionCaption(int i);
// Design default of the control of question i (empty for 4, 5, 6 and 7, which are not text).
QString questionDefault(int i);

// The entries of the methods list, index 0 being "-Select-".
const QStringList& methodEntries();

// Questions 9 to 18 that the method needs, ascending; empty for "-Select-" or an unknown name.
QList<int> requiredList(const QString& method);

// Methods that need real data.
bool methodNeedsRealData(const QString& method);

}  // namespace tessivar
