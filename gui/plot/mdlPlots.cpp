#include "mdlPlots.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
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

double Plotter::scale() const {
  const double dpr = surface_.devicePixelRatio();
  const QSize size = surface_.size();
  return std::max(0.75, std::min(size.width() / dpr / 640.0, size.height() / dpr / 480.0));
}

int Plotter::fontPixels(double points) const {
  // A point is 4/3 of a logical pixel at the usual 96 pixels per inch.
  const double logical = std::max(points * 4.0 / 3.0 * scale(), 9.0);
  return static_cast<int>(std::lround(logical * surface_.devicePixelRatio()));
}

double Plotter::margin() const {
  return std::max(2.0, std::round(5.0 * scale() * surface_.devicePixelRatio()));
}

QRectF Plotter::placeText(QPointF at, const QString& text, bool down) {
  const QSizeF cell = surface_.textCellPixels(text);
  const double gap = margin() / 2;
  QRectF r(QPointF(std::floor(at.x() + 0.5), std::floor(at.y() + 0.5)), cell);
  // Each move goes past one text in one direction, so the search ends after at most as many
  // moves as there are texts.
  for (std::size_t moves = 0; moves <= placed_.size(); ++moves) {
    auto hit = std::find_if(placed_.begin(), placed_.end(), [&](const QRectF& p) {
      return r.adjusted(-gap, -gap, gap, gap).intersects(p);
    });
    if (hit == placed_.end()) break;
    if (down)
      r.moveTop(std::ceil(hit->bottom() + gap + 1));
    else
      r.moveRight(std::floor(hit->left() - gap - 1));
  }
  const double w = surface_.size().width(), h = surface_.size().height();
  r.moveLeft(std::max(1.0, std::min(r.left(), std::floor(w - r.width() - 1))));
  r.moveTop(std::max(1.0, std::min(r.top(), std::floor(h - r.height() - 1))));
  surface_.setCurrent(surface_.scaleLeft() + surface_.pixelsToScaleX(r.left()),
                      surface_.scaleTop() + surface_.pixelsToScaleY(r.top()));
  surface_.print(text);
  placed_.push_back(r);
  return r;
}

void Plotter::fitFont(const QString& text, double width) {
  const int smallest = static_cast<int>(std::lround(6 * surface_.devicePixelRatio()));
  for (int tries = 0; tries < 4; ++tries) {
    const double w = surface_.textCellPixels(text).width();
    const int px = surface_.font().pixelSize();
    if (w <= width || px <= smallest) return;
    surface_.setFontPixelSize(std::max(smallest, static_cast<int>(px * width / w)));
  }
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
  surface_.setAntialiased(!settings_.blackAndWhite);
  surface_.clear();
  placed_.clear();
  surface_.setDrawStyle(Surface::LineStyle::Solid);
  surface_.setDrawWidth(roundHalfEven(scale() * surface_.devicePixelRatio()));

  out_->append(QStringLiteral("\r\nBatch Input file ... fileIn = ") + run_.AnsName);
  drawTexts();

  SetPlotColor(kAxes);
  xRange(xo);
  yRange(yo);

  SetPlotColor(kAxes);
  surface_.setFontPixelSize(fontPixels(7));
  const double w = surface_.size().width(), h = surface_.size().height();
  placeText({0.48 * w, 0.48 * h}, QStringLiteral("Frequency"));
  yTitle();

  SetPlotColor(kAxes);
  scaleFactorNote();
  userScale(xo, yo);
  Grid(state_.xMin, state_.xMax, state_.yMin, state_.yMax);
  if (overlaid()) {
    scaleHeld();
    drawHeld();
  }
  curve();
  if (overlaid()) legend();
  return true;
}

void Plotter::drawTexts() {
  // The title block at the top centre, the date and the file name at the top right, the run
  // information at the top left below the titles. Sizes follow the picture, positions the
  // font metrics, so the texts keep apart at any size.
  const double w = surface_.size().width(), m = margin();
  SetPlotColor(kMiscInfo);
  surface_.setFontPixelSize(fontPixels(7));
  const QString date = plotDateText(now_());
  const QRectF dateCell = placeText({w - m - surface_.textCellPixels(date).width(), m}, date);

  SetPlotColor(kTitles);
  surface_.setFontPixelSize(fontPixels(13));
  const QString title = run_.RunMethod + QStringLiteral(" Estimate by Tessivar (tm)");
  const QString subtitle = QStringLiteral("Power-Spectral Density");
  fitFont(title, w - 2 * m);
  const QRectF titleCell = placeText({(w - surface_.textCellPixels(title).width()) / 2, m}, title);
  const QRectF subCell = placeText({(w - surface_.textCellPixels(subtitle).width()) / 2,
                                    titleCell.bottom() + 0.6 * titleCell.height()},
                                   subtitle);

  surface_.setFontPixelSize(fontPixels(7));
  const QString file = state_.runFile.trimmed();
  const QSizeF fileSize = surface_.textCellPixels(file);
  const QRectF fileCell =
      placeText({w - m - fileSize.width(),
                 std::max(subCell.bottom() - fileSize.height(), dateCell.bottom() + m)},
                file);

  SetPlotColor(kMiscInfo);
  surface_.setFontPixelSize(fontPixels(10));
  const QStringList info = {
      QStringLiteral("Time (sec.): ") + formatSingle(normalised(run_.t_startZ)) +
          QStringLiteral("  to ") + formatSingle(normalised(run_.t_finalZ)),
      QStringLiteral("zeroFill = ") + formatSingle(normalised(run_.zeroFillZ)) +
          QStringLiteral("%"),
      QStringLiteral("Noise Variance = ") + formatSingle(normalised(run_.sig2Z))};
  const double line = surface_.textCellPixels(info[0]).height();
  double y = std::max(subCell.bottom(), fileCell.bottom()) + 0.6 * line;
  for (const QString& text : info) y = placeText({0.01 * w, y}, text).bottom() + 0.4 * line;
}

