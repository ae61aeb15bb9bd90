#include "RibbonIcons.h"

#include "bootscreen/LcdColors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace hmk {

namespace {

const QColor Outline(60, 60, 70);

void drawOpen(QPainter& p)
{
    // A folder with its lid opened forward.
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(230, 180, 60));
    QPainterPath back;
    back.moveTo(3, 7);
    back.lineTo(12, 7);
    back.lineTo(15, 10);
    back.lineTo(27, 10);
    back.lineTo(27, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(255, 215, 100));
    const QPointF lid[] = {{7, 14}, {31, 14}, {27, 27}, {3, 27}};
    p.drawPolygon(lid, 4);
}

void drawSave(QPainter& p)
{
    // A floppy disk.
    p.setPen(QPen(QColor(20, 50, 110), 1.2));
    p.setBrush(QColor(50, 100, 190));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 4, 16, 10));
    p.setBrush(QColor(180, 190, 210));
    p.drawRect(QRectF(9, 19, 14, 9));
    p.setBrush(QColor(20, 50, 110));
    p.drawRect(QRectF(18, 6, 4, 6));
}

void drawReport(QPainter& p)
{
    // A printed sheet with a folded corner and lines of text.
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(Qt::white);
    const QPointF sheet[] = {{6, 3}, {21, 3}, {27, 9}, {27, 29}, {6, 29}};
    p.drawPolygon(sheet, 5);
    p.setBrush(QColor(210, 215, 225));
    const QPointF corner[] = {{21, 3}, {21, 9}, {27, 9}};
    p.drawPolygon(corner, 3);
    p.setPen(QPen(QColor(120, 120, 130), 1.5));
    for (int y = 13; y <= 21; y += 4)
        p.drawLine(QPointF(9, y), QPointF(24, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(9, 24, 15, 3));
}

void drawView(QPainter& p)
{
    // A sheet holding a table of rows.
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 3, 22, 26));
    p.setBrush(QColor(70, 130, 200));
    p.drawRect(QRectF(5, 3, 22, 6));
    p.setPen(QPen(QColor(120, 120, 130), 1.5));
    for (int y = 13; y <= 25; y += 4) {
        p.drawLine(QPointF(8, y), QPointF(13, y));
        p.drawLine(QPointF(15, y), QPointF(24, y));
    }
}

void drawHint(QPainter& p)
{
    // A speech bubble with an "i".
    p.setPen(QPen(QColor(160, 120, 0), 1.2));
    p.setBrush(QColor(255, 225, 90));
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(3, 4, 26, 19), 6, 6);
    QPainterPath tail;
    const QPointF tip[] = {{9, 21}, {8, 29}, {16, 22}};
    tail.addPolygon(QPolygonF(QList<QPointF>(tip, tip + 3)));
    tail.closeSubpath();
    p.drawPath(bubble.united(tail));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 0));
    p.drawEllipse(QPointF(16, 8.5), 1.8, 1.8);
    p.drawRoundedRect(QRectF(14.4, 11.5, 3.2, 9), 1, 1);
}

void drawScreen(QPainter& p)
{
    // The controller's blue LCD with two lines of text.
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(2, 6, 28, 20), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(LcdBlue);
    p.drawRect(QRectF(5, 9, 22, 14));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 12, 16, 2.5));
    p.drawRect(QRectF(11, 17, 10, 2.5));
}

void drawTechnics(QPainter& p)
{
    // A cutting head above a plate, with the spark where it pierces.
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(170, 175, 185));
    p.drawRect(QRectF(12, 2, 8, 9));
    const QPointF nozzle[] = {{10, 11}, {22, 11}, {18, 20}, {14, 20}};
    p.drawPolygon(nozzle, 4);
    p.setBrush(QColor(110, 110, 120));
    p.drawRect(QRectF(2, 25, 28, 4));
    p.setPen(QPen(QColor(230, 80, 20), 2));
    p.drawLine(QPointF(16, 21), QPointF(16, 24));
    p.drawLine(QPointF(12, 22), QPointF(14, 24));
    p.drawLine(QPointF(20, 22), QPointF(18, 24));
}

void drawMotion(QPainter& p)
{
    // The Z axis moving up and down, with speed strokes.
    p.setPen(QPen(QColor(20, 110, 40), 1.2));
    p.setBrush(QColor(60, 180, 80));
    const QPointF arrow[] = {{18, 2},  {27, 11}, {21, 11}, {21, 21}, {27, 21},
                             {18, 30}, {9, 21},  {15, 21}, {15, 11}, {9, 11}};
    p.drawPolygon(arrow, 10);
    p.setPen(QPen(QColor(20, 110, 40), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 12), QPointF(7, 12));
    p.drawLine(QPointF(3, 16), QPointF(7, 16));
    p.drawLine(QPointF(2, 20), QPointF(7, 20));
}

