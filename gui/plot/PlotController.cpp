#include "PlotController.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "NumberFormat.h"
#include "PlotPage.h"
#include "ReadOut.h"
#include "SetupPage.h"

namespace tessivar {

namespace {

double logicalDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

PlotController::PlotController(Dialogs& dialogs, OutputBox& out, QObject* parent)
    : QObject(parent),
      dialogs_(dialogs),
      surface_(QSize(640, 480), logicalDpi()),
      plotter_(surface_, out, dialogs),
      output_(dialogs),
      export_(dialogs),
      setupPage_(new SetupPage(dialogs)),
      plotPage_(new PlotPage(surface_)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setupPage_->setLastPlot([this] { return plotter_.overrideTexts(); });
  // A picture box of a new size gets the plot drawn again to fill it.
  plotPage_->picBox()->setOnResized([this] {
    if (plotter_.redraw()) plotPage_->refresh();
  });
  plotPage_->picBox()->setOnHover([this](std::optional<QPointF> at) { return hover(at); });
  plotPage_->picBox()->setOnZoom([this](QRectF r) { zoomTo(r); });
  plotPage_->picBox()->setOnZoomReset([this] { zoomReset(); });
  connect(plotPage_, &PlotPage::holdRequested, this, &PlotController::holdCurve);
  connect(plotPage_, &PlotPage::clearHeldRequested, this, &PlotController::clearHeldCurves);
  connect(plotPage_, &PlotPage::zoomResetRequested, this, &PlotController::zoomReset);
  connect(setupPage_, &SetupPage::plotRequested, this, &PlotController::plotRequested);
  connect(setupPage_, &SetupPage::exitPlottingRequested, this,
          &PlotController::exitPlottingRequested);
  connect(plotPage_->exportButton(), &QPushButton::clicked, this,
          &PlotController::exportSpectrumRequested);
}

PlotController::~PlotController() {
  // The pages belong to the window once placed; pages never placed are deleted here.
  if (!setupPage_->parent()) delete setupPage_;
  if (!plotPage_->parent()) delete plotPage_;
}

void PlotController::loadSettings() {
  setupPage_->loadSettings();
  setupPage_->setSetupControlsEnabled(false);
}

bool PlotController::startPlot(const RunResults& run) {
  sig2Z_ = run.sig2Z;
  run_ = run;
  plotter_.setOverlay(&held_, labeler_ ? labeler_(run) : run.RunMethod);
  currentHeld_ = false;
  const bool drawn = plotter_.startPlot(run, setupPage_->settings());
  afterDrawing();
  return drawn;
}

void PlotController::discardPlot() {
  plotter_.discard();
  afterDrawing();
}

void PlotController::afterDrawing() {
  current_ = hasPlot() ? plotter_.currentCurve() : HeldCurve{};
  plotPage_->setHoldState(hasPlot() && !held_.full() && !currentHeld_, !held_.empty());
  plotPage_->showReadOut({});
  plotPage_->refresh();
}

void PlotController::applySwitches(const PlottingSwitches& s) {
  setupPage_->setSetupControlsEnabled(s.setupControlsEnabled);
  plotting_ = s.setupControlsEnabled;
}

bool PlotController::holdCurve() {
  if (!hasPlot() || currentHeld_ || !held_.hold(plotter_.currentCurve())) return false;
  currentHeld_ = true;
  plotter_.redraw();
  afterDrawing();
  return true;
}

void PlotController::clearHeldCurves() {
  held_.clear();
  currentHeld_ = false;
  plotter_.redraw();
  afterDrawing();
}

QPointF PlotController::toTrue(QPointF box) const {
  const double dpr = surface_.devicePixelRatio();
  const PlotState& s = plotter_.state();
  return {(surface_.scaleLeft() + surface_.pixelsToScaleX(box.x() * dpr)) * s.xDivisor,
          (surface_.scaleTop() + surface_.pixelsToScaleY(box.y() * dpr)) * s.yDivisor};
}

std::optional<QPointF> PlotController::hover(std::optional<QPointF> at) {
  std::optional<ReadOut> r;
  if (at && hasPlot()) r = readOutAt(current_.freq, current_.db, held_, toTrue(*at).x());
  plotPage_->showReadOut(r ? readOutText(*r, held_) : QString());
  if (!r) return std::nullopt;
  const double dpr = surface_.devicePixelRatio();
  const PlotState& s = plotter_.state();
  return QPointF(surface_.toPixelX(r->freq / s.xDivisor) / dpr,
                 surface_.toPixelY(r->db / s.yDivisor) / dpr);
}

namespace {

QString boxText(double v) {
  return formatSingle(static_cast<float>(v)).trimmed();
}

}  // namespace

void PlotController::zoomTo(const QRectF& box) {
  if (!hasPlot() || !plotting_ || box.width() <= 0 || box.height() <= 0) return;
  const QPointF a = toTrue(box.topLeft()), b = toTrue(box.bottomRight());
  PlotSettings s = setupPage_->settings();
  // The overrides give a minimum and a step for ten steps across and five up.
  const double xMin = std::min(a.x(), b.x()), xMax = std::max(a.x(), b.x());
  const double yMin = std::min(a.y(), b.y()), yMax = std::max(a.y(), b.y());
  s.xOverride = s.yOverride = true;
  s.txtXmin = boxText(xMin);
  s.txtXstep = boxText((xMax - xMin) / 10);
  s.txtYmin = boxText(yMin);
  s.txtYstep = boxText((yMax - yMin) / 5);
  setupPage_->setSettings(s);
  setupPage_->cmdPlot_Click();
}

void PlotController::zoomReset() {
  PlotSettings s = setupPage_->settings();
  if (!hasPlot() || !plotting_ || (!s.xOverride && !s.yOverride)) return;
  s.xOverride = s.yOverride = false;
  setupPage_->setSettings(s);
  setupPage_->cmdPlot_Click();
}

QString PlotController::cmdFileSaveAs_Click(const QString& ansName, QString& initialDir,
                                            const QString& programDir) {
  if (!hasPlot()) return {};
  return output_.cmdFileSaveAs_Click(surface_.image(), ansName, initialDir, programDir,
                                     [this](QPaintDevice& device) { return drawVector(device); });
}

bool PlotController::drawVector(QPaintDevice& device) {
  // The same plotter on the same surface, its drawing sent to the device: the layout follows
  // the picture's own font metrics, so the file shows what the screen shows.
  surface_.paintOn(&device);
  const bool drawn = plotter_.redraw();
  surface_.paintOn(nullptr);
  return drawn;
}

QString PlotController::exportSpectrum(QString& initialDir, const QString& programDir) {
  if (!hasPlot()) return {};
  return export_.exportSpectrum(run_, initialDir, programDir, held_);
}

bool PlotController::cmdPrint_Click(const QString& ansName) {
  if (!hasPlot()) return false;
  return output_.cmdPrint_Click(*printer_, surface_.image(), ansName, sig2Z_,
                                [this](QPaintDevice& device) { return drawVector(device); });
}

}  // namespace tessivar
