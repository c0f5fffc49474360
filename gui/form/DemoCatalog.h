// The eighteen demonstration examples as the Demos tab lists them: the example file (the option
// button's caption), its description, the approximate run time and the group marker printed
// after the description. Also the fixed texts of the Demos tab and of the intro window, so that
// the window code only places them.
#pragma once

#include <QString>
#include <array>

namespace tessivar {

struct DemoEntry {
  QString file;         // Exam(i) caption, the example answer file in the user folder
  QString description;  // Description(i)
  QString runTime;      // ExTime(i)
  QString marker;       // group marker after the description, empty for none
};

// Index 0 is Exam(1).
const std::array<DemoEntry, 18>& demoCatalog();

// The entry whose file name equals `file` without regard to case; nullptr when there is none.
const DemoEntry* findDemo(const QString& file);

namespace demoTexts {
inline const QString fileNameHeader = QStringLiteral("File Name");
inline const QString runTimeHeader = QStringLiteral("Run Time (Seconds)");
inline const QString descriptionsHeader = QStringLiteral("Tessivar problem with ...");
inline const QString zeroPadding = QStringLiteral("Zero padding");
inline const QString fftInfo = QStringLiteral("(basically a FFT)");
inline const QString compareResults = QStringLiteral("Compare Results ... which is best?");
inline const QString sentence1 = QStringLiteral(
    "Select a Tessivar\u2122 (AKA Tirelle\u2122) example from the list below for your demo run.  "
    "Note the approximate run time for your chosen problem.  (These times were for a 486/500 "
    "PC.)  After calculations, Tessivar\u2122 will display some output text and a graph.");
// Its key is L: Alt+C is the "&Calculate" below the tabs, which shows on this tab too.
inline const QString runDemo = QStringLiteral("Ca&lculate");
inline const QString cancelDemo = QStringLiteral("Parameter Selection");
// The example that Demos > Run Demo chooses.
inline const QString defaultDemo = QStringLiteral("Ex-Auto.0");
}  // namespace demoTexts

namespace introTexts {
inline const QString caption = QStringLiteral("Introduction to Spectral Estimation Algorithms");
inline const QString title = QStringLiteral("Tessivar\u2122  Intro && Demos");
inline const QString sentence1 = QStringLiteral(
    "Tessivar determines a spectral estimate for a given data set; many estimators are "
    "available, and S. M. Kay's \"Modern Spectral Estimation: Theory and Application\" "
    "(Prentice Hall, 1988) is the reference for all of them.");
inline const QString sentence2 = QStringLiteral(
    "Test and understand that zero padding does -not- improve resolution but allows for better "
    "evaluation of the spectral estimation.");
inline const QString runDemo = QStringLiteral("&Run a Demo");
inline const QString createData = QStringLiteral("&Create Your Data");
inline const QString exit = QStringLiteral("E&xit");
}  // namespace introTexts

}  // namespace tessivar
