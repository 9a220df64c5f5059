// Draws the picture of one preview skin: how Quick Look shows a QuarkXPress document's preview
// in that skin (page picture, document facts, fonts and colours).
// Usage: DrawSkinPicture SKIN-TITLE OUTPUT.png
// The picture is drawn at twice its 640 x 480 layout, so that it stays crisp on high-density
// screens and when the pane's window is enlarged; the pane scales it to the room it has.
#include "SkinPalette.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const int kLayoutWidth = 640;
const int kLayoutHeight = 480;
const int kPixelsPerPoint = 2;

QColor qColor(const SkinColor& color) { return QColor(color.red, color.green, color.blue); }

// The skin's border and folded corner, as the thumbnails frame a page: the fold lies under the
// border, whose lines run up to the cut.
void drawPageFrame(QPainter& painter, const QRectF& page, const SkinPalette& skin)
{
    const SkinPageFrame frame = SkinPageFrameFor(std::max(page.width(), page.height()));
    const QPointF cutStart(page.right() - frame.cornerSize, page.top());
    const QPointF cutEnd(page.right(), page.top() + frame.cornerSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(qColor(skin.accent));
    painter.drawPolygon(QPolygonF{{cutStart, cutEnd, QPointF(cutStart.x(), cutEnd.y())}});

    const qreal half = frame.borderWidth / 2;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(qColor(skin.frame), frame.borderWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(page.adjusted(half, half, -half, -half));

    painter.setPen(Qt::NoPen);
    painter.setBrush(qColor(skin.backdrop));
    painter.drawPolygon(QPolygonF{{cutStart, page.topRight(), cutEnd}});
}

// A document page as the preview shows it: a headline block, a picture and columns of text.
void drawPage(QPainter& painter, const QRectF& page, const SkinPalette& skin)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRect(page.translated(4, 5));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    drawPageFrame(painter, page, skin);

    const qreal margin = page.width() * 0.09;
    const QRectF inner = page.adjusted(margin, margin, -margin, -margin);
    painter.setBrush(qColor(skin.accent));
    painter.drawRect(QRectF(inner.left(), inner.top(), inner.width() * 0.75, inner.height() * 0.06));

    QRectF picture(inner.left(), inner.top() + inner.height() * 0.11, inner.width(), inner.height() * 0.36);
    QLinearGradient sky(picture.topLeft(), picture.bottomLeft());
    sky.setColorAt(0, QColor(120, 180, 230));
    sky.setColorAt(1, QColor(230, 240, 250));
    painter.setBrush(sky);
    painter.drawRect(picture);
    QPainterPath hills;
    hills.moveTo(picture.bottomLeft());
    hills.lineTo(picture.left() + picture.width() * 0.35, picture.top() + picture.height() * 0.45);
    hills.lineTo(picture.left() + picture.width() * 0.55, picture.top() + picture.height() * 0.7);
    hills.lineTo(picture.left() + picture.width() * 0.78, picture.top() + picture.height() * 0.35);
    hills.lineTo(picture.bottomRight());
    hills.closeSubpath();
    painter.setBrush(QColor(70, 130, 80));
    painter.drawPath(hills);
    painter.setBrush(QColor(250, 210, 80));
    painter.drawEllipse(QPointF(picture.left() + picture.width() * 0.18, picture.top() + picture.height() * 0.28), picture.height() * 0.12,
                        picture.height() * 0.12);

    const qreal columnGap = inner.width() * 0.06;
    const qreal columnWidth = (inner.width() - columnGap) / 2;
    const qreal lineHeight = inner.height() * 0.035;
    painter.setBrush(QColor(150, 150, 150));
    for (int column = 0; column < 2; ++column) {
        const qreal left = inner.left() + column * (columnWidth + columnGap);
        for (int line = 0; line < 10; ++line) {
            const qreal top = inner.top() + inner.height() * 0.52 + line * lineHeight * 1.35;
            const qreal width = (line % 4 == 3) ? columnWidth * 0.6 : columnWidth;
            painter.drawRect(QRectF(left, top, width, lineHeight * 0.55));
        }
    }
}

void drawFacts(QPainter& painter, const QRectF& panel, const SkinPalette& skin)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(qColor(skin.panel));
    if (skin.roundedCorners)
        painter.drawRoundedRect(panel, 12, 12);
    else
        painter.drawRect(panel);

    QFont heading(skin.fontFamily, 15, QFont::Bold);
    QFont body(skin.fontFamily, 12);
    qreal y = panel.top() + 34;
    const qreal left = panel.left() + 18;
    auto write = [&](const QFont& font, const QColor& color, const QString& text, qreal advance) {
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QPointF(left, y), text);
        y += advance;
    };

    write(heading, qColor(skin.text), QStringLiteral("Brochure.qxd"), 24);
    write(body, qColor(skin.subtleText), QStringLiteral("QuarkXPress 4 document"), 20);
    write(body, qColor(skin.subtleText), QStringLiteral("4 pages · A4 portrait"), 30);

    painter.setPen(QPen(qColor(skin.accent), 2));
    painter.drawLine(QPointF(left, y - 18), QPointF(panel.right() - 18, y - 18));
    write(heading, qColor(skin.accent), QStringLiteral("Fonts"), 22);
    for (const char* font : {"Helvetica", "Times", "Futura Bold"})
        write(body, qColor(skin.text), QString::fromUtf8(font), 19);
    y += 12;
    write(heading, qColor(skin.accent), QStringLiteral("Colours"), 14);
    const QColor swatches[] = {QColor(0, 160, 220), QColor(230, 0, 126), QColor(255, 230, 0), QColor(20, 20, 20), QColor(210, 60, 40)};
    qreal x = left;
    for (const QColor& swatch : swatches) {
        painter.setPen(QPen(qColor(skin.subtleText), 1));
        painter.setBrush(swatch);
        painter.drawRect(QRectF(x, y, 26, 26));
        x += 34;
    }
}

