#include "ArithmeticSetting.h"

#include <QSettings>

namespace tessivar {

bool ArithmeticSetting::doublePrecision(const QSettings& settings) {
  return settings.value(QString::fromLatin1(kValueName), false).toBool();
}

void ArithmeticSetting::setDoublePrecision(QSettings& settings, bool on) {
  settings.setValue(QString::fromLatin1(kValueName), on);
}

}  // namespace tessivar