void Plotter::yTitle() {
  // The vertical axis title, in the x title's size, centred at 90 % across and 30 % down; it
  // starts below the texts above it and is made smaller if it would reach the x labels' row.
  const QString text = QStringLiteral("Power-Spectral Density (dB)");
  const double w = surface_.size().width(), h = surface_.size().height(), m = margin();
  const double cell = surface_.textCellPixels(text).height();
  double length = surface_.textCellPixels(text).width();
  const double cx = 0.9 * w;
  double top = 0.3 * h - length / 2;
  for (const QRectF& p : placed_)
    if (p.left() < cx + cell && p.right() > cx - cell) top = std::max(top, p.bottom() + m);
  const double room = 0.48 * h - m - top;
  RotatedFont font;
  font.height = static_cast<int>(std::lround(cell));
  if (length > room) {
    font.height = std::max(6, static_cast<int>(cell * room / length));
    length = room;
  }
  font.escapement = escapementFromText(QStringLiteral("90"));
  font.weight = 400;
  font.faceName = surface_.font().family();
  PrintRotated(surface_, cx, top + length / 2, text, font);
  placed_.push_back(surface_.textRects().back());
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
  if (overlaid()) joinHeldRange(s.xMin, s.xMax, true);
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
  if (overlaid()) joinHeldRange(s.yMin, s.yMax, false);
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
  // At the bottom left, its last line a margin above the picture's bottom edge.
  const auto& st = state_;
  QStringList lines;
  if (st.xExponent != 0 || st.yExponent != 0)
    lines << QStringLiteral("Scale Factor") << QStringLiteral("============");
  if (st.xExponent != 0)
    lines << QStringLiteral("X-axis = 10E") + formatSingle(static_cast<float>(st.xExponent));
  if (st.yExponent != 0)
    lines << QStringLiteral("Y-axis = 10E") + formatSingle(static_cast<float>(st.yExponent));
  if (lines.isEmpty()) return;
  const double m = margin(), cell = surface_.textCellPixels(lines[0]).height();
  const double step = std::ceil(1.35 * cell);
  double y = surface_.size().height() - m - cell - (lines.size() - 1) * step;
  for (const QString& text : lines) {
    placeText({m, y}, text);
    y += step;
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
  const double width = scale() * surface_.devicePixelRatio();
  surface_.setDrawWidth(roundHalfEven(2.0 * width));
  surface_.line(xMin, y0, xMax, y0, color);
  surface_.line(x0, yMin, x0, yMax, color);
  surface_.setDrawWidth(roundHalfEven(width));
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
  // The x labels on one row at 52 % down, each starting a little left of its tick.
  const double pw = surface_.size().width(), ph = surface_.size().height();
  for (double vi : v)
    placeText({surface_.toPixelX(vi) - 0.02 * pw, 0.52 * ph},
              formatCode(vi, QStringLiteral("###.#")));

  if (g.horizontal) {
    surface_.setDrawStyle(gridStyle(settings_.gridType));
    for (double wj : w) surface_.line(xMin, wj, xMax, wj, color);
  } else {
    surface_.setDrawStyle(Surface::LineStyle::Solid);
    const double u = std::abs(surface_.pixelsToScaleX(5));
    for (double wj : w) surface_.line(x0 - u, wj, x0 + u, wj, color);
  }
  // The y labels at 96 % across (or as far right as they fit), centred on their ticks; one
  // that would cover another text moves left along its tick's row.
  for (double wj : w) {
    const QString label = formatCode(wj, QStringLiteral("###.##"));
    const QSizeF cell = surface_.textCellPixels(label);
    placeText({std::min(0.96 * pw, pw - margin() - cell.width()),
               surface_.toPixelY(wj) - cell.height() / 2},
              label, false);
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
