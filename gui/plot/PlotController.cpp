#include "PlotController.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "PlotPage.h"
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
  const bool drawn = plotter_.startPlot(run, setupPage_->settings());
  plotPage_->refresh();
  return drawn;
}

void PlotController::discardPlot() {
  plotter_.discard();
  plotPage_->refresh();
}

void PlotController::applySwitches(const PlottingSwitches& s) {
  setupPage_->setSetupControlsEnabled(s.setupControlsEnabled);
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
  return export_.exportSpectrum(run_, initialDir, programDir);
}

bool PlotController::cmdPrint_Click(const QString& ansName) {
  if (!hasPlot()) return false;
  return output_.cmdPrint_Click(*printer_, surface_.image(), ansName, sig2Z_);
}

}  // namespace tessivar
