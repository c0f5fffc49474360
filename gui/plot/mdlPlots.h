// Drawing one run's spectrum: the run summary in the Output box, the title block and run
// information, the scaled axes with ticks, labels and grid, the curve, and the peak list.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

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

  // Screen width in pixels; fonts and lines are scaled by screen width / 640.
  void setScreenWidth(int pixels) { screenWidth_ = pixels > 0 ? pixels : 640; }
  int screenWidth() const { return screenWidth_; }
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

  // Text placement: at (x, y); centred across; right-aligned 5 pixels from the right edge; at
  // the left margin (1 % of the width). In the pixel scale positions are rounded first.
  void printAt(double x, double y, const QString& text);
  void printCentred(double y, const QString& text);
  void printRight(double y, const QString& text);
  void printLeftMargin(double y, const QString& text);

 private:
  double fx() const { return screenWidth_ / 640.0; }
  void xRange(const std::optional<OverrideLimits>& o);
  void yRange(const std::optional<OverrideLimits>& o);
  void scaleFactorNote();
  void userScale(const std::optional<OverrideLimits>& xo, const std::optional<OverrideLimits>& yo);
  void DrawAxes(double xMin, double xMax, double yMin, double yMax, double& x0, double& y0);
  void DrawTicks(double xMin, double xMax, double yMin, double yMax, double x0, double y0);
  void curve();

  Surface& surface_;
  OutputBox* out_;
  Dialogs& dialogs_;
  int screenWidth_ = 640;
  std::function<QDateTime()> now_ = [] { return QDateTime::currentDateTime(); };
  RunResults run_;
  PlotSettings settings_;
  PlotState state_;
  bool hasPlot_ = false;
};

// Date and time texts of the plot and the summary.
QString plotDateText(const QDateTime& t);     // "Dec 07, 2026 " and the time of day
QString summaryDateText(const QDateTime& t);  // the short date
QString summaryTimeText(const QDateTime& t);  // the long time, without a time zone

}  // namespace tessivar
