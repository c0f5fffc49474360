// Proportional resizing of a form: Record notes every control's position, size and font size as
// fractions of the form's inner width SW and height SH (in twips, 1440 per inch); Apply lays the
// controls out again from those fractions for the form's present size. Widths and left edges
// follow SW; heights, tops and font sizes follow SH.
//
// What is kept depends on the control's type, named after the controls the layout was designed
// with:
//   QLabel "Label", QLineEdit / QPlainTextEdit / QTextEdit "TextBox", QPushButton
//   "CommandButton", QRadioButton "OptionButton", QCheckBox "CheckBox", QGroupBox "Frame",
//   QComboBox "ComboBox", QListWidget "ListBox": top, left, width, height, font size;
//   QTabWidget "SSTab": tab height, widest tab, width, height, font size (not its position);
//   the drawing surface "PictureBox" (a widget whose class name contains "Surface", or any widget
//   with the dynamic property resizeType = "PictureBox"): top, left, width, height;
//   QScrollBar "HScrollBar" / "VScrollBar": top, left and its length;
//   menus "Menu": nothing; any other widget: top and left.
// The dynamic property "resizeType" overrides the type of any widget.
//
// Controls are those of the form's tree: Record walks into group boxes, tab pages and plain
// container widgets, not into the parts a composite control is made of. A QMainWindow is measured
// and walked through its central widget.
//
// A control parked on a hidden tab page sits 75000 twips to the left of its place; a left edge
// below -30000 is recorded as if it were in place and, if still parked when applied, is parked
// again at the new proportional place. A form smaller than 2000 x 1500 twips is left alone.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

namespace tessivar {

class mdlReSize {
 public:
  static constexpr double kMinWidth = 2000;   // twips
  static constexpr double kMinHeight = 1500;  // twips
  static constexpr double kParkOffset = 75000;
  static constexpr double kParkedBelow = -30000;

  void Record(QWidget& form);
  // Returns false when nothing was done (form below the minimum size, or nothing recorded).
  bool Apply(QWidget& form);

  // The type name used for a widget (see above).
  static QString typeName(const QWidget& w);
  // Twips per pixel of a widget's screen, horizontally and vertically.
  static double twipsPerPixelX(const QWidget& w);
  static double twipsPerPixelY(const QWidget& w);

  int count() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    QPointer<QWidget> widget;
    QString type;
    double a = 0, b = 0, c = 0, d = 0, e = 0;
  };
  void collect(QWidget& parent, std::vector<QWidget*>& out) const;
  static QWidget& scaleWidget(QWidget& form);

  std::vector<Entry> entries_;
};

}  // namespace tessivar
