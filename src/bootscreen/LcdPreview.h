#pragma once

// The preview of the boot screen on the device's blue LCD: a 192 x 64
// screen raster (the boot screen in its upper 32 rows, the two start-up
// lines below) stretched onto a panel face with a drop shadow.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace hmk {

inline constexpr int LcdScreenWidth = 192;
inline constexpr int LcdScreenHeight = 64;

// Where the panel goes in a preview image of the given size.
struct LcdPanelGeometry
{
    double s = 0; // scale of the 240 x 80 panel
    int cw = 0;   // face width
    int ch = 0;   // face height
    int left = 0; // face's top-left corner
    int top = 0;
    QRect face;        // the whole raster is stretched over it
    QRect pictureFace; // the upper part a picture boot screen repaints
    QRect rightShadow; // shadow strips, grey
    QRect bottomShadow;
};
LcdPanelGeometry lcdPanelGeometry(QSize client);

// The screen raster in title style: both titles centred (truncating the
// halved gap, so a title wider than the screen is cut on both sides) over
// the start-up lines.
QImage composeTitleScreen(const QString& mainTitle, const QFont& mainFont, const QString& subTitle,
                          const QFont& subFont);

// The screen raster with an empty boot screen: only the start-up lines.
QImage composeBlankScreen();

// Draws the shadow and stretches the whole raster over the face.
void drawPanel(QImage& lcd, const QImage& screen);

// Draws the shadow and repaints only the upper part of the face with the
// boot picture (plain blue without one); the start-up lines below keep what
// was drawn last.
void drawPictureFace(QImage& lcd, const QImage& picture);

} // namespace hmk
