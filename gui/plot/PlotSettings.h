// The Setup tab's values: colours, black-and-white mode, grid choices and the axis overrides,
// with the rules for their start values and for storing them in the per-user settings.
#pragma once

#include <QColor>
#include <QString>
#include <array>

class QSettings;

namespace tessivar {

// Colour slots of the plot.
enum ColorSlot { kAxes = 0, kTitles = 1, kMiscInfo = 2, kCurve1 = 3, kCurve2 = 4, kBackground = 5 };

// Colours are kept as one integer R + 256 G + 65536 B.
int colorToInt(const QColor& c);
QColor colorFromInt(int v);

struct PlotSettings {
  bool blackAndWhite = false;
  int gridType = 2;   // 0 "Solid", 1 "Dashed", 2 "Dotted", 3 "Dashed-Dot-Dot"; -1 none selected
  int gridLines = 1;  // 0 none, 1 "X && Y Axes", 2 "X Axis Only", 3 "Y Axis Only"; -1 none
  std::array<QColor, 6> colors = formColors();
  bool xOverride = false;
  QString txtXmin = QStringLiteral("0");
  QString txtXstep = QStringLiteral("0");
  bool yOverride = false;
  QString txtYmin = QStringLiteral("0");
  QString txtYstep = QStringLiteral("0");

  // The swatches' colours before any setting is loaded.
  static std::array<QColor, 6> formColors();
  // The colours used when nothing is stored.
  static std::array<QColor, 6> defaultColors();

  // Colour of a slot as drawn: black in black-and-white mode.
  QColor plotColor(int slot) const;
  // Background of the surface: white in black-and-white mode.
  QColor plotBackground() const;

  bool operator==(const PlotSettings&) const = default;
};

// Value names in the settings store.
extern const std::array<const char*, 6> kColorValueNames;  // "Axes" ... "Background"

// Writes the settings. The colours are written only outside black-and-white mode, so that mode
// never overwrites the stored colours; a grid choice with nothing selected is not written.
void saveSettings(QSettings& store, const PlotSettings& s);

// Applies the stored settings to `current` (the form's values) and returns the result:
// nothing stored gives the default colours, cleared overrides with empty boxes, "X && Y Axes"
// and "Dotted"; stored settings are read value by value, a missing one as 0 or empty text, a
// grid index outside 0..3 leaves the current choice and a missing grid value selects the
// default. The colours come from the store only when a non-zero "Titles" colour is stored.
// A value of the wrong type (text that is no number, a list, a binary value) counts as not
// given; a colour of the wrong type, or outside 24 bits, takes the slot's default colour.
PlotSettings loadSettings(QSettings& store, const PlotSettings& current);

}  // namespace tessivar
