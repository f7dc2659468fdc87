#include "qt_icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace dv::qt {

namespace {

using Glyph = std::function<void(QPainter&)>;

// Draws a glyph designed on a 16 x 16 grid at `size` pixels.
QPixmap render(int size, const Glyph& glyph) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  glyph(p);
  return pm;
}

QIcon iconOf(const Glyph& glyph) {
  QIcon icon;
  for (int s : {16, 24, 32}) icon.addPixmap(render(s, glyph));
  return icon;
}

void folder(QPainter& p, QColor fill, QColor edge) {
  QPainterPath path;
  path.moveTo(1.5, 3.5);
  path.lineTo(6.0, 3.5);
  path.lineTo(7.5, 5.0);
  path.lineTo(14.5, 5.0);
  path.lineTo(14.5, 13.5);
  path.lineTo(1.5, 13.5);
  path.closeSubpath();
  p.setPen(QPen(edge, 1.0));
  p.setBrush(fill);
  p.drawPath(path);
  p.setPen(QPen(fill.lighter(135), 1.0));
  p.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
}

void page(QPainter& p, QColor edge = QColor(0x6b, 0x72, 0x80)) {
  QPainterPath path;
  path.moveTo(3.5, 1.5);
  path.lineTo(10.0, 1.5);
  path.lineTo(12.5, 4.0);
  path.lineTo(12.5, 14.5);
  path.lineTo(3.5, 14.5);
  path.closeSubpath();
  p.setPen(QPen(edge, 1.0));
  p.setBrush(Qt::white);
  p.drawPath(path);
  p.drawLine(QPointF(10.0, 1.5), QPointF(10.0, 4.0));
  p.drawLine(QPointF(10.0, 4.0), QPointF(12.5, 4.0));
}

// A small trace: the wiggle that stands for radar data on a page.
void wiggle(QPainter& p, QColor c) {
  QPainterPath w;
  w.moveTo(5.0, 8.5);
  w.cubicTo(6.0, 5.5, 7.0, 5.5, 8.0, 8.5);
  w.cubicTo(9.0, 11.5, 10.0, 11.5, 11.0, 8.5);
  p.setPen(QPen(c, 1.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(w);
}

void check(QPainter& p) {
  p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPolygonF tick({QPointF(7.0, 11.0), QPointF(9.5, 13.5), QPointF(14.5, 7.5)});
  p.drawPolyline(tick);
  p.setPen(QPen(QColor(0x1e, 0x9e, 0x3e), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(tick);
}

void cross(QPainter& p, QColor c, double x0, double y0, double x1, double y1, double width) {
  p.setPen(QPen(Qt::white, width + 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x0, y0), QPointF(x1, y1));
  p.drawLine(QPointF(x0, y1), QPointF(x1, y0));
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x0, y0), QPointF(x1, y1));
  p.drawLine(QPointF(x0, y1), QPointF(x1, y0));
}

// The project: a blue tile with a reflection hyperbola over a ground line.
void project(QPainter& p) {
  p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.0));
  p.setBrush(QColor(0x2f, 0x6d, 0xb5));
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
  p.setPen(QPen(QColor(0xcf, 0xe3, 0xff), 1.0));
  p.drawLine(QPointF(3.0, 4.5), QPointF(13.0, 4.5));
  QPainterPath h;
  h.moveTo(3.0, 13.0);
  h.cubicTo(5.5, 6.5, 10.5, 6.5, 13.0, 13.0);
  p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(h);
}

const QColor kFolderFill(0xf2, 0xc2, 0x4f), kFolderEdge(0xb0, 0x80, 0x1a);
const QColor kGreyFill(0xd4, 0xd6, 0xda), kGreyEdge(0x96, 0x99, 0xa0);
const QColor kBlue(0x2f, 0x6d, 0xb5), kRed(0xd0, 0x30, 0x30), kGreen(0x1e, 0x9e, 0x3e);

Glyph treeGlyph(int index) {
  switch (index) {
    case kImgProject: return project;
    case kImgFolder: return [](QPainter& p) { folder(p, kFolderFill, kFolderEdge); };
    case kImgObject:
      return [](QPainter& p) {
        page(p);
        wiggle(p, kBlue);
      };
    case kImgSelected:
      return [](QPainter& p) {
        page(p);
        wiggle(p, kBlue);
        check(p);
      };
    case kImgBad:
      return [](QPainter& p) {
        page(p);
        cross(p, kRed, 8.0, 8.5, 14.0, 14.5, 2.0);
      };
    case kImgUnloaded:
    default: return [](QPainter& p) { folder(p, kGreyFill, kGreyEdge); };
  }
}

