// Plotting as the main window uses it: owns the plot surface, the Setup and Plot tab pages, the
// plotter and the output commands, and joins them. The window places the two pages in its tabs,
// applies the state switches to its own controls, and calls startPlot after each good run.
#pragma once

#include <QObject>
#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>

#include "HeldCurves.h"
#include "PlotOutput.h"
#include "PlotStateSwitches.h"
#include "RunResults.h"
#include "SpectrumExport.h"
#include "Surface.h"
#include "mdlPlots.h"

class QWidget;

namespace tessivar {

class Dialogs;
class OutputBox;
class PlotPage;
class SetupPage;

class PlotController : public QObject {
  Q_OBJECT

 public:
  // dialogs: every prompt; out: the Output tab's text box. The screen's width and logical
  // resolution come from the primary screen.
  PlotController(Dialogs& dialogs, OutputBox& out, QObject* parent = nullptr);
  ~PlotController() override;

  // The pages for tab 2 ("Setup") and tab 4 ("Plot"); the window takes them over (reparents).
  SetupPage* setupPage() const { return setupPage_; }
  PlotPage* plotPage() const { return plotPage_; }
  Surface& surface() { return surface_; }
  Plotter& plotter() { return plotter_; }

  // Start-up: the plot settings from the store (defaults when none) and the setup controls off.
  void loadSettings();

  // The plotting part of startPlot(n): draws the run with the Setup tab's values, shows it and
  // lists the peaks. The window applies switchesAtStartPlot() before (and shows the Plot tab).
  bool startPlot(const RunResults& run);

  // A run that draws nothing: the last picture is cleared, so that it cannot be printed or
  // saved as this run's.
  void discardPlot();
  bool hasPlot() const { return plotter_.hasPlot(); }

  // Applies the setup-controls part of a moment's switches to the Setup page.
  void applySwitches(const PlottingSwitches& s);

  // Save As ... and Print ... of the window's buttons; without a plot they do nothing. Save As
  // draws the plot again for an SVG or PDF file.
  QString cmdFileSaveAs_Click(const QString& ansName, QString& initialDir,
                              const QString& programDir);
  // Export spectrum...: the plotted run as CSV files, a column for each held curve; without a
  // plot it does nothing.
  QString exportSpectrum(QString& initialDir, const QString& programDir);
  // The plot drawn again on a vector device of the picture's size (Save As, SVG and PDF).
  bool drawVector(QPaintDevice& device);
  bool cmdPrint_Click(const QString& ansName);
  QPrinter& printer() { return *printer_; }

  // Held curves: "Hold curve" keeps the plotted spectrum (false when there is none, it is held
  // already or eight are held), "Clear held curves" forgets them; both draw the plot again. The
  // curves outlive the plot, Exit Plotting and new settings; the CSV export reads them here.
  bool holdCurve();
  void clearHeldCurves();
  const HeldCurves& heldCurves() const { return held_; }
  // Names the current run's curve in the legend and when held (default: its method).
  void setCurveLabeler(std::function<QString(const RunResults&)> f) { labeler_ = std::move(f); }

  // The read-out at a point of the picture box (logical pixels), or none when the mouse left:
  // writes the status bar and returns where the crosshair goes.
  std::optional<QPointF> hover(std::optional<QPointF> at);
  // Zoom to a rectangle of the picture box (logical pixels): the Setup tab's overrides take its
  // limits and the plot is asked for again as the Setup tab's button asks for it. While not
  // plotting, or without a plot, nothing happens.
  void zoomTo(const QRectF& box);
  // Back to automatic scaling: both overrides cleared and the plot asked for again.
  void zoomReset();

 signals:
  void plotRequested();
  void exitPlottingRequested();
  void exportSpectrumRequested();  // the Plot tab's Export spectrum... button

 private:
  Dialogs& dialogs_;
  Surface surface_;
  Plotter plotter_;
  PlotOutput output_;
  SpectrumExport export_;
  RunResults run_;  // the plotted run, for its export
  SetupPage* setupPage_;
  PlotPage* plotPage_;
  std::unique_ptr<QPrinter> printer_;
  float sig2Z_ = 0;
  HeldCurves held_;
  HeldCurve current_;  // the plotted curve, for the read-out and to be held
  std::function<QString(const RunResults&)> labeler_;
  bool plotting_ = false;
  bool currentHeld_ = false;  // the plotted spectrum is held already  // the Setup tab's controls
                              // are on: a replot can be asked for

  void afterDrawing();
  // A point of the picture box (logical pixels) in true units of the plotted axes.
  QPointF toTrue(QPointF box) const;
};

}  // namespace tessivar
