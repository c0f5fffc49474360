// The Plot tab: the picture box `picBox` showing the plot surface's image, and below it the
// Export spectrum... button `cmdExportSpectrum`.
#pragma once

#include <QWidget>
#include <functional>

class QPushButton;

namespace tessivar {

class Surface;

// The picture box: paints the surface's persistent image and gives the surface its own size
// when it is resized, so that the next plot fills it.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  PictureBox(Surface& surface, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  // Called after the surface took a new size, to draw the plot again at that size.
  void setOnResized(std::function<void()> f) { onResized_ = std::move(f); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Surface& surface_;
  std::function<void()> onResized_;
};

class PlotPage : public QWidget {
  Q_OBJECT

 public:
  PlotPage(Surface& surface, QWidget* parent = nullptr);
  PictureBox* picBox() const { return picBox_; }
  QPushButton* exportButton() const { return exportButton_; }
  // Shows what is now in the surface's image.
  void refresh();

 private:
  PictureBox* picBox_;
  QPushButton* exportButton_;
};

}  // namespace tessivar
