#include "PlotSettings.h"

#include <QSettings>
#include <optional>

namespace tessivar {

const std::array<const char*, 6> kColorValueNames = {"Axes",   "Titles", "MiscInfo",
                                                     "Curve1", "Curve2", "Background"};

int colorToInt(const QColor& c) {
  return c.red() + 256 * c.green() + 65536 * c.blue();
}

QColor colorFromInt(int v) {
  return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

std::array<QColor, 6> PlotSettings::formColors() {
  return {QColor(128, 128, 128), QColor(255, 0, 255),   QColor(128, 64, 64),
          QColor(0, 0, 255),     QColor(255, 255, 128), QColor(224, 224, 224)};
}

std::array<QColor, 6> PlotSettings::defaultColors() {
  return {QColor(111, 111, 111), QColor(255, 0, 128), QColor(128, 0, 0),
          QColor(0, 0, 255),     QColor(255, 255, 0), QColor(192, 192, 192)};
}

QColor PlotSettings::plotColor(int slot) const {
  if (blackAndWhite || slot < 0 || slot > 5) return Qt::black;
  return colors[slot];
}

QColor PlotSettings::plotBackground() const {
  return blackAndWhite ? QColor(Qt::white) : colors[kBackground];
}

void saveSettings(QSettings& store, const PlotSettings& s) {
  store.setValue("BlacknWhite", s.blackAndWhite ? 1 : 0);
  if (s.gridType >= 0 && s.gridType <= 3) store.setValue("GridType", s.gridType);
  if (s.gridLines >= 0 && s.gridLines <= 3) store.setValue("GridLines", s.gridLines);
  if (!s.blackAndWhite) {
    for (int k = 0; k < 6; ++k) store.setValue(kColorValueNames[k], colorToInt(s.colors[k]));
  }
  store.setValue("chkXaxis", s.xOverride ? 1 : 0);
  store.setValue("txtXstep", s.txtXstep);
  store.setValue("txtXmin", s.txtXmin);
  store.setValue("chkYaxis", s.yOverride ? 1 : 0);
  store.setValue("txtYstep", s.txtYstep);
  store.setValue("txtYmin", s.txtYmin);
  store.sync();
}

namespace {

// A stored whole number: nothing when the value is missing or holds something else (text that
// is no number, a list, a binary value), which the loader then treats as not given.
std::optional<int> storedInt(const QSettings& store, const char* name) {
  const QVariant v = store.value(QString::fromLatin1(name));
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  int n = 0;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString:
    case QMetaType::QByteArray:
      n = v.toInt(&ok);
      break;
    default:
      break;
  }
  return ok ? std::optional<int>(n) : std::nullopt;
}

// A stored text: empty when it is missing or not a single text (a list, a binary value).
QString storedText(const QSettings& store, const char* name) {
  const QVariant v = store.value(QString::fromLatin1(name));
  switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
      return v.toString();
    default:
      return {};
  }
}

// A 0/1 switch: anything but a stored 1 is off.
bool storedSwitch(const QSettings& store, const char* name) {
  return storedInt(store, name) == 1;
}

}  // namespace

PlotSettings loadSettings(QSettings& store, const PlotSettings& current) {
  PlotSettings s = current;
  // Only the plot's own values count: the same store also keeps the last answer-file folder.
  const bool stored = store.contains("BlacknWhite") || store.contains("GridType") ||
                      store.contains("GridLines") || store.contains("Titles") ||
                      store.contains("chkXaxis") || store.contains("chkYaxis");
  if (stored) {
    // A value of the wrong type counts as not given: the switches stay off, the grid choices
    // take their defaults, the texts stay empty.
    s.blackAndWhite = storedSwitch(store, "BlacknWhite");
    // A grid index outside 0..3 leaves the current choice; a missing one, or one that is no
    // number, selects the default.
    auto gridChoice = [&](const char* name, int currentChoice, int fallback) {
      const std::optional<int> v = storedInt(store, name);
      if (!v) return fallback;
      return (*v >= 0 && *v <= 3) ? *v : currentChoice;
    };
    s.gridType = gridChoice("GridType", s.gridType, 2);
    s.gridLines = gridChoice("GridLines", s.gridLines, 1);
    s.xOverride = storedSwitch(store, "chkXaxis");
    s.txtXstep = storedText(store, "txtXstep");
    s.txtXmin = storedText(store, "txtXmin");
    s.yOverride = storedSwitch(store, "chkYaxis");
    s.txtYstep = storedText(store, "txtYstep");
    s.txtYmin = storedText(store, "txtYmin");
  } else {
    s.colors = PlotSettings::defaultColors();
    s.xOverride = false;
    s.yOverride = false;
    s.txtXmin.clear();
    s.txtXstep.clear();
    s.txtYmin.clear();
    s.txtYstep.clear();
    s.gridLines = 1;
    s.gridType = 2;
  }
  // A stored black "Titles" colour marks colours that were never saved properly: all six are
  // then left as they are; so is a "Titles" value that is no colour at all.
  const std::optional<int> titles = storedInt(store, "Titles");
  if (titles && *titles != 0) {
    const std::array<QColor, 6> defaults = PlotSettings::defaultColors();
    for (int k = 0; k < 6; ++k) {
      if (!store.contains(kColorValueNames[k])) {
        s.colors[k] = colorFromInt(0);  // a missing colour reads as black
        continue;
      }
      // A colour that is no 24-bit value (text, a list, a number out of range) takes the
      // slot's default.
      const std::optional<int> v = storedInt(store, kColorValueNames[k]);
      s.colors[k] = (v && *v >= 0 && *v <= 0xFFFFFF) ? colorFromInt(*v) : defaults[k];
    }
  }
  return s;
}

}  // namespace tessivar
