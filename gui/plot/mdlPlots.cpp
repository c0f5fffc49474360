#include "mdlPlots.h"

#include <QLocale>
#include <cmath>

#include "AxisScale.h"
#include "Dialogs.h"
#include "NumberFormat.h"
#include "OutputBox.h"
#include "PeakList.h"
#include "RunSummary.h"
#include "Surface.h"
#include "mdlRotate.h"

namespace tessivar {

QString plotDateText(const QDateTime& t) {
  return QLocale::system().toString(t.date(), QStringLiteral("MMM dd, yyyy ")) + summaryTimeText(t);
}

QString summaryDateText(const QDateTime& t) {
  return QLocale::system().toString(t.date(), QLocale::ShortFormat);
}

QString summaryTimeText(const QDateTime& t) {
  // The locale's long time format names the time zone; the plot shows the time of day only.
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return QLocale::system().toString(t.time(), format.trimmed());
}

Plotter::Plotter(Surface& surface, OutputBox& out, Dialogs& dialogs)
    : surface_(surface), out_(&out), dialogs_(dialogs) {}

bool Plotter::startPlot(const RunResults& run, const PlotSettings& settings) {
  run_ = run;
  settings_ = settings;
  surface_.setBackColor(settings_.plotBackground());
  WriteRunSummary();
  hasPlot_ = ShowPlot(run_.npointsZ);
  return hasPlot_;
}

bool Plotter::redraw() {
  if (!hasPlot_) return false;
  StringOutputBox discard;
  OutputBox* const box = out_;
  out_ = &discard;
  const bool drawn = ShowPlot(run_.npointsZ);
  out_ = box;
  return drawn;
}

void Plotter::discard() {
  hasPlot_ = false;
  surface_.clear();
}

void Plotter::WriteRunSummary() {
  state_.runFile = run_.RunFile.toLower();
  const QDateTime now = now_();
  out_->clear();
  out_->append(runSummaryText(state_.runFile, summaryDateText(now), summaryTimeText(now)));
}

bool Plotter::ShowPlot(int n) {
  // The engine's count can only be trusted as far as the arrays it filled reach.
  const std::size_t available = std::min(run_.x_array.size(), run_.spectrum.size());
  const std::size_t count = n > 0 ? std::min(static_cast<std::size_t>(n), available) : 0;
  state_.npts = static_cast<int>(count);
  state_.x.assign(run_.x_array.begin(), run_.x_array.begin() + count);
  state_.y.assign(run_.spectrum.begin(), run_.spectrum.begin() + count);
  out_->append(QStringLiteral("\r\nCalling 1st line plot"));
  if (!PlotSpectrum()) return false;
  ListPeaks();
  return true;
}

void Plotter::SetPlotColor(int slot) {
  surface_.setForeColor(settings_.plotColor(slot));
}

void Plotter::printAt(double x, double y, const QString& text) {
  if (surface_.scaleIsPixels()) {
    x = std::floor(x + 0.5);
    y = std::floor(y + 0.5);
  }
  surface_.setCurrent(x, y);
  surface_.print(text);
}

void Plotter::printCentred(double y, const QString& text) {
  printAt(roundHalfEven((surface_.scaleWidth() - surface_.textWidth(text)) / 2), y, text);
}

void Plotter::printRight(double y, const QString& text) {
  printAt(roundHalfEven(surface_.scaleWidth() - surface_.textWidth(text) - 5), y, text);
}

void Plotter::printLeftMargin(double y, const QString& text) {
  printAt(roundHalfEven(0.01 * surface_.scaleWidth()), y, text);
}

namespace {

// A value as the information text shows it: through its text form and back.
float normalised(float v) {
  return static_cast<float>(leadingNumber(formatSingle(v)));
}

}  // namespace

bool Plotter::PlotSpectrum() {
  // Overrides are checked before anything is drawn, so that no plot is made from limits that
  // are not numbers; the surface is cleared so that no earlier plot passes for this run's.
  std::optional<OverrideLimits> xo, yo;
  for (int axis = 0; axis < 2; ++axis) {
    const bool isX = axis == 0;
    const AxisOverride o =
        isX ? AxisOverride{settings_.xOverride, settings_.txtXmin, settings_.txtXstep}
            : AxisOverride{settings_.yOverride, settings_.txtYmin, settings_.txtYstep};
    if (!o.ticked) continue;
    const OverrideCheck c =
        checkOverride(o, isX ? QStringLiteral("X") : QStringLiteral("Y"), isX ? 10 : 5);
    if (!c.limits) {
      surface_.setScalePixels();
      surface_.clear();
      dialogs_.message(c.error, kOverrideErrorTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
      return false;
    }
    (isX ? xo : yo) = c.limits;
  }

  surface_.setScalePixels();
  surface_.clear();
  surface_.setDrawStyle(Surface::LineStyle::Solid);
  surface_.setDrawWidth(roundHalfEven(fx()));

  SetPlotColor(kMiscInfo);
  surface_.setFontSize(10 * fx());
  printLeftMargin(70, QStringLiteral("Time (sec.): ") + formatSingle(normalised(run_.t_startZ)) +
                          QStringLiteral("  to ") + formatSingle(normalised(run_.t_finalZ)));
  printLeftMargin(90, QStringLiteral("zeroFill = ") + formatSingle(normalised(run_.zeroFillZ)) +
                          QStringLiteral("%"));
  printLeftMargin(110, QStringLiteral("Noise Variance = ") + formatSingle(normalised(run_.sig2Z)));
  out_->append(QStringLiteral("\r\nBatch Input file ... fileIn = ") + run_.AnsName);

  SetPlotColor(kTitles);
  surface_.setFontSize(13 * fx());
  printCentred(1, run_.RunMethod + QStringLiteral(" Estimate by Tessivar (tm)"));
  printCentred(35, QStringLiteral("Power-Spectral Density"));
  SetPlotColor(kMiscInfo);
  surface_.setFontSize(7 * fx());
  printRight(5, plotDateText(now_()));
  SetPlotColor(kTitles);
  printRight(50, state_.runFile.trimmed());

  SetPlotColor(kAxes);
  xRange(xo);
  yRange(yo);

  SetPlotColor(kAxes);
  printAt(surface_.scaleLeft() + 0.48 * surface_.scaleWidth(),
          surface_.scaleTop() + 0.48 * surface_.scaleHeight(), QStringLiteral("Frequency"));
  RotatedFont title;
  title.height = 14;
  title.escapement = escapementFromText(QStringLiteral("90"));
  title.weight = 400;
  title.faceName = QStringLiteral("Arial");
  PrintRotated(surface_, surface_.scaleLeft() + 0.9 * surface_.scaleWidth(),
               surface_.scaleTop() + 0.3 * surface_.scaleHeight(),
               QStringLiteral("Power-Spectral Density (dB)"), title);

  SetPlotColor(kAxes);
  scaleFactorNote();
  userScale(xo, yo);
  Grid(state_.xMin, state_.xMax, state_.yMin, state_.yMax);
  curve();
  return true;
}

void Plotter::xRange(const std::optional<OverrideLimits>& o) {
  auto& s = state_;
  if (s.npts > 0) {
    s.xMin = s.x.front();
    s.xMax = s.x.back();
    if (s.xMax < s.xMin) std::swap(s.xMin, s.xMax);
  } else {
    s.xMin = s.xMax = 0;
  }
  if (o) {
    s.xMin = o->min;
    s.xMax = o->max;
  }
  QString trace;
  s.xExponent = ScaleAxis(s.xMin, s.xMax, 11, trace);
  out_->append(trace);
  s.xDivisor = std::pow(10.0, s.xExponent);
  for (float& v : s.x) v = static_cast<float>(v / s.xDivisor);
}

void Plotter::yRange(const std::optional<OverrideLimits>& o) {
  auto& s = state_;
  s.yMin = 1.0E10f;
  s.yMax = -1.0E10f;
  // Points that are not finite (the decibels of a zero power) take no part in the range.
  for (float v : s.y) {
    if (!std::isfinite(v)) continue;
    if (v < s.yMin) s.yMin = v;
    if (v > s.yMax) s.yMax = v;
  }
  if (s.yMin > s.yMax) s.yMin = s.yMax = 0;
  if (o) {
    s.yMin = o->min;
    s.yMax = o->max;
  }
  QString trace;
  s.yExponent = ScaleAxis(s.yMin, s.yMax, 6, trace);
  out_->append(trace);
  s.yDivisor = std::pow(10.0, s.yExponent);
  for (float& v : s.y) v = static_cast<float>(v / s.yDivisor);
}

void Plotter::scaleFactorNote() {
  const auto& s = state_;
  if (s.xExponent != 0 || s.yExponent != 0) {
    printAt(5, 420, QStringLiteral("Scale Factor"));
    printAt(5, 435, QStringLiteral("============"));
  }
  double next = 450;
  if (s.xExponent != 0) {
    printAt(5, next,
            QStringLiteral("X-axis = 10E") + formatSingle(static_cast<float>(s.xExponent)));
    next = 465;
  }
  if (s.yExponent != 0) {
    printAt(5, next,
            QStringLiteral("Y-axis = 10E") + formatSingle(static_cast<float>(s.yExponent)));
  }
}

void Plotter::userScale(const std::optional<OverrideLimits>& xo,
                        const std::optional<OverrideLimits>& yo) {
  auto& s = state_;
  // Entered limits are in true units while the data were divided by the axis's power of ten;
  // the limits are divided by the same power, so both are in plotted units and the scale
  // factor note holds for both.
  if (xo) {
    s.xMin = static_cast<float>(xo->min / s.xDivisor);
    s.xMax = static_cast<float>(xo->max / s.xDivisor);
  }
  if (yo) {
    s.yMin = static_cast<float>(yo->min / s.yDivisor);
    s.yMax = static_cast<float>(yo->max / s.yDivisor);
  }
  const double mx = 0.05 * (static_cast<double>(s.xMax) - s.xMin);
  const double my = 0.05 * (static_cast<double>(s.yMax) - s.yMin);
  surface_.setScale(s.xMin - mx, s.yMax + my, (static_cast<double>(s.xMax) - s.xMin) + 2 * mx,
                    -(static_cast<double>(s.yMax) - s.yMin) - 2 * my);
}

void Plotter::Grid(double xMin, double xMax, double yMin, double yMax) {
  double x0 = 0, y0 = 0;
  DrawAxes(xMin, xMax, yMin, yMax, x0, y0);
  DrawTicks(xMin, xMax, yMin, yMax, x0, y0);
}

void Plotter::DrawAxes(double xMin, double xMax, double yMin, double yMax, double& x0, double& y0) {
  x0 = axisPosition(static_cast<float>(xMin), static_cast<float>(xMax));
  y0 = axisPosition(static_cast<float>(yMin), static_cast<float>(yMax));
  const QColor color = settings_.plotColor(kAxes);
  surface_.setDrawWidth(roundHalfEven(2.0 * screenWidth_ / 640));
  surface_.line(xMin, y0, xMax, y0, color);
  surface_.line(x0, yMin, x0, yMax, color);
  surface_.setDrawWidth(roundHalfEven(screenWidth_ / 640.0));
}

namespace {

Surface::LineStyle gridStyle(int gridType) {
  switch (gridType) {
    case 1:
      return Surface::LineStyle::Dash;
    case 2:
      return Surface::LineStyle::Dot;
    case 3:
      return Surface::LineStyle::DashDotDot;
    default:
      return Surface::LineStyle::Solid;
  }
}

}  // namespace

void Plotter::DrawTicks(double xMin, double xMax, double yMin, double yMax, double x0, double y0) {
  const GridSwitches g = gridSwitches(settings_.gridLines);
  const QColor color = settings_.plotColor(kAxes);
  const auto v = xTickValues(static_cast<float>(xMin), static_cast<float>(xMax));
  const auto w = yTickValues(static_cast<float>(yMin), static_cast<float>(yMax));

  // Tick marks are always solid; only grid lines follow the chosen style.
  if (g.vertical) {
    surface_.setDrawStyle(gridStyle(settings_.gridType));
    for (double vi : v) surface_.line(vi, yMax, vi, yMin, color);
  } else {
    surface_.setDrawStyle(Surface::LineStyle::Solid);
    const double t = std::abs(surface_.pixelsToScaleY(3));
    for (double vi : v) surface_.line(vi, y0 - t, vi, y0 + t, color);
  }
  for (double vi : v) {
    surface_.setCurrent(vi - 0.02 * surface_.scaleWidth(),
                        surface_.scaleTop() + 0.52 * surface_.scaleHeight());
    surface_.print(formatCode(vi, QStringLiteral("###.#")));
  }

  if (g.horizontal) {
    surface_.setDrawStyle(gridStyle(settings_.gridType));
    for (double wj : w) surface_.line(xMin, wj, xMax, wj, color);
  } else {
    surface_.setDrawStyle(Surface::LineStyle::Solid);
    const double u = std::abs(surface_.pixelsToScaleX(5));
    for (double wj : w) surface_.line(x0 - u, wj, x0 + u, wj, color);
  }
  // Nine pixels in the scale's own direction: the label's top sits above its tick value.
  const double lift = surface_.pixelsToScaleY(9);
  for (double wj : w) {
    surface_.setCurrent(surface_.scaleLeft() + 0.96 * surface_.scaleWidth(), wj - lift);
    surface_.print(formatCode(wj, QStringLiteral("###.##")));
  }
}

void Plotter::curve() {
  const auto& s = state_;
  surface_.setDrawStyle(Surface::LineStyle::Solid);
  const QColor color = settings_.plotColor(kCurve1);
  // Only the start of a segment is tested: a segment leaving the rectangle is drawn to its end,
  // one starting outside is left out, so the curve breaks where it leaves the limits.
  for (int i = 1; i < s.npts; ++i) {
    const float xa = s.x[i - 1], ya = s.y[i - 1];
    if (xa >= s.xMin && xa <= s.xMax && ya >= s.yMin && ya <= s.yMax && std::isfinite(s.x[i]) &&
        std::isfinite(s.y[i]))
      surface_.line(xa, ya, s.x[i], s.y[i], color);
  }
}

void Plotter::ListPeaks() {
  out_->append(tessivar::ListPeaks(state_.x, state_.y, state_.xDivisor));
}

OverrideTexts Plotter::overrideTexts() const {
  const auto& s = state_;
  OverrideTexts t;
  t.xMin = formatSingle(static_cast<float>(s.xMin * s.xDivisor));
  t.xStep =
      formatSingle(static_cast<float>((static_cast<double>(s.xMax) - s.xMin) / 10 * s.xDivisor));
  t.yMin = formatSingle(static_cast<float>(s.yMin * s.yDivisor));
  t.yStep =
      formatSingle(static_cast<float>((static_cast<double>(s.yMax) - s.yMin) / 5 * s.yDivisor));
  return t;
}

}  // namespace tessivar
