#include "PlotController.h"

#include <QGuiApplication>
#include <QScreen>

#include "PlotPage.h"
#include "SetupPage.h"

namespace tessivar {

namespace {

int screenWidthPixels() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().width() : 640;
}

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
      setupPage_(new SetupPage(dialogs)),
      plotPage_(new PlotPage(surface_)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  plotter_.setScreenWidth(screenWidthPixels());
  setupPage_->setLastPlot([this] { return plotter_.overrideTexts(); });
  // A picture box of a new size gets the plot drawn again to fill it.
  plotPage_->picBox()->setOnResized([this] {
    if (plotter_.redraw()) plotPage_->refresh();
  });
  connect(setupPage_, &SetupPage::plotRequested, this, &PlotController::plotRequested);
  connect(setupPage_, &SetupPage::exitPlottingRequested, this,
          &PlotController::exitPlottingRequested);
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
  return output_.cmdFileSaveAs_Click(surface_.image(), ansName, initialDir, programDir);
}

bool PlotController::cmdPrint_Click(const QString& ansName) {
  if (!hasPlot()) return false;
  return output_.cmdPrint_Click(*printer_, surface_.image(), ansName, sig2Z_);
}

}  // namespace tessivar