// Toolbar glyphs by the freedesktop names the frame uses (and close synonyms).
Glyph toolGlyph(const QString& name) {
  static const QHash<QString, int> kinds = {
      {"document-open", 1},   {"folder-open", 1},      {"document-close", 2},
      {"window-close", 2},    {"project-close", 2},    {"list-add", 3},
      {"document-new", 4},    {"document-import", 5},  {"document-print", 6},
      {"document-export", 7}, {"document-save-as", 7}, {"help-contents", 8},
      {"help-browser", 8},    {"help-about", 8},       {"edit-delete", 9},
      {"document-save", 10}};
  switch (kinds.value(name, 0)) {
    case 1:
      return [](QPainter& p) {
        folder(p, kFolderFill, kFolderEdge);
        QPainterPath flap;
        flap.moveTo(3.5, 13.5);
        flap.lineTo(5.5, 8.0);
        flap.lineTo(15.5, 8.0);
        flap.lineTo(13.5, 13.5);
        flap.closeSubpath();
        p.setPen(QPen(kFolderEdge, 1.0));
        p.setBrush(kFolderFill.lighter(115));
        p.drawPath(flap);
      };
    case 2:
      return [](QPainter& p) {
        folder(p, kFolderFill, kFolderEdge);
        cross(p, kRed, 8.5, 8.0, 14.0, 13.5, 1.8);
      };
    case 3:
      return [](QPainter& p) {
        page(p);
        wiggle(p, kBlue);
        p.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 8.5), QPointF(11.5, 14.5));
        p.drawLine(QPointF(8.5, 11.5), QPointF(14.5, 11.5));
        p.setPen(QPen(kGreen, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 8.5), QPointF(11.5, 14.5));
        p.drawLine(QPointF(8.5, 11.5), QPointF(14.5, 11.5));
      };
    case 4:
      return [](QPainter& p) {
        page(p);
        wiggle(p, kBlue);
        p.setPen(QPen(QColor(0xe0, 0xa0, 0x10), 1.3, Qt::SolidLine, Qt::RoundCap));
        QPointF c(12.0, 3.5);
        for (int i = 0; i < 4; ++i) {
          QPointF d(i == 0 ? 2.5 : i == 1 ? 0 : i == 2 ? 1.8 : -1.8,
                    i == 0 ? 0 : i == 1 ? 2.5 : i == 2 ? 1.8 : 1.8);
          p.drawLine(c - d, c + d);
        }
      };
    case 5:
      return [](QPainter& p) {
        p.setPen(QPen(QColor(0x6b, 0x72, 0x80), 1.0));
        p.setBrush(QColor(0xe8, 0xea, 0xee));
        p.drawRect(QRectF(1.5, 9.5, 13, 5));
        p.setPen(QPen(kBlue, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8.0, 1.5), QPointF(8.0, 9.0));
        p.drawPolyline(QPolygonF({QPointF(5.0, 6.0), QPointF(8.0, 9.0), QPointF(11.0, 6.0)}));
      };
    case 6:
      return [](QPainter& p) {
        p.setPen(QPen(QColor(0x6b, 0x72, 0x80), 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0x8a, 0x90, 0x9c));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(QPen(kGreen, 1.0));
        p.drawPoint(QPointF(12.5, 8.5));
      };
    case 7:
      return [](QPainter& p) {
        p.setPen(QPen(QColor(0x6b, 0x72, 0x80), 1.0));
        p.setBrush(QColor(0xe8, 0xea, 0xee));
        p.drawRect(QRectF(1.5, 9.5, 13, 5));
        p.setPen(QPen(kGreen, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8.0, 9.0), QPointF(8.0, 1.8));
        p.drawPolyline(QPolygonF({QPointF(5.0, 4.8), QPointF(8.0, 1.8), QPointF(11.0, 4.8)}));
      };
    case 8:
      return [](QPainter& p) {
        p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.0));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
      };
    case 9:
      return [](QPainter& p) { cross(p, kRed, 3.5, 3.5, 12.5, 12.5, 2.4); };
    case 10:
      return [](QPainter& p) {
        p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.0));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
      };
    default: return nullptr;
  }
}

Glyph letterGlyph(const QString& name, const QString& tooltip) {
  QString text = tooltip.isEmpty() ? name : tooltip;
  QChar letter = text.isEmpty() ? QLatin1Char('?') : text[0].toUpper();
  // A stable hue per name so neighbouring buttons are told apart.
  int hue = int(qHash(name) % 360);
  return [letter, hue](QPainter& p) {
    QColor fill = QColor::fromHsv(hue, 120, 170);
    p.setPen(QPen(fill.darker(140), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QString(letter));
  };
}

}  // namespace

QPixmap treeImage(int index) {
  static QPixmap cache[kTreeImageCount];
  if (index < 0 || index >= kTreeImageCount) index = kImgUnloaded;
  if (cache[index].isNull()) cache[index] = render(16, treeGlyph(index));
  return cache[index];
}

QIcon drawnToolIcon(const QString& themeName, const QString& tooltip) {
  Glyph g = toolGlyph(themeName);
  return iconOf(g ? g : letterGlyph(themeName, tooltip));
}

QIcon toolIcon(const QString& themeName, const QString& tooltip) {
  if (!themeName.isEmpty() && QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
  return drawnToolIcon(themeName, tooltip);
}

QIcon appIcon() {
  static QIcon icon;
  if (icon.isNull()) {
    for (int s : {16, 32, 48, 64}) icon.addPixmap(render(s, project));
  }
  return icon;
}

}  // namespace dv::qt
