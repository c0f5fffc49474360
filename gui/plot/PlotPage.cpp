#include "PlotPage.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "Surface.h"

namespace tessivar {

PictureBox::PictureBox(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setObjectName(QStringLiteral("picBox"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

QSize PictureBox::sizeHint() const {
  return surface_.size() / surface_.devicePixelRatio();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), surface_.backColor());
  // The image holds device pixels; marked with the ratio it is drawn one to one.
  QImage image = surface_.image();
  image.setDevicePixelRatio(surface_.devicePixelRatio());
  p.drawImage(0, 0, image);
  // Crosshair and zoom rectangle belong to the screen only: they are never in the image that
  // is saved or printed.
  if (crosshair_) {
    p.setPen(QPen(QColor(80, 80, 80), 0, Qt::DotLine));
    p.drawLine(QPointF(crosshair_->x(), 0), QPointF(crosshair_->x(), height()));
    p.drawLine(QPointF(0, crosshair_->y()), QPointF(width(), crosshair_->y()));
  }
  if (dragFrom_) {
    p.setPen(QPen(Qt::black, 0, Qt::DashLine));
    p.setBrush(QColor(0, 0, 255, 30));
    p.drawRect(QRectF(*dragFrom_, dragTo_).normalized());
  }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const double ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(event->size()) * ratio).toSize();
  if (event->size().isEmpty() ||
      (pixels == surface_.size() && ratio == surface_.devicePixelRatio()))
    return;
  surface_.setDevicePixelRatio(ratio);
  surface_.resize(pixels);
  if (onResized_) onResized_();
}

void PictureBox::hover(std::optional<QPointF> at) {
  crosshair_ = onHover_ ? onHover_(at) : std::nullopt;
  update();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragFrom_ = dragTo_ = event->position();
  QWidget::mousePressEvent(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  if (dragFrom_) dragTo_ = event->position();
  hover(event->position());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragFrom_) return;
  const QRectF r = QRectF(*dragFrom_, event->position()).normalized();
  dragFrom_.reset();
  update();
  // A click or a slip of the hand is no rectangle to zoom to.
  if (r.width() >= 4 && r.height() >= 4 && onZoom_) onZoom_(r);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
  dragFrom_.reset();
  if (event->button() == Qt::LeftButton && onZoomReset_) onZoomReset_();
}

void PictureBox::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  hover(std::nullopt);
}

PlotPage::PlotPage(Surface& surface, QWidget* parent)
    : QWidget(parent), picBox_(new PictureBox(surface, this)), fraTools_(new QWidget(this)) {
  setObjectName(QStringLiteral("PlotPage"));
  // The buttons take no focus, so that the focus stays where the window's tab rule puts it.
  // Esc anywhere on the shown page returns to automatic scaling.
  fraTools_->setObjectName(QStringLiteral("fraPlotTools"));
  fraTools_->hide();
  cmdHoldCurve_ = new QPushButton(QStringLiteral("Hold curve"), fraTools_);
  cmdHoldCurve_->setObjectName(QStringLiteral("cmdHoldCurve"));
  cmdClearHeld_ = new QPushButton(QStringLiteral("Clear held curves"), fraTools_);
  cmdClearHeld_->setObjectName(QStringLiteral("cmdClearHeld"));
  exportButton_ = new QPushButton(QStringLiteral("&Export spectrum..."), fraTools_);
  exportButton_->setObjectName(QStringLiteral("cmdExportSpectrum"));
  for (QPushButton* b : {cmdHoldCurve_, cmdClearHeld_, exportButton_})
    b->setFocusPolicy(Qt::NoFocus);
  // A read-out of eight curves is long: the bar never asks the window to grow for it.
  status_ = new QStatusBar(fraTools_);
  status_->setObjectName(QStringLiteral("plotStatus"));
  status_->setSizeGripEnabled(false);
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* tools = new QHBoxLayout(fraTools_);
  tools->setContentsMargins(0, 0, 0, 0);
  tools->addWidget(cmdHoldCurve_);
  tools->addWidget(cmdClearHeld_);
  tools->addWidget(exportButton_);
  tools->addWidget(status_, 1);

  holdAction_ = new QAction(QStringLiteral("Hold curve"), this);
  holdAction_->setObjectName(QStringLiteral("mnuPlotHold"));
  clearHeldAction_ = new QAction(QStringLiteral("Clear held curves"), this);
  clearHeldAction_->setObjectName(QStringLiteral("mnuPlotClearHeld"));
  picBox_->addAction(holdAction_);
  picBox_->addAction(clearHeldAction_);
  picBox_->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(cmdHoldCurve_, &QPushButton::clicked, this, &PlotPage::holdRequested);
  connect(holdAction_, &QAction::triggered, this, &PlotPage::holdRequested);
  connect(cmdClearHeld_, &QPushButton::clicked, this, &PlotPage::clearHeldRequested);
  connect(clearHeldAction_, &QAction::triggered, this, &PlotPage::clearHeldRequested);
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  esc->setContext(Qt::WindowShortcut);
  connect(esc, &QShortcut::activated, this, &PlotPage::zoomResetRequested);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picBox_);
  setHoldState(false, false);
}

// Once the window placed the bar it shows with the page; as the page's own child it stays
// hidden, or it would lie over the picture.
void PlotPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (fraTools_->parentWidget() != this) fraTools_->show();
}

void PlotPage::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (fraTools_->parentWidget() != this) fraTools_->hide();
}

void PlotPage::refresh() {
  picBox_->update();
}

void PlotPage::setHoldState(bool canHold, bool canClear) {
  cmdHoldCurve_->setEnabled(canHold);
  holdAction_->setEnabled(canHold);
  cmdClearHeld_->setEnabled(canClear);
  clearHeldAction_->setEnabled(canClear);
}

void PlotPage::showReadOut(const QString& text) {
  if (text.isEmpty())
    status_->clearMessage();
  else
    status_->showMessage(text);
}

}  // namespace tessivar
