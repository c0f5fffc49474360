// The Setup tab: plot colours, black-and-white mode, grid choices and the axis overrides, with
// Save Settings and the buttons that replot or leave plotting.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "PlotSettings.h"
#include "mdlPlots.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;

namespace tessivar {

class Dialogs;

class SetupPage : public QWidget {
  Q_OBJECT

 public:
  explicit SetupPage(Dialogs& dialogs, QWidget* parent = nullptr);

  // The values as the controls hold them, and the reverse.
  PlotSettings settings() const;
  void setSettings(const PlotSettings& s);

  // Start-up: the stored settings applied to the form's values (defaults when none are stored).
  void loadSettings(QSettings& store);
  void loadSettings();  // from the program's own store

  // The enabling routine of the setup controls; the override boxes then follow their rule.
  void setSetupControlsEnabled(bool enabled);
  // Whether the tab control shows the Setup tab (default: whether this page is visible).
  void setTabShowing(std::function<bool()> showing) { tabShowing_ = std::move(showing); }
  // The last plot's override texts, offered to empty boxes when an override is ticked.
  void setLastPlot(std::function<OverrideTexts()> lastPlot) { lastPlot_ = std::move(lastPlot); }

  // Named controls, for the window and for tests.
  QCheckBox* chkXaxis() const { return chkXaxis_; }
  QCheckBox* chkYaxis() const { return chkYaxis_; }
  QLineEdit* txtXmin() const { return txtXmin_; }
  QLineEdit* txtXstep() const { return txtXstep_; }
  QLineEdit* txtYmin() const { return txtYmin_; }
  QLineEdit* txtYstep() const { return txtYstep_; }
  QCheckBox* chkBlacknWhite() const { return chkBlacknWhite_; }
  QLineEdit* txtColor(int k) const { return txtColor_[k]; }
  QPushButton* cmdColor(int k) const { return cmdColor_[k]; }
  QLabel* lblColor(int k) const { return lblColor_[k]; }
  QRadioButton* optGridType(int k) const { return optGridType_[k]; }
  QRadioButton* optGridLines(int k) const { return optGridLines_[k]; }
  QPushButton* cmdPlot() const { return cmdPlot_; }
  QPushButton* cmdSaveOptions() const { return cmdSaveOptions_; }
  QPushButton* cmdExitPlotting() const { return cmdExitPlotting_; }

 signals:
  // "Plot &results >>": the window starts a run, which ends in startPlot.
  void plotRequested();
  // "E&xit Plotting".
  void exitPlottingRequested();

 public slots:
  void chkXaxis_Click();
  void chkYaxis_Click();
  void chkBlacknWhite_Click();
  void cmdColor_Click(int index);
  void cmdSaveOptions_Click();
  void cmdPlot_Click();
  void cmdExitPlotting_Click();
  // Leaving a step box: false (and the focus kept in the box) for a text that reads as 0.
  bool txtXstep_Validate();
  bool txtYstep_Validate();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void build();
  void updateOverrideBoxes();
  void setBoxesEnabled(QLineEdit* min, QLineEdit* step, bool enabled);
  void setSwatch(int k, const QColor& c);
  void updateColorControls();

  Dialogs& dialogs_;
  std::function<bool()> tabShowing_;
  std::function<OverrideTexts()> lastPlot_;
  bool validating_ = false;
  QLineEdit* keepSelection_ = nullptr;  // refocused by its own validation: no reselection

  QGroupBox *FraXaxis_, *FraYaxis_, *fraGridType_, *fraGridLines_, *fraColor_;
  QCheckBox *chkXaxis_, *chkYaxis_, *chkBlacknWhite_;
  QLineEdit *txtXmin_, *txtXstep_, *txtYmin_, *txtYstep_;
  std::array<QLabel*, 6> lblColor_{};
  std::array<QLineEdit*, 6> txtColor_{};
  std::array<QPushButton*, 6> cmdColor_{};
  std::array<QColor, 6> colors_ = PlotSettings::formColors();
  std::array<QRadioButton*, 4> optGridType_{};
  std::array<QRadioButton*, 4> optGridLines_{};
  QButtonGroup *gridTypeGroup_, *gridLinesGroup_;
  QPushButton *cmdPlot_, *cmdSaveOptions_, *cmdExitPlotting_;
};

}  // namespace tessivar
