#include "SetupPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "NumberFormat.h"

namespace tessivar {

namespace {

const char* const kColorCaptions[6] = {
    "Axes:", "Titles:", "Misc Info:", "Curve1:", "Curve2:", "Background:"};
const char* const kGridTypeCaptions[4] = {"Solid", "Dashed", "Dotted", "Dashed-Dot-Dot"};
// "&&" shows a single ampersand.
const char* const kGridLinesCaptions[4] = {"No Grid Lines", "X && Y Axes", "X Axis Only",
                                           "Y Axis Only"};

template <typename T>
T* named(T* w, const QString& name) {
  w->setObjectName(name);
  return w;
}

int checkedIndex(const QButtonGroup* g) {
  return g->checkedId();
}

void selectIndex(QButtonGroup* g, int index) {
  QAbstractButton* b = g->button(index);
  if (b) {
    b->setChecked(true);
    return;
  }
  // No choice: an exclusive group must let go of its checked button first.
  g->setExclusive(false);
  for (QAbstractButton* other : g->buttons()) other->setChecked(false);
  g->setExclusive(true);
}

}  // namespace

SetupPage::SetupPage(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("SetupPage"));
  tabShowing_ = [this] { return isVisible(); };
  build();
  setSettings(PlotSettings());
  setSetupControlsEnabled(false);
}

