#include "PlotPage.h"

#include <QPainter>
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
  return surface_.size();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), surface_.backColor());
  p.drawImage(0, 0, surface_.image());
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size().isEmpty() || event->size() == surface_.size()) return;
  surface_.resize(event->size());
  if (onResized_) onResized_();
}

PlotPage::PlotPage(Surface& surface, QWidget* parent)
    : QWidget(parent), picBox_(new PictureBox(surface, this)) {
  setObjectName(QStringLiteral("PlotPage"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picBox_);
}

void PlotPage::refresh() {
  picBox_->update();
}

}  // namespace tessivar
