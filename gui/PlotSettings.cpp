#include "PlotSettings.h"

#include <QSettings>

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

PlotSettings loadSettings(QSettings& store, const PlotSettings& current) {
  PlotSettings s = current;
  // Only the plot's own values count: the same store also keeps the last answer-file folder.
  const bool stored = store.contains("BlacknWhite") || store.contains("GridType") ||
                      store.contains("GridLines") || store.contains("Titles") ||
                      store.contains("chkXaxis") || store.contains("chkYaxis");
  if (stored) {
    s.blackAndWhite = store.value("BlacknWhite", 0).toInt() == 1;
    if (store.contains("GridType")) {
      const int v = store.value("GridType").toInt();
      if (v >= 0 && v <= 3) s.gridType = v;
    } else {
      s.gridType = 2;
    }
    if (store.contains("GridLines")) {
      const int v = store.value("GridLines").toInt();
      if (v >= 0 && v <= 3) s.gridLines = v;
    } else {
      s.gridLines = 1;
    }
    s.xOverride = store.value("chkXaxis", 0).toInt() == 1;
    s.txtXstep = store.value("txtXstep").toString();
    s.txtXmin = store.value("txtXmin").toString();
    s.yOverride = store.value("chkYaxis", 0).toInt() == 1;
    s.txtYstep = store.value("txtYstep").toString();
    s.txtYmin = store.value("txtYmin").toString();
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
  // then left as they are.
  if (store.contains("Titles") && store.value("Titles").toInt() != 0) {
    for (int k = 0; k < 6; ++k)
      s.colors[k] = colorFromInt(store.value(kColorValueNames[k], 0).toInt());
  }
  return s;
}

}  // namespace tessivar
