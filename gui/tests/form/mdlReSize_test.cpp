// Proportional resizing over a small widget tree: the type names, the fractions kept, and the
// three edge cases (too small a form, a control parked on a hidden tab page, font sizes that
// follow the height).
#include "mdlReSize.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <cmath>
#include <memory>

using tessivar::mdlReSize;

namespace {

class Surface : public QWidget {};  // stands for the plot's drawing surface

// A form of 600 x 450 pixels: a label, a text box, a frame holding an option button, a tab
// control whose second page holds a check box, a picture surface and a scroll bar.
struct Form {
  QWidget form;
  QLabel* label = new QLabel("1. question", &form);
  QLineEdit* text = new QLineEdit(&form);
  QGroupBox* frame = new QGroupBox("Data type", &form);
  QRadioButton* option = new QRadioButton("Real", frame);
  QTabWidget* tabs = new QTabWidget(&form);
  QWidget* page0 = new QWidget;
  QWidget* page1 = new QWidget;
  QCheckBox* onHiddenPage = new QCheckBox("hidden", page1);
  QPushButton* onShownPage = new QPushButton("Calculate", page0);
  QWidget* picture = new QWidget(&form);
  QScrollBar* bar = new QScrollBar(Qt::Horizontal, &form);

  Form() {
    form.resize(600, 450);
    label->setGeometry(10, 20, 200, 20);
    text->setGeometry(220, 20, 100, 24);
    frame->setGeometry(10, 60, 200, 80);
    option->setGeometry(10, 20, 80, 20);
    tabs->setGeometry(0, 150, 600, 300);
    tabs->addTab(page0, "Parameter Selection");
    tabs->addTab(page1, "Demos");
    onShownPage->setGeometry(30, 40, 90, 30);
    onHiddenPage->setGeometry(40, 50, 100, 20);
    picture->setProperty("resizeType", "PictureBox");
    picture->setGeometry(330, 20, 200, 100);
    bar->setGeometry(330, 125, 200, 16);
    for (QWidget* w : std::initializer_list<QWidget*>{label, text, option, onShownPage}) {
      QFont f = w->font();
      f.setPointSizeF(10);
      w->setFont(f);
    }
  }
  double tx() const { return mdlReSize::twipsPerPixelX(form); }
  double ty() const { return mdlReSize::twipsPerPixelY(form); }
  // Parks a control as a hidden tab page does: 75000 twips to the left of its place.
  void park(QWidget* w) const {
    w->move(w->x() - static_cast<int>(std::lround(75000 / tx())), w->y());
  }
};

}  // namespace

TEST(ReSize, TypeNamesOfTheToolkitsWidgets) {
  QWidget parent;
  struct Case {
    QWidget* w;
    const char* type;
  };
  auto* forced = new QWidget(&parent);
  forced->setProperty("resizeType", "PictureBox");
  const std::vector<Case> cases = {
      {new QLabel(&parent), "Label"},
      {new QLineEdit(&parent), "TextBox"},
      {new QPlainTextEdit(&parent), "TextBox"},
      {new QTextEdit(&parent), "TextBox"},
      {new QPushButton(&parent), "CommandButton"},
      {new QRadioButton(&parent), "OptionButton"},
      {new QCheckBox(&parent), "CheckBox"},
      {new QGroupBox(&parent), "Frame"},
      {new QComboBox(&parent), "ComboBox"},
      {new QListWidget(&parent), "ListBox"},
      {new QTabWidget(&parent), "SSTab"},
      {new QScrollBar(Qt::Horizontal, &parent), "HScrollBar"},
      {new QScrollBar(Qt::Vertical, &parent), "VScrollBar"},
      {new QMenuBar(&parent), "Menu"},
      {forced, "PictureBox"},
  };
  for (const auto& c : cases) EXPECT_EQ(mdlReSize::typeName(*c.w), c.type);
}

// Composite controls count once: the line edit inside an editable combo box and the scroll bars
// of a text box are parts, not controls.
TEST(ReSize, RecordsControlsNotTheirParts) {
  Form f;
  mdlReSize r;
  r.Record(f.form);
  const int before = r.count();
  auto* combo = new QComboBox(&f.form);
  combo->setEditable(true);
  new QPlainTextEdit(&f.form);
  r.Record(f.form);
  EXPECT_EQ(r.count(), before + 2);
  // label, text, frame, option, tabs, button (page 0), check box (page 1), picture, bar
  EXPECT_EQ(before, 9);
}

