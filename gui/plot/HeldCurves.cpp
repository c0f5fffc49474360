#include "HeldCurves.h"

#include <algorithm>
#include <utility>

#include "PlotSettings.h"
#include "Questions.h"

namespace tessivar {

bool HeldCurves::hold(HeldCurve curve) {
  if (full() || curve.freq.empty() || curve.freq.size() != curve.db.size()) return false;
  curves_.push_back(std::move(curve));
  return true;
}

const std::array<QColor, HeldCurves::kMax - 1>& heldCurvePalette() {
  // Dark, saturated hues that keep their contrast on a light background and stay apart from
  // the blue of the current curve and from one another.
  static const std::array<QColor, HeldCurves::kMax - 1> palette = {
      QColor(0, 140, 0),   QColor(220, 90, 0), QColor(150, 0, 150), QColor(0, 140, 140),
      QColor(120, 70, 20), QColor(210, 0, 40), QColor(0, 0, 0)};
  return palette;
}

HeldCurvePen heldCurvePen(int i, const PlotSettings& settings) {
  HeldCurvePen pen;
  if (settings.blackAndWhite) {
    // Four broken styles, the solid one being the current curve's; the second four repeat
    // them twice as wide.
    static const std::array<Surface::LineStyle, 4> styles = {
        Surface::LineStyle::Dash, Surface::LineStyle::Dot, Surface::LineStyle::DashDot,
        Surface::LineStyle::DashDotDot};
    pen.color = Qt::black;
    pen.style = styles[static_cast<std::size_t>(i) % styles.size()];
    pen.widthFactor = i < 4 ? 1 : 2;
    return pen;
  }
  pen.color = i == 0 ? settings.plotColor(kCurve2)
                     : heldCurvePalette()[static_cast<std::size_t>(i - 1) % (HeldCurves::kMax - 1)];
  return pen;
}

QString curveLabel(const QString& method, const std::vector<QString>& answers,
                   bool doublePrecision) {
  auto answer = [&](int q) {
    return q < static_cast<int>(answers.size()) ? answers[static_cast<std::size_t>(q)].trimmed()
                                                : QString();
  };
  QString label = method.trimmed();
  const QList<int> required = requiredList(method.trimmed());
  const std::array<std::pair<int, const char*>, 4> orders = {
      {{9, "p"}, {10, "q"}, {14, "L"}, {15, "M"}}};
  for (const auto& [question, name] : orders)
    if (required.contains(question))
      label += QStringLiteral(", %1=%2").arg(QLatin1String(name), answer(question));
  if (doublePrecision) label += QStringLiteral(", double");
  QString data = answer(1);
  data = data.mid(
      std::max(data.lastIndexOf(QLatin1Char('/')), data.lastIndexOf(QLatin1Char('\\'))) + 1);
  if (!data.isEmpty()) label += QStringLiteral(", ") + data;
  return label;
}

}  // namespace tessivar
