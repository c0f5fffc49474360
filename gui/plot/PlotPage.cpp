#include "PlotPage.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "Surface.h"

namespace tessivar {

PictureBox::PictureBox(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setObjectName(QStringLiteral("picBox"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
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

PlotPage::PlotPage(Surface& surface, QWidget* parent)
    : QWidget(parent),
      picBox_(new PictureBox(surface, this)),
      exportButton_(new QPushButton(QStringLiteral("&Export spectrum..."), this)) {
  setObjectName(QStringLiteral("PlotPage"));
  exportButton_->setObjectName(QStringLiteral("cmdExportSpectrum"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picBox_, 1);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(exportButton_);
  layout->addLayout(row);
}

void PlotPage::refresh() {
  picBox_->update();
}

}  // namespace tessivar