QImage drawSkin(const SkinPalette& skin)
{
    QImage image(kLayoutWidth * kPixelsPerPoint, kLayoutHeight * kPixelsPerPoint, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(kPixelsPerPoint, kPixelsPerPoint);

    const QRectF window(8, 8, 624, 464);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.setBrush(qColor(skin.backdrop));
    painter.drawRoundedRect(window, skin.roundedCorners ? 14 : 3, skin.roundedCorners ? 14 : 3);

    painter.setPen(Qt::NoPen);
    painter.setBrush(qColor(skin.titleBar));
    painter.drawRoundedRect(QRectF(window.left(), window.top(), window.width(), 34), skin.roundedCorners ? 14 : 3,
                            skin.roundedCorners ? 14 : 3);
    painter.drawRect(QRectF(window.left(), window.top() + 20, window.width(), 14));
    const QColor lights[] = {QColor(255, 95, 86), QColor(255, 189, 46), QColor(39, 201, 63)};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(lights[i]);
        painter.drawEllipse(QPointF(window.left() + 22 + i * 20, window.top() + 17), 6, 6);
    }
    painter.setPen(skin.roundedCorners && qColor(skin.backdrop).lightness() < 128 ? QColor(220, 220, 220) : qColor(skin.text));
    painter.setFont(QFont(skin.fontFamily, 12, QFont::DemiBold));
    painter.drawText(QRectF(window.left(), window.top(), window.width(), 34), Qt::AlignCenter,
                     QStringLiteral("Brochure.qxd — %1 skin").arg(QString::fromUtf8(skin.title)));

    drawPage(painter, QRectF(40, 70, 270, 382), skin);
    drawFacts(painter, QRectF(340, 70, 262, 382), skin);
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: DrawSkinPicture SKIN-TITLE OUTPUT.png\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const SkinPalette* skin = SkinPaletteTitled(argv[1]);
    if (!skin) {
        std::fprintf(stderr, "DrawSkinPicture: no skin titled \"%s\"\n", argv[1]);
        return 1;
    }
    if (!drawSkin(*skin).save(QString::fromUtf8(argv[2]), "PNG")) {
        std::fprintf(stderr, "DrawSkinPicture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
