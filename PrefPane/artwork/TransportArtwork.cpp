// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Paints the six transport pictures of the mappings table and saves them as TIFF files:
//   TransportArtwork <output folder>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

constexpr int kSize = 32;
const QColor kInk(0x30, 0x30, 0x30);
const QColor kRecord(0xD0, 0x20, 0x20);

QPainterPath triangle(qreal left, qreal right, bool pointsRight)
{
    QPainterPath path;
    const qreal tip = pointsRight ? right : left;
    const qreal base = pointsRight ? left : right;
    path.moveTo(base, 8);
    path.lineTo(tip, 16);
    path.lineTo(base, 24);
    path.closeSubpath();
    return path;
}

void paintZero(QPainter& p)
{
    p.fillRect(QRectF(7, 8, 3, 16), kInk);
    p.fillPath(triangle(10, 24, false), kInk);
}

void paintRewind(QPainter& p)
{
    p.fillPath(triangle(4, 16, false), kInk);
    p.fillPath(triangle(16, 28, false), kInk);
}

void paintPlay(QPainter& p)
{
    p.fillPath(triangle(4, 16, true), kInk);
    p.fillRect(QRectF(19, 8, 3, 16), kInk);
    p.fillRect(QRectF(25, 8, 3, 16), kInk);
}

void paintForward(QPainter& p)
{
    p.fillPath(triangle(4, 16, true), kInk);
    p.fillPath(triangle(16, 28, true), kInk);
}

void paintLoop(QPainter& p)
{
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::FlatCap));
    const QRectF ring(6, 8, 20, 16);
    p.drawArc(ring, 30 * 16, 150 * 16);
    p.drawArc(ring, 210 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    QPainterPath upper; // arrowhead on the right end of the upper arc
    upper.moveTo(21, 6);
    upper.lineTo(28, 12);
    upper.lineTo(20, 14);
    upper.closeSubpath();
    QPainterPath lower; // and on the left end of the lower arc
    lower.moveTo(11, 26);
    lower.lineTo(4, 20);
    lower.lineTo(12, 18);
    lower.closeSubpath();
    p.fillPath(upper, kInk);
    p.fillPath(lower, kInk);
}

void paintRecord(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kRecord);
    p.drawEllipse(QPointF(16, 16), 8, 8);
}

bool save(const QString& folder, const char* name, const std::function<void(QPainter&)>& draw)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    const QString file = folder + '/' + name + ".tif";
    QImageWriter writer(file, "tiff");
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "cannot write %s: %s (is the Qt TIFF image plugin installed?)\n", qPrintable(file),
                 qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const std::pair<const char*, std::function<void(QPainter&)>> pictures[] = {
        {"transport-zero", paintZero},  {"transport-rew", paintRewind}, {"transport-play", paintPlay},
        {"transport-ff", paintForward}, {"transport-loop", paintLoop},  {"transport-rec", paintRecord}};
    for (const auto& [name, draw] : pictures)
        if (!save(folder, name, draw))
            return 1;
    return 0;
}
