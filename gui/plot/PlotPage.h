// The Plot tab: the picture box `picBox` showing the plot surface's image, filling the page,
// and a bar with the held-curve buttons, Export spectrum... (`cmdExportSpectrum`) and the
// read-out's status bar, which the window places in its own row of buttons and which shows while
// the page does.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QPushButton;
class QStatusBar;

namespace tessivar {

class Surface;

// The picture box: paints the surface's persistent image and gives the surface its own size
// when it is resized, so that the next plot fills it. Over the image it draws the read-out's
// crosshair and the rectangle being dragged; what the mouse does is handed to the callbacks,
// in logical pixels of the box.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  PictureBox(Surface& surface, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  // Called after the surface took a new size, to draw the plot again at that size.
  void setOnResized(std::function<void()> f) { onResized_ = std::move(f); }
  // The mouse at a point, or gone from the box (nothing): returns where the crosshair goes.
  void setOnHover(std::function<std::optional<QPointF>(std::optional<QPointF>)> f) {
    onHover_ = std::move(f);
  }
  // A rectangle dragged with the left button, and a double-click.
  void setOnZoom(std::function<void(QRectF)> f) { onZoom_ = std::move(f); }
  void setOnZoomReset(std::function<void()> f) { onZoomReset_ = std::move(f); }
  std::optional<QPointF> crosshair() const { return crosshair_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void hover(std::optional<QPointF> at);

  Surface& surface_;
  std::function<void()> onResized_;
  std::function<std::optional<QPointF>(std::optional<QPointF>)> onHover_;
  std::function<void(QRectF)> onZoom_;
  std::function<void()> onZoomReset_;
  std::optional<QPointF> crosshair_;
  std::optional<QPointF> dragFrom_;
  QPointF dragTo_;
};

class PlotPage : public QWidget {
  Q_OBJECT

 public:
  PlotPage(Surface& surface, QWidget* parent = nullptr);
  PictureBox* picBox() const { return picBox_; }
  QPushButton* exportButton() const { return exportButton_; }
  // The bar of held-curve buttons and read-out; until the window places it, it is a hidden
  // child of the page.
  QWidget* toolBar() const { return fraTools_; }
  QPushButton* cmdHoldCurve() const { return cmdHoldCurve_; }
  QPushButton* cmdClearHeld() const { return cmdClearHeld_; }
  QAction* holdAction() const { return holdAction_; }
  QAction* clearHeldAction() const { return clearHeldAction_; }
  QStatusBar* statusBar() const { return status_; }
  // Shows what is now in the surface's image.
  void refresh();
  // Whether a curve can be held now and whether any is held: the buttons and the picture's
  // menu follow.
  void setHoldState(bool canHold, bool canClear);
  void showReadOut(const QString& text);

 signals:
  void holdRequested();
  void clearHeldRequested();
  void zoomResetRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  PictureBox* picBox_;
  QPushButton* exportButton_;
  QWidget* fraTools_;
  QPushButton *cmdHoldCurve_, *cmdClearHeld_;
  QAction *holdAction_, *clearHeldAction_;
  QStatusBar* status_;
};

}  // namespace tessivar
