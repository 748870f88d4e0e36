#include "app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace pellucor::app {
namespace {

// Every picture is drawn on a 16-unit grid and rendered at the sizes an icon is asked for.
template <typename Draw>
QIcon Render(Draw draw, std::initializer_list<int> sizes = {16, 24, 32, 48}) {
    QIcon icon;
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void FilmStrip(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 0.8));
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    for (int i = 0; i < 4; ++i) {  // sprocket holes down both edges
        p.drawRect(QRectF(3.3, 2.6 + i * 3.1, 1.4, 1.6));
        p.drawRect(QRectF(11.3, 2.6 + i * 3.1, 1.4, 1.6));
    }
    p.setBrush(QColor(110, 170, 230));
    p.drawRect(QRectF(5.5, 2.5, 5, 5));
    p.drawRect(QRectF(5.5, 8.5, 5, 5));
}

void Cross(QPainter& p) {
    p.setPen(QPen(QColor(205, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void Tick(QPainter& p) {
    p.setPen(QPen(QColor(30, 150, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(2.5, 8.5);
    path.lineTo(6.5, 12.5);
    path.lineTo(13.5, 3.5);
    p.drawPath(path);
}

void Triangle(QPainter& p, bool up) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90));
    const QPolygonF tri = up ? QPolygonF{{4, 11}, {12, 11}, {8, 5}} : QPolygonF{{4, 5}, {12, 5}, {8, 11}};
    p.drawPolygon(tri);
}

void Badge(QPainter& p, const QColor& color, bool plus) {
    p.setPen(QPen(Qt::white, 0.8));
    p.setBrush(color);
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    p.setPen(QPen(Qt::white, 1.4));
    p.drawLine(QPointF(10, 12), QPointF(14, 12));
    if (plus) p.drawLine(QPointF(12, 10), QPointF(12, 14));
}

void Folder(QPainter& p) {
    p.setPen(QPen(QColor(170, 120, 20), 0.8));
    p.setBrush(QColor(245, 200, 80));
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6, 3.5);
    path.lineTo(7.5, 5);
    path.lineTo(14.5, 5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
}

void Play(QPainter& p) {
    p.setPen(QPen(QColor(20, 110, 30), 0.8));
    p.setBrush(QColor(50, 175, 60));
    p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{6, 4.5}, {6, 11.5}, {11.5, 8}});
}

void StopSquare(QPainter& p) {
    p.setPen(QPen(QColor(140, 20, 20), 0.8));
    p.setBrush(QColor(205, 45, 45));
    p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 5, 6, 6));
}

void ToTray(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(QColor(220, 225, 235));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(70, 110, 180));
    p.drawRect(QRectF(1.5, 2.5, 13, 2.5));
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
}

void Letter(QPainter& p, const QColor& color, const QString& letter) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
    QFont font;
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, letter);
}

} // namespace

QIcon ListPictureIcon(int index) {
    switch (index) {
    case PicWaiting: return Render(FilmStrip);
    case PicFailed: return Render(Cross);
    case PicConverted: return Render(Tick);
    case PicSortUp: return Render([](QPainter& p) { Triangle(p, true); });
    case PicSortDown: return Render([](QPainter& p) { Triangle(p, false); });
    default: return {};
    }
}

QIcon GlyphIcon(Glyph glyph) {
    switch (glyph) {
    case Glyph::Add:
        return Render([](QPainter& p) { FilmStrip(p); Badge(p, QColor(40, 150, 50), true); });
    case Glyph::AddFolder:
        return Render([](QPainter& p) { Folder(p); Badge(p, QColor(40, 150, 50), true); });
    case Glyph::Remove:
        return Render([](QPainter& p) { FilmStrip(p); Badge(p, QColor(200, 50, 40), false); });
    case Glyph::Clear: return Render(Cross);
    case Glyph::Run: return Render(Play);
    case Glyph::End: return Render(StopSquare);
    case Glyph::Minimize: return Render(ToTray);
    case Glyph::About: return Render([](QPainter& p) { Letter(p, QColor(60, 110, 190), "i"); });
    case Glyph::Help: return Render([](QPainter& p) { Letter(p, QColor(60, 110, 190), "?"); });
    }
    return {};
}

QIcon AppIcon() {
    return Render(
        [](QPainter& p) {
            FilmStrip(p);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 140, 20));
            p.drawPolygon(QPolygonF{{8, 9}, {15.5, 12.5}, {8, 16}});
        },
        {16, 22, 32, 48, 64, 128});
}

QPixmap ModeBanner(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, width, 0);
    gradient.setColorAt(0, QColor(40, 80, 150));
    gradient.setColorAt(1, QColor(120, 170, 230));
    p.fillRect(pixmap.rect(), gradient);
    const int side = height - 12;
    AppIcon().paint(&p, QRect(12, 6, side, side));
    QFont font;
    font.setPixelSize(height / 3);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(side + 28, 0, width - side - 40, height), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Tamrix free Pellucor"));
    return pixmap;
}

} // namespace pellucor::app