void SetupPage::build() {
  auto* grid = new QGridLayout(this);

  FraXaxis_ = named(new QGroupBox(QStringLiteral("X-axis Scaling Setup "), this),
                    QStringLiteral("FraXaxis"));
  FraYaxis_ = named(new QGroupBox(QStringLiteral("Y-axis Scaling Setup "), this),
                    QStringLiteral("FraYaxis"));
  auto axisFrame = [this](QGroupBox* frame, const QString& axis, QCheckBox*& chk, QLineEdit*& min,
                          QLineEdit*& step, const QString& stepCaption) {
    auto* l = new QGridLayout(frame);
    chk = named(new QCheckBox(QStringLiteral("Use following %1 values for plots:").arg(axis)),
                QStringLiteral("chk%1axis").arg(axis));
    min = named(new QLineEdit(QStringLiteral("0")), QStringLiteral("txt%1min").arg(axis));
    step = named(new QLineEdit(QStringLiteral("0")), QStringLiteral("txt%1step").arg(axis));
    l->addWidget(chk, 0, 0, 1, 2);
    l->addWidget(new QLabel(QStringLiteral("Enter %1-min value:").arg(axis)), 1, 0);
    l->addWidget(min, 1, 1);
    l->addWidget(new QLabel(stepCaption), 2, 0);
    l->addWidget(step, 2, 1);
    for (QLineEdit* box : {min, step}) {
      box->installEventFilter(this);
      box->setAutoFillBackground(true);
    }
  };
  axisFrame(FraXaxis_, QStringLiteral("X"), chkXaxis_, txtXmin_, txtXstep_,
            QStringLiteral("X-step for 10 steps:"));
  axisFrame(FraYaxis_, QStringLiteral("Y"), chkYaxis_, txtYmin_, txtYstep_,
            QStringLiteral("Y-step for 5 steps:"));
  connect(chkXaxis_, &QCheckBox::clicked, this, &SetupPage::chkXaxis_Click);
  connect(chkYaxis_, &QCheckBox::clicked, this, &SetupPage::chkYaxis_Click);

  fraGridType_ = named(new QGroupBox(QStringLiteral("Type of Grid Lines"), this),
                       QStringLiteral("fraGridType"));
  fraGridLines_ =
      named(new QGroupBox(QStringLiteral("Plot Grid Lines"), this), QStringLiteral("fraGridLines"));
  gridTypeGroup_ = new QButtonGroup(this);
  gridLinesGroup_ = new QButtonGroup(this);
  auto* typeLayout = new QVBoxLayout(fraGridType_);
  auto* linesLayout = new QVBoxLayout(fraGridLines_);
  for (int k = 0; k < 4; ++k) {
    optGridType_[k] = named(new QRadioButton(QString::fromLatin1(kGridTypeCaptions[k])),
                            QStringLiteral("optGridType_%1").arg(k));
    gridTypeGroup_->addButton(optGridType_[k], k);
    typeLayout->addWidget(optGridType_[k]);
    optGridLines_[k] = named(new QRadioButton(QString::fromLatin1(kGridLinesCaptions[k])),
                             QStringLiteral("optGridLines_%1").arg(k));
    gridLinesGroup_->addButton(optGridLines_[k], k);
    linesLayout->addWidget(optGridLines_[k]);
  }

  fraColor_ =
      named(new QGroupBox(QStringLiteral("Color Setup "), this), QStringLiteral("fraColor"));
  auto* colorLayout = new QGridLayout(fraColor_);
  for (int k = 0; k < 6; ++k) {
    lblColor_[k] = named(new QLabel(QString::fromLatin1(kColorCaptions[k])),
                         QStringLiteral("lblColor_%1").arg(k));
    txtColor_[k] = named(new QLineEdit, QStringLiteral("txtColor_%1").arg(k));
    txtColor_[k]->setReadOnly(true);
    txtColor_[k]->setFocusPolicy(Qt::NoFocus);
    txtColor_[k]->setAutoFillBackground(true);
    cmdColor_[k] =
        named(new QPushButton(QStringLiteral("Pick Color")), QStringLiteral("cmdColor_%1").arg(k));
    connect(cmdColor_[k], &QPushButton::clicked, this, [this, k] { cmdColor_Click(k); });
    colorLayout->addWidget(lblColor_[k], k, 0);
    colorLayout->addWidget(txtColor_[k], k, 1);
    colorLayout->addWidget(cmdColor_[k], k, 2);
  }
  chkBlacknWhite_ = named(new QCheckBox(QStringLiteral("Black && White Plots")),
                          QStringLiteral("chkBlacknWhite"));
  colorLayout->addWidget(chkBlacknWhite_, 6, 0, 1, 3);
  connect(chkBlacknWhite_, &QCheckBox::clicked, this, &SetupPage::chkBlacknWhite_Click);

  // Its key is R: Alt+P is "&Print ..." below the tabs, which shows on this tab too.
  cmdPlot_ =
      named(new QPushButton(QStringLiteral("Plot &results >>"), this), QStringLiteral("cmdPlot"));
  cmdSaveOptions_ = named(new QPushButton(QStringLiteral("&Save Settings"), this),
                          QStringLiteral("cmdSaveOptions"));
  cmdExitPlotting_ = named(new QPushButton(QStringLiteral("E&xit Plotting"), this),
                           QStringLiteral("cmdExitPlotting"));
  connect(cmdPlot_, &QPushButton::clicked, this, &SetupPage::cmdPlot_Click);
  connect(cmdSaveOptions_, &QPushButton::clicked, this, &SetupPage::cmdSaveOptions_Click);
  connect(cmdExitPlotting_, &QPushButton::clicked, this, &SetupPage::cmdExitPlotting_Click);

  grid->addWidget(FraXaxis_, 0, 0);
  grid->addWidget(FraYaxis_, 1, 0);
  grid->addWidget(fraGridType_, 0, 1);
  grid->addWidget(fraGridLines_, 1, 1);
  grid->addWidget(fraColor_, 0, 2, 2, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdPlot_);
  buttons->addWidget(cmdSaveOptions_);
  buttons->addWidget(cmdExitPlotting_);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 3, 2, 1);
}

PlotSettings SetupPage::settings() const {
  PlotSettings s;
  s.blackAndWhite = chkBlacknWhite_->isChecked();
  s.gridType = checkedIndex(gridTypeGroup_);
  s.gridLines = checkedIndex(gridLinesGroup_);
  s.colors = colors_;
  s.xOverride = chkXaxis_->isChecked();
  s.txtXmin = txtXmin_->text();
  s.txtXstep = txtXstep_->text();
  s.yOverride = chkYaxis_->isChecked();
  s.txtYmin = txtYmin_->text();
  s.txtYstep = txtYstep_->text();
  return s;
}

