#include "mdlReSize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <cmath>

namespace tessivar {

namespace {

bool isTextBearing(const QString& t) {
  static const QStringList types = {"CheckBox", "TextBox",  "Label",         "ListBox",
                                    "Frame",    "ComboBox", "CommandButton", "OptionButton"};
  return types.contains(t);
}

double fontSize(const QWidget& w) {
  const double pt = w.font().pointSizeF();
  return pt > 0 ? pt : 0.0;
}

void setFontSize(QWidget& w, double pt) {
  if (pt <= 0) return;  // a control without a point size keeps its font
  QFont f = w.font();
  f.setPointSizeF(pt);
  w.setFont(f);
}

int widestTab(const QTabWidget& tabs) {
  int widest = 0;
  for (int i = 0; i < tabs.count(); ++i)
    widest = std::max(widest, tabs.tabBar()->tabRect(i).width());
  return widest;
}

}  // namespace

double mdlReSize::twipsPerPixelX(const QWidget& w) {
  return 1440.0 / w.logicalDpiX();
}
double mdlReSize::twipsPerPixelY(const QWidget& w) {
  return 1440.0 / w.logicalDpiY();
}

QString mdlReSize::typeName(const QWidget& w) {
  const QVariant forced = w.property("resizeType");
  if (forced.isValid() && !forced.toString().isEmpty()) return forced.toString();
  if (QString::fromLatin1(w.metaObject()->className()).contains(QLatin1String("Surface")))
    return QStringLiteral("PictureBox");
  if (qobject_cast<const QMenu*>(&w) || qobject_cast<const QMenuBar*>(&w))
    return QStringLiteral("Menu");
  if (const auto* bar = qobject_cast<const QScrollBar*>(&w))
    return bar->orientation() == Qt::Horizontal ? QStringLiteral("HScrollBar")
                                                : QStringLiteral("VScrollBar");
  if (qobject_cast<const QTabWidget*>(&w)) return QStringLiteral("SSTab");
  if (qobject_cast<const QLabel*>(&w)) return QStringLiteral("Label");
  if (qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QPlainTextEdit*>(&w) ||
      qobject_cast<const QTextEdit*>(&w))
    return QStringLiteral("TextBox");
  if (qobject_cast<const QPushButton*>(&w)) return QStringLiteral("CommandButton");
  if (qobject_cast<const QRadioButton*>(&w)) return QStringLiteral("OptionButton");
  if (qobject_cast<const QCheckBox*>(&w)) return QStringLiteral("CheckBox");
  if (qobject_cast<const QGroupBox*>(&w)) return QStringLiteral("Frame");
  if (qobject_cast<const QComboBox*>(&w)) return QStringLiteral("ComboBox");
  if (qobject_cast<const QListWidget*>(&w)) return QStringLiteral("ListBox");
  return QString::fromLatin1(w.metaObject()->className());
}

QWidget& mdlReSize::scaleWidget(QWidget& form) {
  if (auto* main = qobject_cast<QMainWindow*>(&form); main && main->centralWidget())
    return *main->centralWidget();
  return form;
}

// Depth first, in the order the children were created. Group boxes, tab pages and plain
// containers (QWidget, QFrame) are entered; composite controls are not, so the line edit inside
// a combo box or the scroll bars of a text box are no controls of their own.
void mdlReSize::collect(QWidget& parent, std::vector<QWidget*>& out) const {
  if (auto* tabs = qobject_cast<QTabWidget*>(&parent)) {
    for (int i = 0; i < tabs->count(); ++i) {
      if (QWidget* page = tabs->widget(i)) collect(*page, out);
    }
    return;
  }
  for (QObject* child : parent.children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w == nullptr || w->isWindow()) continue;
    out.push_back(w);
    const QString type = typeName(*w);
    const QByteArray cls = w->metaObject()->className();
    const bool container = type == QLatin1String("Frame") || type == QLatin1String("SSTab") ||
                           cls == "QWidget" || cls == "QFrame";
    if (container) collect(*w, out);
  }
}