TEST(ReSize, DoublingTheFormDoublesPositionsAndSizes) {
  Form f;
  mdlReSize r;
  r.Record(f.form);
  f.form.resize(1200, 900);
  ASSERT_TRUE(r.Apply(f.form));
  struct Case {
    QWidget* w;
    QRect expected;
  };
  const std::vector<Case> cases = {
      {f.label, {20, 40, 400, 40}},       {f.text, {440, 40, 200, 48}},
      {f.frame, {20, 120, 400, 160}},     {f.option, {20, 40, 160, 40}},  // inside the frame
      {f.onShownPage, {60, 80, 180, 60}}, {f.picture, {660, 40, 400, 200}},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(c.w->x(), c.expected.x(), 1) << c.w->metaObject()->className();
    EXPECT_NEAR(c.w->y(), c.expected.y(), 1) << c.w->metaObject()->className();
    EXPECT_NEAR(c.w->width(), c.expected.width(), 1) << c.w->metaObject()->className();
    EXPECT_NEAR(c.w->height(), c.expected.height(), 1) << c.w->metaObject()->className();
  }
  // The tab control keeps its place and takes the new size.
  EXPECT_EQ(f.tabs->pos(), QPoint(0, 150));
  EXPECT_NEAR(f.tabs->width(), 1200, 1);
  EXPECT_NEAR(f.tabs->height(), 600, 1);
  // The scroll bar: place and length, not its thickness.
  EXPECT_NEAR(f.bar->x(), 660, 1);
  EXPECT_NEAR(f.bar->width(), 400, 1);
  EXPECT_EQ(f.bar->height(), 16);
}

TEST(ReSize, FormBelowTheMinimumIsLeftAlone) {
  Form f;
  mdlReSize r;
  r.Record(f.form);
  const QRect label = f.label->geometry(), text = f.text->geometry();
  // Just under 2000 twips wide, and just under 1500 twips high.
  for (QSize small : {QSize(int(1999 / f.tx()), 450), QSize(600, int(1499 / f.ty()))}) {
    f.form.resize(small);
    EXPECT_FALSE(r.Apply(f.form));
    EXPECT_EQ(f.label->geometry(), label);
    EXPECT_EQ(f.text->geometry(), text);
  }
  // Enlarging again restores the proportions.
  f.form.resize(1200, 900);
  ASSERT_TRUE(r.Apply(f.form));
  EXPECT_NEAR(f.label->width(), 400, 1);
  f.form.resize(600, 450);
  ASSERT_TRUE(r.Apply(f.form));
  EXPECT_NEAR(f.label->x(), label.x(), 1);
  EXPECT_NEAR(f.label->width(), label.width(), 1);
}

TEST(ReSize, ControlOnAHiddenPageKeepsItsOffset) {
  Form f;
  f.park(f.onHiddenPage);  // recorded while parked
  mdlReSize r;
  r.Record(f.form);
  f.form.resize(1200, 900);
  ASSERT_TRUE(r.Apply(f.form));
  // Its place doubles (40 -> 80 pixels) and it stays 75000 twips to the left of it.
  EXPECT_NEAR(f.onHiddenPage->x() * f.tx(), 80 * f.tx() - 75000, f.tx());
  EXPECT_NEAR(f.onHiddenPage->y(), 100, 1);
  // Shown again (moved back by the tab control), it is in proportion after the next resize.
  f.onHiddenPage->move(f.onHiddenPage->x() + static_cast<int>(std::lround(75000 / f.tx())), 100);
  f.form.resize(900, 675);
  ASSERT_TRUE(r.Apply(f.form));
  EXPECT_NEAR(f.onHiddenPage->x(), 60, 1);
}

TEST(ReSize, FontSizesFollowTheHeightOnly) {
  Form f;
  mdlReSize r;
  r.Record(f.form);
  f.form.resize(600, 900);  // height doubled
  ASSERT_TRUE(r.Apply(f.form));
  for (QWidget* w : std::initializer_list<QWidget*>{f.label, f.text, f.option, f.onShownPage})
    EXPECT_NEAR(w->font().pointSizeF(), 20.0, 0.01) << w->metaObject()->className();
  f.form.resize(1200, 900);  // width doubled as well: fonts stay
  ASSERT_TRUE(r.Apply(f.form));
  EXPECT_NEAR(f.label->font().pointSizeF(), 20.0, 0.01);
}

TEST(ReSize, DeletedControlIsSkipped) {
  Form f;
  mdlReSize r;
  r.Record(f.form);
  delete f.text;
  f.form.resize(1200, 900);
  EXPECT_TRUE(r.Apply(f.form));
  EXPECT_NEAR(f.label->width(), 400, 1);
}