void SetupPage::setSettings(const PlotSettings& s) {
  chkBlacknWhite_->setChecked(s.blackAndWhite);
  selectIndex(gridTypeGroup_, s.gridType);
  selectIndex(gridLinesGroup_, s.gridLines);
  for (int k = 0; k < 6; ++k) setSwatch(k, s.colors[k]);
  chkXaxis_->setChecked(s.xOverride);
  txtXmin_->setText(s.txtXmin);
  txtXstep_->setText(s.txtXstep);
  chkYaxis_->setChecked(s.yOverride);
  txtYmin_->setText(s.txtYmin);
  txtYstep_->setText(s.txtYstep);
  updateColorControls();
  updateOverrideBoxes();
}

void SetupPage::loadSettings(QSettings& store) {
  setSettings(tessivar::loadSettings(store, settings()));
}

void SetupPage::loadSettings() {
  QSettings store;
  loadSettings(store);
}

void SetupPage::setSetupControlsEnabled(bool enabled) {
  for (int k = 0; k < 6; ++k) {
    cmdColor_[k]->setEnabled(enabled);
    txtColor_[k]->setEnabled(enabled);
  }
  for (int k = 0; k < 4; ++k) {
    optGridLines_[k]->setEnabled(enabled);
    optGridType_[k]->setEnabled(enabled);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{chkBlacknWhite_, chkXaxis_, chkYaxis_,
                                                    cmdSaveOptions_, cmdPlot_, cmdExitPlotting_})
    w->setEnabled(enabled);
  // Black-and-white mode keeps the colour controls disabled.
  if (enabled) updateColorControls();
  updateOverrideBoxes();
}

void SetupPage::setBoxesEnabled(QLineEdit* min, QLineEdit* step, bool enabled) {
  const QPalette::ColorRole backgroundRole = QPalette::Base;
  for (QLineEdit* box : {min, step}) {
    box->setEnabled(enabled);
    QPalette p = box->palette();
    // Enabled boxes have the window background of text, disabled ones the grey of disabled text.
    const QColor back =
        enabled ? QApplication::palette().color(QPalette::Active, QPalette::Base)
                : QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    p.setColor(QPalette::Active, backgroundRole, back);
    p.setColor(QPalette::Inactive, backgroundRole, back);
    p.setColor(QPalette::Disabled, backgroundRole, back);
    box->setPalette(p);
  }
}

void SetupPage::updateOverrideBoxes() {
  const bool showing = tabShowing_ && tabShowing_();
  const bool x = chkXaxis_->isChecked() && showing;
  const bool y = chkYaxis_->isChecked() && showing;
  setBoxesEnabled(txtXmin_, txtXstep_, x);
  setBoxesEnabled(txtYmin_, txtYstep_, y);
}

void SetupPage::chkXaxis_Click() {
  const bool on = chkXaxis_->isChecked() && tabShowing_ && tabShowing_();
  setBoxesEnabled(txtXmin_, txtXstep_, on);
  if (on) txtXmin_->setFocus(Qt::OtherFocusReason);
  const OverrideTexts last = lastPlot_ ? lastPlot_() : OverrideTexts{" 0", " 0", " 0", " 0"};
  if (txtXmin_->text().isEmpty()) txtXmin_->setText(last.xMin);
  if (txtXstep_->text().isEmpty()) txtXstep_->setText(last.xStep);
}

void SetupPage::chkYaxis_Click() {
  const bool on = chkYaxis_->isChecked() && tabShowing_ && tabShowing_();
  setBoxesEnabled(txtYmin_, txtYstep_, on);
  if (on) txtYmin_->setFocus(Qt::OtherFocusReason);
  const OverrideTexts last = lastPlot_ ? lastPlot_() : OverrideTexts{" 0", " 0", " 0", " 0"};
  if (txtYmin_->text().isEmpty()) txtYmin_->setText(last.yMin);
  if (txtYstep_->text().isEmpty()) txtYstep_->setText(last.yStep);
}