void drawMachine(QPainter& p)
{
    // A gear.
    QPainterPath gear;
    const QPointF c(16, 16);
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = (i - 0.5) * M_PI / (teeth * 2);
        const double r = (i % 4 == 0 || i % 4 == 1) ? 14.5 : 10.5;
        const QPointF pt(c.x() + r * qCos(angle), c.y() + r * qSin(angle));
        if (i == 0)
            gear.moveTo(pt);
        else
            gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 4.5, 4.5);
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(150, 155, 170));
    p.drawPath(gear.subtracted(hole));
}

void drawNetwork(QPainter& p)
{
    // Three stations on one link.
    p.setPen(QPen(QColor(40, 70, 140), 2));
    p.drawLine(QPointF(16, 10), QPointF(16, 18));
    p.drawLine(QPointF(6, 18), QPointF(26, 18));
    p.drawLine(QPointF(6, 18), QPointF(6, 22));
    p.drawLine(QPointF(26, 18), QPointF(26, 22));
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(80, 140, 220));
    p.drawRect(QRectF(10, 2, 12, 9));
    p.drawRect(QRectF(1, 22, 10, 8));
    p.drawRect(QRectF(21, 22, 10, 8));
}

void drawOther(QPainter& p)
{
    // An alarm bell.
    p.setPen(QPen(QColor(150, 70, 0), 1.2));
    p.setBrush(QColor(245, 150, 40));
    QPainterPath bell;
    bell.moveTo(5, 24);
    bell.cubicTo(9, 20, 8, 14, 9, 11);
    bell.cubicTo(11, 3, 21, 3, 23, 11);
    bell.cubicTo(24, 14, 23, 20, 27, 24);
    bell.closeSubpath();
    p.drawPath(bell);
    p.drawEllipse(QPointF(16, 27), 3, 3);
    p.drawEllipse(QPointF(16, 4), 1.8, 1.8);
}

void drawSenior(QPainter& p)
{
    // Three sliders at different settings.
    p.setPen(QPen(QColor(90, 90, 100), 2, Qt::SolidLine, Qt::RoundCap));
    const double xs[] = {7, 16, 25};
    const double knobs[] = {20, 9, 15};
    for (double x : xs)
        p.drawLine(QPointF(x, 3), QPointF(x, 29));
    p.setPen(QPen(QColor(120, 40, 40), 1.2));
    p.setBrush(QColor(210, 70, 60));
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(xs[i] - 4.5, knobs[i] - 3, 9, 6), 1.5, 1.5);
}

void drawCompare(QPainter& p)
{
    // Two sheets side by side, a row of the right one marked as differing.
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 5, 12, 22));
    p.drawRect(QRectF(18, 5, 12, 22));
    p.setPen(QPen(QColor(120, 120, 130), 1.5));
    for (int y = 10; y <= 22; y += 4) {
        p.drawLine(QPointF(4, y), QPointF(12, y));
        p.drawLine(QPointF(20, y), QPointF(28, y));
    }
    p.setPen(QPen(QColor(224, 128, 0), 2.5));
    p.drawLine(QPointF(20, 14), QPointF(28, 14));
}

} // namespace

QIcon ribbonIcon(RibbonIcon kind)
{
    QIcon icon;
    // Drawn at twice the size too, for screens with a device pixel ratio of 2.
    for (int scale : {1, 2}) {
        QPixmap pixmap(32 * scale, 32 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        switch (kind) {
        case RibbonIcon::Open:
            drawOpen(p);
            break;
        case RibbonIcon::Save:
            drawSave(p);
            break;
        case RibbonIcon::Report:
            drawReport(p);
            break;
        case RibbonIcon::View:
            drawView(p);
            break;
        case RibbonIcon::Hint:
            drawHint(p);
            break;
        case RibbonIcon::Screen:
            drawScreen(p);
            break;
        case RibbonIcon::Technics:
            drawTechnics(p);
            break;
        case RibbonIcon::Motion:
            drawMotion(p);
            break;
        case RibbonIcon::Machine:
            drawMachine(p);
            break;
        case RibbonIcon::Network:
            drawNetwork(p);
            break;
        case RibbonIcon::Other:
            drawOther(p);
            break;
        case RibbonIcon::Senior:
            drawSenior(p);
            break;
        case RibbonIcon::Compare:
            drawCompare(p);
            break;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace hmk
