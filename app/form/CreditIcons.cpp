#include "app/form/CreditIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <initializer_list>

namespace orvalen {
namespace {

QPainterPath Heart(QPointF o) {
  QPainterPath p;
  p.moveTo(o + QPointF(7, 13.5));
  p.cubicTo(o + QPointF(-2, 7), o + QPointF(1, 0), o + QPointF(7, 4));
  p.cubicTo(o + QPointF(13, 0), o + QPointF(16, 7), o + QPointF(7, 13.5));
  return p;
}

// A closed outline through `corners`, moved to `o`.
QPainterPath Outline(QPointF o, std::initializer_list<QPointF> corners) {
  QPolygonF polygon;
  for (const QPointF& corner : corners) polygon << o + corner;
  QPainterPath p;
  p.addPolygon(polygon);
  p.closeSubpath();
  return p;
}

QPainterPath Diamond(QPointF o) {
  return Outline(o, {{3, 2}, {11, 2}, {14, 6}, {7, 14}, {0, 6}});
}

QPainterPath Crown(QPointF o) {
  return Outline(o, {{1, 13}, {1, 4}, {4.5, 8}, {7, 2}, {9.5, 8}, {13, 4}, {13, 13}});
}

}  // namespace

QPixmap CreditPixmap(int grade) {
  QPixmap pixmap(120, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const int kind = grade / 5, count = grade % 5 + 1;
  static const QColor kFill[] = {QColor(230, 30, 40), QColor(40, 110, 220), QColor(40, 110, 220),
                                 QColor(240, 180, 20)};
  painter.setPen(QPen(kFill[kind].darker(140), 0.8));
  painter.setBrush(kFill[kind]);
  for (int i = 0; i < count; ++i) {
    const QPointF origin(1 + i * 16, 0.5);
    painter.drawPath(kind == 0 ? Heart(origin) : kind == 1 ? Diamond(origin) : Crown(origin));
  }
  return pixmap;
}

}  // namespace orvalen
