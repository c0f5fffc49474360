// Text turned by an angle and centred on a point, for the plot's vertical axis title.
#pragma once

#include <QString>

namespace tessivar {

class Surface;

// Font request in the terms of a device font: height is the cell height in pixels (negative:
// the character height without internal leading; 0: the surface's size), width 0 keeps the
// face's proportions, escapement is in tenths of a degree counter-clockwise, weight 100..900.
struct RotatedFont {
  int height = 0;
  int width = 0;
  int escapement = 0;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  QString faceName = QStringLiteral("Arial");
};

// Prints `text` on the surface turned by the font's escapement and centred on (cx, cy) in the
// surface's current scale, in its fore colour. With W the text width, H the cell height and H'
// the cell height less the internal leading (all in the current scale), theta the turn and
// phi = pi/2 - theta:
//   a1 = W cos(theta) + H' cos(phi), b1 = W sin(theta) + H' sin(phi),
//   a2 = W cos(theta) + H cos(phi),  b2 = W sin(theta) + H sin(phi),
// and the text cell's corner is put at
//   x = cx - a1/2 - (a2 - a1),  y = cy - b1/2 + W sin(theta) - (b2 - b1).
void PrintRotated(Surface& surface, double cx, double cy, const QString& text,
                  const RotatedFont& font);

// Escapement from an angle given as text in degrees ("90" gives 900); text that is not a number
// gives 0.
int escapementFromText(const QString& degrees);

}  // namespace tessivar