void SetupPage::setSwatch(int k, const QColor& c) {
  colors_[k] = c;
  QPalette p = txtColor_[k]->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Base, c);
  txtColor_[k]->setPalette(p);
}

void SetupPage::updateColorControls() {
  const bool colorsUsable = !chkBlacknWhite_->isChecked();
  // The check box's own state: its frame is switched off while another tab is shown, which
  // must not decide the colour controls' state for when the Setup tab comes back.
  const bool setupOn = chkBlacknWhite_->isEnabledTo(chkBlacknWhite_->parentWidget());
  for (int k = 0; k < 6; ++k) {
    txtColor_[k]->setEnabled(colorsUsable && setupOn);
    cmdColor_[k]->setEnabled(colorsUsable && setupOn);
    lblColor_[k]->setEnabled(colorsUsable);
  }
}

void SetupPage::chkBlacknWhite_Click() {
  updateColorControls();
}

void SetupPage::cmdColor_Click(int index) {
  if (index < 0 || index > 5) return;
  const auto chosen = dialogs_.pickColor(colors_[index]);
  if (chosen && chosen->isValid()) setSwatch(index, *chosen);
}

void SetupPage::cmdSaveOptions_Click() {
  QSettings store;
  saveSettings(store, settings());
  if (store.status() != QSettings::NoError) {
    dialogs_.message(QStringLiteral("The plot settings could not be written to ") +
                         store.fileName() +
                         QStringLiteral(".\r\nCheck that the file can be written, then press "
                                        "'Save Settings' again."),
                     QStringLiteral("In 'cmdSaveOptions' routine ..."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Warning);
  }
}

void SetupPage::cmdPlot_Click() {
  emit plotRequested();
}

void SetupPage::cmdExitPlotting_Click() {
  emit exitPlottingRequested();
}

namespace {

// A step box refuses a text that reads as 0; an empty box passes.
bool stepAcceptable(const QLineEdit* box) {
  return box->text().isEmpty() || leadingNumber(box->text()) != 0;
}

}  // namespace

bool SetupPage::txtXstep_Validate() {
  if (stepAcceptable(txtXstep_)) return true;
  validating_ = true;
  dialogs_.message(QStringLiteral("Please enter a non-zero number for X-step size."),
                   QApplication::applicationName(), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
  validating_ = false;
  txtXstep_->setSelection(0, 9999);
  txtXstep_->setFocus(Qt::OtherFocusReason);
  return false;
}

bool SetupPage::txtYstep_Validate() {
  if (stepAcceptable(txtYstep_)) return true;
  validating_ = true;
  dialogs_.message(QStringLiteral("Please enter a non-zero number for Y-step size."),
                   QApplication::applicationName(), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
  validating_ = false;
  keepSelection_ = txtYstep_;
  txtYstep_->setFocus(Qt::OtherFocusReason);
  return false;
}

bool SetupPage::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box && event->type() == QEvent::FocusIn && box == keepSelection_) {
    keepSelection_ = nullptr;
  } else if (box && event->type() == QEvent::FocusIn) {
    // Each override box selects its whole text on getting the focus; after the click that
    // gave the focus, or the click would place the cursor instead.
    QTimer::singleShot(0, box, [box] { box->setSelection(0, 9999); });
  } else if (box && event->type() == QEvent::FocusOut && !validating_) {
    // Leaving the box for another control of the window; a focus that goes to another window
    // (the warning itself among them) is no leaving.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      if (box == txtXstep_) QTimer::singleShot(0, this, [this] { txtXstep_Validate(); });
      if (box == txtYstep_) QTimer::singleShot(0, this, [this] { txtYstep_Validate(); });
    }
  }
  return QWidget::eventFilter(watched, event);
}

void SetupPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  updateOverrideBoxes();
}

void SetupPage::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  updateOverrideBoxes();
}

}  // namespace tessivar