void mdlReSize::Record(QWidget& form) {
  QWidget& scale = scaleWidget(form);
  const double tx = twipsPerPixelX(scale), ty = twipsPerPixelY(scale);
  const double sw = scale.width() * tx, sh = scale.height() * ty;
  entries_.clear();
  if (sw <= 0 || sh <= 0) return;
  std::vector<QWidget*> widgets;
  collect(scale, widgets);
  for (QWidget* w : widgets) {
    Entry e{w, typeName(*w)};
    const double top = w->y() * ty, height = w->height() * ty, width = w->width() * tx;
    double left = w->x() * tx;
    if (left < kParkedBelow) left += kParkOffset;
    if (e.type == QLatin1String("Menu")) {
      // nothing to keep
    } else if (e.type == QLatin1String("HScrollBar")) {
      e.a = top / sh, e.b = left / sw, e.c = width / sw;
    } else if (e.type == QLatin1String("VScrollBar")) {
      e.a = top / sh, e.b = left / sw, e.c = height / sh;
    } else if (e.type == QLatin1String("PictureBox")) {
      e.a = top / sh, e.b = left / sw, e.c = width / sw, e.d = height / sh;
    } else if (e.type == QLatin1String("SSTab")) {
      const auto* tabs = qobject_cast<QTabWidget*>(w);
      e.a = tabs ? tabs->tabBar()->height() * ty / sh : 0;
      e.b = tabs ? widestTab(*tabs) * tx / sw : 0;
      e.c = width / sw, e.d = height / sh, e.e = fontSize(*w) / sh;
    } else if (isTextBearing(e.type)) {
      e.a = top / sh, e.b = left / sw, e.c = width / sw, e.d = height / sh;
      e.e = fontSize(*w) / sh;
    } else {
      e.a = top / sh, e.b = left / sw;
    }
    entries_.push_back(e);
  }
}

bool mdlReSize::Apply(QWidget& form) {
  QWidget& scale = scaleWidget(form);
  const double tx = twipsPerPixelX(scale), ty = twipsPerPixelY(scale);
  const double sw = scale.width() * tx, sh = scale.height() * ty;
  if (sw < kMinWidth || sh < kMinHeight || entries_.empty()) return false;
  auto px = [](double twips, double perPixel) {
    return static_cast<int>(std::lround(twips / perPixel));
  };
  for (const Entry& e : entries_) {
    QWidget* w = e.widget.data();
    if (w == nullptr) continue;  // deleted since Record
    // A parked control (hidden tab page) stays parked, at its new proportional place.
    const bool parked = w->x() * tx < kParkedBelow;
    const int left = px(e.b * sw - (parked ? kParkOffset : 0.0), tx);
    const int top = px(e.a * sh, ty);
    if (e.type == QLatin1String("Menu")) {
      continue;
    } else if (e.type == QLatin1String("HScrollBar")) {
      w->setGeometry(left, top, px(e.c * sw, tx), w->height());
    } else if (e.type == QLatin1String("VScrollBar")) {
      w->setGeometry(left, top, w->width(), px(e.c * sh, ty));
    } else if (e.type == QLatin1String("PictureBox")) {
      w->setGeometry(left, top, px(e.c * sw, tx), px(e.d * sh, ty));
    } else if (e.type == QLatin1String("SSTab")) {
      // The tab control keeps its place; its tabs follow the font, and the widest-tab limit has
      // no counterpart in Qt's tab bar, so only the height of the bar is set.
      setFontSize(*w, e.e * sh);
      w->resize(px(e.c * sw, tx), px(e.d * sh, ty));
      if (auto* tabs = qobject_cast<QTabWidget*>(w); tabs && e.a > 0)
        tabs->tabBar()->setMinimumHeight(px(e.a * sh, ty));
    } else if (isTextBearing(e.type)) {
      w->setGeometry(left, top, px(e.c * sw, tx), px(e.d * sh, ty));
      setFontSize(*w, e.e * sh);
    } else {
      w->move(left, top);
    }
  }
  return true;
}

}  // namespace tessivar
