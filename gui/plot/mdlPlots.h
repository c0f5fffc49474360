// Drawing one run's spectrum: the run summary in the Output box, the title block and run
// information, the scaled axes with ticks, labels and grid, the curve, and the peak list.
#pragma once

#include <QDateTime>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "HeldCurves.h"
#include "PlotOverride.h"
#include "PlotSettings.h"
#include "RunResults.h"

namespace tessivar {

class Dialogs;
class OutputBox;
class Surface;

// What the last plot left behind: the plotted (divided) arrays, the limits in plotted units
// and the powers of ten taken out of each axis.
struct PlotState {
  int npts = 0;
  std::vector<float> x, y;
  float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  int xExponent = 0, yExponent = 0;
  double xDivisor = 1, yDivisor = 1;
  QString runFile;  // the run's copy of the answer-file name, in lower case
};

// Texts that the override boxes receive when an override is ticked with an empty box. They are
// in true units (the plotted limits times the divisor), so that plotting them again gives the
// plot they came from.
struct OverrideTexts {
  QString xMin, xStep, yMin, yStep;
};

class Plotter {
 public:
  Plotter(Surface& surface, OutputBox& out, Dialogs& dialogs);

  // The clock of the date and time texts (tests fix it).
  void setClock(std::function<QDateTime()> now) { now_ = std::move(now); }

  // The plotting part of startPlot: the surface's background, the run summary and ShowPlot.
  // False when no plot could be drawn (an override that is not usable was reported).
  bool startPlot(const RunResults& run, const PlotSettings& settings);

  // Draws the last plot again (after the surface changed size), from the run's own arrays and
  // the same settings, without writing to the Output box. False when there is no plot.
  bool redraw();
  // Forgets the last plot and clears the picture: what a run that drew nothing leaves behind.
  void discard();
  bool hasPlot() const { return hasPlot_; }

  // Empties the Output box and writes the run-summary header (the run file in lower case).
  void WriteRunSummary();
  // Copies the run's arrays for n points, draws the plot and lists the peaks.
  bool ShowPlot(int n);
  // The whole plot, in drawing order.
  bool PlotSpectrum();
  void ListPeaks();
  // Text and line colour for what follows: black in black-and-white mode, else the slot's.
  void SetPlotColor(int slot);
  // Axis lines through DrawAxes, then ticks, labels and grid lines through DrawTicks.
  void Grid(double xMin, double xMax, double yMin, double yMax);

  const PlotState& state() const { return state_; }
  OverrideTexts overrideTexts() const;

  // Curves kept from earlier runs, drawn under this run's with a legend that names every curve
  // (this run's by currentLabel); the axes then take in all of them. Without held curves (or
  // with none set) the plot is the single-curve one.
  void setOverlay(const HeldCurves* held, QString currentLabel) {
    held_ = held;
    currentLabel_ = std::move(currentLabel);
  }
  // This run's curve as plotted, in true units, ready to be held.
  HeldCurve currentCurve() const;

  // Text at (x, y) of the current scale; in the pixel scale the position is rounded first.
  void printAt(double x, double y, const QString& text);

 private:
  // How much the picture is enlarged against the 640 by 480 logical pixels the layout was
  // drawn for: the smaller of the two ratios, so text grows with the picture but never more
  // than its shorter side allows; never below 0.75, under which text stops being legible.
  double scale() const;
  // Pixel size of the font that is `points` big on the 640 by 480 picture, at least 9 logical
  // pixels, in device pixels.
  int fontPixels(double points) const;
  double margin() const;  // the space kept between texts and from the edges, in pixels
  // Draws `text` in the current font with its cell's top left at about `at` (pixels). A cell
  // that would cover a text already drawn is moved below it (down) or to its left (!down),
  // then kept inside the picture. Returns the cell drawn.
  QRectF placeText(QPointF at, const QString& text, bool down = true);
  // Shrinks the current font until `text` is at most `width` pixels wide.
  void fitFont(const QString& text, double width);
  void drawTexts();
  void yTitle();
  void xRange(const std::optional<OverrideLimits>& o);
  void yRange(const std::optional<OverrideLimits>& o);
  void scaleFactorNote();
  void userScale(const std::optional<OverrideLimits>& xo, const std::optional<OverrideLimits>& yo);
  void DrawAxes(double xMin, double xMax, double yMin, double yMax, double& x0, double& y0);
  void DrawTicks(double xMin, double xMax, double yMin, double yMax, double x0, double y0);
  void curve();
  // Held curves: their range joined to this run's, their points in plotted units, their lines
  // and the legend (PlotOverlay.cpp).
  bool overlaid() const { return held_ && !held_->empty(); }
  void joinHeldRange(float& lo, float& hi, bool x) const;
  void scaleHeld();
  void drawHeld();
  void legend();
  // The top left of a free place for a block of `size` pixels, as low and as far right as it
  // fits without coming nearer than `gap` to a text already drawn.
  std::optional<QPointF> freePlace(QSizeF size, double gap) const;

  Surface& surface_;
  OutputBox* out_;
  Dialogs& dialogs_;
  std::vector<QRectF> placed_;  // cells of the texts drawn so far, in pixels
  std::function<QDateTime()> now_ = [] { return QDateTime::currentDateTime(); };
  RunResults run_;
  PlotSettings settings_;
  PlotState state_;
  bool hasPlot_ = false;
  const HeldCurves* held_ = nullptr;
  QString currentLabel_;
  std::vector<std::pair<std::vector<float>, std::vector<float>>> heldPlotted_;
};

// Date and time texts of the plot and the summary.
QString plotDateText(const QDateTime& t);     // "Dec 07, 2026 " and the time of day
QString summaryDateText(const QDateTime& t);  // the short date
QString summaryTimeText(const QDateTime& t);  // the long time, without a time zone

}  // namespace tessivar
