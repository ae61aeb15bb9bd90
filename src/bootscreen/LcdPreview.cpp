#include "LcdPreview.h"

#include "FontList.h"
#include "LcdColors.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace hmk {

namespace {

// The panel the preview stands for, and the margins around it.
constexpr double PanelWidth = 240;
constexpr double PanelHeight = 80;
constexpr int MarginWidth = 40;
constexpr int MarginHeight = 30;
constexpr int ShadowOffset = 6;

constexpr int MainTitleRow = 1;
constexpr int SubTitleRow = 17;

// Text on the LCD: white on an opaque blue box as high as the line.
void drawLcdText(QPainter& painter, const QFont& font, int x, int y, const QString& text)
{
    const QFontMetrics metrics(font);
    painter.fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(), LcdBlue);
    painter.setFont(font);
    painter.drawText(x, y + titleBaseline(font), text);
}

void drawCentred(QPainter& painter, const QFont& font, int y, const QString& text)
{
    const int width = QFontMetrics(font).horizontalAdvance(text);
    drawLcdText(painter, font, (LcdScreenWidth - width) / 2, y, text);
}

// The rectangle with its left and top edges included, right and bottom
// edges excluded.
QRect edges(int x1, int y1, int x2, int y2)
{
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

void drawShadow(QPainter& painter, const LcdPanelGeometry& g)
{
    painter.fillRect(g.rightShadow, LcdShadow);
    painter.fillRect(g.bottomShadow, LcdShadow);
}

QImage blueScreen()
{
    QImage screen(LcdScreenWidth, LcdScreenHeight, QImage::Format_RGB32);
    screen.fill(LcdBlue);
    return screen;
}

void drawStartupLines(QPainter& painter)
{
    const QFont font = titleFont(QStringLiteral("宋体"));
    drawLcdText(painter, font, 1, 33, QStringLiteral(">>>---------------------------"));
    drawLcdText(painter, font, 1, 48, QStringLiteral("初始化..."));
}

} // namespace

LcdPanelGeometry lcdPanelGeometry(QSize client)
{
    const int W = client.width();
    const int H = client.height();
    LcdPanelGeometry g;
    g.s = std::min((W - MarginWidth) / PanelWidth, (H - MarginHeight) / PanelHeight);
    // std::rint rounds half to even in the default rounding mode.
    g.cw = int(std::rint(PanelWidth * g.s));
    g.ch = int(std::rint(PanelHeight * g.s));
    g.left = (W - g.cw) / 2 - 4;
    g.top = (H - g.ch) / 2;
    g.face = edges(g.left, g.top, g.left + g.cw, g.top + g.ch);
    g.pictureFace = edges(g.left, g.top, g.left + g.cw, (g.top + g.ch + 24) / 2);
    g.rightShadow = edges(g.left + g.cw, g.top + ShadowOffset, W - 48, g.top + g.ch + ShadowOffset);
    g.bottomShadow =
        edges(g.left + ShadowOffset, g.top + g.ch, g.left + g.cw + ShadowOffset, H - 8);
    return g;
}

QImage composeTitleScreen(const QString& mainTitle, const QFont& mainFont, const QString& subTitle,
                          const QFont& subFont)
{
    QImage screen = blueScreen();
    QPainter painter(&screen);
    painter.setPen(LcdInk);
    drawCentred(painter, mainFont, MainTitleRow, mainTitle);
    drawCentred(painter, subFont, SubTitleRow, subTitle);
    drawStartupLines(painter);
    return screen;
}

QImage composeBlankScreen()
{
    QImage screen = blueScreen();
    QPainter painter(&screen);
    painter.setPen(LcdInk);
    drawStartupLines(painter);
    return screen;
}

void drawPanel(QImage& lcd, const QImage& screen)
{
    const LcdPanelGeometry g = lcdPanelGeometry(lcd.size());
    QPainter painter(&lcd);
    drawShadow(painter, g);
    painter.drawImage(g.face, screen);
}

void drawPictureFace(QImage& lcd, const QImage& picture)
{
    const LcdPanelGeometry g = lcdPanelGeometry(lcd.size());
    QPainter painter(&lcd);
    drawShadow(painter, g);
    painter.fillRect(g.pictureFace, LcdBlue);
    if (!picture.isNull())
        painter.drawImage(g.pictureFace, picture);
}

} // namespace hmk
