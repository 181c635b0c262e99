// Draws the KORVObinder logo: a row of render-node racks with a wireframe cube
// on a deep blue ground, and the program's name. The main window shows it
// unscaled, so the size is fixed: 405 x 89, 8-bit RGB, not interlaced.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

constexpr int width = 405;
constexpr int height = 89;

const QColor groundTop(0x0F, 0x1F, 0x38);
const QColor groundBottom(0x1A, 0x4A, 0x6E);
const QColor rackBody(0x24, 0x2F, 0x3F);
const QColor rackEdge(0x5C, 0x7A, 0x99);
const QColor ledGreen(0x4C, 0xE0, 0x7A);
const QColor ledAmber(0xF5, 0xA6, 0x23);
const QColor accent(0xF5, 0xA6, 0x23);
const QColor nameWhite(0xF4, 0xF7, 0xFB);
const QColor taglineBlue(0xA9, 0xC6, 0xE0);

void drawGround(QPainter &painter)
{
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0.0, groundTop);
    gradient.setColorAt(1.0, groundBottom);
    painter.fillRect(QRect(0, 0, width, height), gradient);

    // A faint floor line under the racks.
    painter.setPen(QPen(QColor(0x5C, 0x7A, 0x99, 90), 1));
    painter.drawLine(QPointF(8, 78.5), QPointF(122, 78.5));
}

// One rack of render nodes; the lights follow a fixed pattern so that the
// logo is the same on every run.
void drawRack(QPainter &painter, const QRectF &frame, int pattern)
{
    painter.setPen(QPen(rackEdge, 1));
    painter.setBrush(rackBody);
    painter.drawRoundedRect(frame, 2.5, 2.5);

    constexpr int slots = 5;
    const qreal slotHeight = (frame.height() - 6) / slots;
    for (int slot = 0; slot < slots; ++slot) {
        const QRectF bay(frame.left() + 3, frame.top() + 3 + slot * slotHeight, frame.width() - 6, slotHeight - 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x33, 0x42, 0x57));
        painter.drawRect(bay);
        const bool busy = ((slot + pattern) % 3) != 0;
        painter.setBrush(busy ? ledGreen : ledAmber);
        painter.drawEllipse(QPointF(bay.right() - 3.5, bay.center().y()), 1.6, 1.6);
        painter.setBrush(QColor(0x5C, 0x7A, 0x99, 140));
        painter.drawRect(QRectF(bay.left() + 2, bay.center().y() - 0.5, bay.width() - 10, 1));
    }
}

// An isometric wireframe cube, the 3D scene the farm renders.
void drawCube(QPainter &painter, QPointF centre, qreal size)
{
    const qreal dx = size * 0.866;
    const qreal dy = size * 0.5;
    const QPointF top(centre.x(), centre.y() - size);
    const QPointF upperLeft(centre.x() - dx, centre.y() - dy);
    const QPointF upperRight(centre.x() + dx, centre.y() - dy);
    const QPointF lowerLeft(centre.x() - dx, centre.y() + dy);
    const QPointF lowerRight(centre.x() + dx, centre.y() + dy);
    const QPointF bottom(centre.x(), centre.y() + size);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF5, 0xA6, 0x23, 200));
    painter.drawPolygon(QPolygonF({top, upperRight, centre, upperLeft}));
    painter.setBrush(QColor(0xC9, 0x7E, 0x12, 200));
    painter.drawPolygon(QPolygonF({upperLeft, centre, bottom, lowerLeft}));
    painter.setBrush(QColor(0x8F, 0x59, 0x0C, 200));
    painter.drawPolygon(QPolygonF({centre, upperRight, lowerRight, bottom}));

    painter.setPen(QPen(QColor(0xFF, 0xE3, 0xB0), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygonF({top, upperRight, lowerRight, bottom, lowerLeft, upperLeft}));
    painter.drawLine(upperLeft, centre);
    painter.drawLine(upperRight, centre);
    painter.drawLine(centre, bottom);
}

void drawFarm(QPainter &painter)
{
    drawRack(painter, QRectF(12.5, 26.5, 30, 52), 0);
    drawRack(painter, QRectF(48.5, 14.5, 30, 64), 1);
    drawRack(painter, QRectF(84.5, 26.5, 30, 52), 2);
    drawCube(painter, QPointF(63.5, 44.5), 12);
}

QFont nameFont(int pixelSize, QFont::Weight weight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

void drawName(QPainter &painter)
{
    const QString korvo = QStringLiteral("KORVO");
    const QString binder = QStringLiteral("binder");
    constexpr qreal left = 136;
    constexpr qreal right = width - 10;
    constexpr qreal baseline = 50;
    constexpr qreal gap = 1;

    // The largest size at which the whole name fits beside the racks.
    int pixelSize = 40;
    auto nameWidth = [&](int size) {
        return QFontMetricsF(nameFont(size, QFont::Bold)).horizontalAdvance(korvo) + gap +
               QFontMetricsF(nameFont(size, QFont::Light)).horizontalAdvance(binder);
    };
    while (pixelSize > 12 && left + nameWidth(pixelSize) > right)
        --pixelSize;
    const QFont bold = nameFont(pixelSize, QFont::Bold);
    const QFont light = nameFont(pixelSize, QFont::Light);

    painter.setFont(bold);
    painter.setPen(nameWhite);
    painter.drawText(QPointF(left, baseline), korvo);
    const qreal korvoWidth = QFontMetricsF(bold).horizontalAdvance(korvo);

    painter.setFont(light);
    painter.setPen(accent);
    painter.drawText(QPointF(left + korvoWidth + gap, baseline), binder);

    painter.setPen(QPen(accent, 2));
    painter.drawLine(QPointF(left + 1, baseline + 9), QPointF(left + nameWidth(pixelSize), baseline + 9));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setPixelSize(11);
    tagline.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.setFont(tagline);
    painter.setPen(taglineBlue);
    painter.drawText(QPointF(left + 1, baseline + 25), QStringLiteral("RENDER FARM PROJECT PACKER"));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: logo_generator <output.png>\n", stderr);
        return 2;
    }

    QImage logo(width, height, QImage::Format_RGB888);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawGround(painter);
    drawFarm(painter);
    drawName(painter);
    painter.end();

    QImageWriter writer(QString::fromLocal8Bit(argv[1]), "png");
    if (!writer.write(logo)) {
        std::fprintf(stderr, "logo_generator: %s\n", qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
