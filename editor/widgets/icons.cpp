#include "editor/widgets/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

#include "editor/core/commands.h"
#include "editor/core/menu_tables.h"
#include "editor/widgets/calyx_app.h"

namespace calyx::editor {

namespace {

const QColor outline(40, 40, 40);
const QColor paper(255, 255, 255);
const QColor folder(232, 190, 72);
const QColor folderDark(176, 128, 32);
const QColor blue(48, 96, 176);
const QColor steel(150, 150, 160);

void drawPage(QPainter& p, int x, int y, int w, int h) {
    p.setPen(outline);
    p.setBrush(paper);
    p.drawRect(x, y, w, h);
}

void drawOpen(QPainter& p) {
    p.setPen(folderDark);
    p.setBrush(folder);
    p.drawRect(1, 3, 5, 2);
    p.drawRect(1, 4, 12, 9);
    // The open flap.
    const QPointF flap[] = {{3.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}};
    p.setBrush(folder.lighter(115));
    p.drawPolygon(flap, 4);
}

void drawSave(QPainter& p) {
    p.setPen(outline);
    p.setBrush(blue);
    p.drawRect(1, 1, 13, 13);
    p.setBrush(paper);
    p.drawRect(3, 1, 9, 6);
    p.setBrush(steel);
    p.drawRect(4, 10, 7, 4);
    p.fillRect(8, 11, 2, 2, outline);
}

void drawCut(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(outline, 1.2));
    p.drawLine(QPointF(4.5, 1), QPointF(9.5, 10));
    p.drawLine(QPointF(11.5, 1), QPointF(6.5, 10));
    p.setPen(QPen(QColor(176, 32, 32), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 11.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 11.5), 2.5, 2.5);
}

void drawLines(QPainter& p, int x, int y, int w, int count) {
    p.setPen(steel);
    for (int i = 0; i < count; ++i) p.drawLine(x, y + 2 * i, x + w, y + 2 * i);
}

void drawCopy(QPainter& p) {
    drawPage(p, 1, 1, 8, 9);
    drawLines(p, 3, 3, 4, 3);
    drawPage(p, 6, 5, 8, 9);
    drawLines(p, 8, 7, 4, 3);
}

void drawPaste(QPainter& p) {
    p.setPen(outline);
    p.setBrush(QColor(160, 112, 64));
    p.drawRect(1, 2, 10, 12);
    p.setBrush(steel);
    p.drawRect(4, 1, 4, 2);
    drawPage(p, 6, 5, 8, 9);
    drawLines(p, 8, 7, 4, 3);
}

void drawPrint(QPainter& p) {
    drawPage(p, 4, 1, 8, 5);
    p.setPen(outline);
    p.setBrush(steel);
    p.drawRect(1, 6, 14, 6);
    p.fillRect(12, 8, 2, 1, QColor(64, 176, 64));
    drawPage(p, 4, 10, 8, 4);
}

void drawQuestion(QPainter& p, const QRectF& area, const QColor& colour) {
    QFont font;
    font.setPixelSize(static_cast<int>(area.height()));
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(area, Qt::AlignCenter, QStringLiteral("?"));
}

void drawAbout(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(blue.darker(130));
    p.setBrush(blue);
    p.drawEllipse(QRectF(1.5, 1, 13, 13));
    drawQuestion(p, QRectF(1.5, 1.5, 13, 12), paper);
}

void drawContextHelp(QPainter& p) {
    // The mouse arrow, then a question mark beside it.
    const QPointF arrow[] = {{1, 1}, {1, 12}, {4, 9}, {6, 14}, {8, 13}, {6, 8}, {10, 8}};
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(outline);
    p.setBrush(paper);
    p.drawPolygon(arrow, 7);
    drawQuestion(p, QRectF(8, 0, 8, 11), blue);
}

QPixmap toolbarPixmap(void (*draw)(QPainter&)) {
    QPixmap pixmap(toolbarIconWidth, toolbarIconHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

// A loudspeaker with two sound waves, in a square of side 1.
void drawSpeaker(QPainter& p, const QColor& body) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath speaker;
    speaker.moveTo(0.10, 0.38);
    speaker.lineTo(0.28, 0.38);
    speaker.lineTo(0.52, 0.16);
    speaker.lineTo(0.52, 0.84);
    speaker.lineTo(0.28, 0.62);
    speaker.lineTo(0.10, 0.62);
    speaker.closeSubpath();
    p.setPen(QPen(outline, 0.03));
    p.setBrush(body);
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(body, 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(0.42, 0.32, 0.24, 0.36), -50 * 16, 100 * 16);
    p.drawArc(QRectF(0.40, 0.18, 0.44, 0.64), -50 * 16, 100 * 16);
}

// A bank: a page with a folded corner and a waveform on it.
void drawBank(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(0.18, 0.04);
    page.lineTo(0.62, 0.04);
    page.lineTo(0.84, 0.26);
    page.lineTo(0.84, 0.96);
    page.lineTo(0.18, 0.96);
    page.closeSubpath();
    p.setPen(QPen(outline, 0.03));
    p.setBrush(paper);
    p.drawPath(page);
    p.setBrush(QColor(210, 210, 210));
    const QPointF fold[] = {{0.62, 0.04}, {0.62, 0.26}, {0.84, 0.26}};
    p.drawPolygon(fold, 3);
    QPainterPath wave;
    wave.moveTo(0.24, 0.60);
    const std::array<double, 11> heights{0.1, -0.2, 0.28, -0.14, 0.22, -0.3, 0.16, -0.08, 0.2, -0.12, 0.0};
    for (std::size_t i = 0; i < heights.size(); ++i) {
        wave.lineTo(0.24 + 0.054 * static_cast<double>(i + 1), 0.60 - heights[i]);
    }
    p.setPen(QPen(blue, 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

void drawProgram(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(32, 72, 136));
    p.drawRoundedRect(QRectF(0.02, 0.02, 0.96, 0.96), 0.18, 0.18);
    drawSpeaker(p, QColor(250, 210, 80));
}

// A greyed button: the picture in grey, faded, so that dark outlines do not
// make it look usable.
QPixmap greyed(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 3);
        }
    }
    return QPixmap::fromImage(image);
}

QIcon toolbarIcon(void (*draw)(QPainter&)) {
    const QPixmap pixmap = toolbarPixmap(draw);
    QIcon icon(pixmap);
    icon.addPixmap(greyed(pixmap), QIcon::Disabled);
    return icon;
}

}  // namespace

QIcon toolbarIcon(int commandId) {
    using namespace command;
    switch (commandId) {
    case fileOpen: return toolbarIcon(drawOpen);
    case fileSave: return toolbarIcon(drawSave);
    case editCut: return toolbarIcon(drawCut);
    case editCopy: return toolbarIcon(drawCopy);
    case editPaste: return toolbarIcon(drawPaste);
    case filePrint: return toolbarIcon(drawPrint);
    case appAbout: return toolbarIcon(drawAbout);
    case contextHelp: return toolbarIcon(drawContextHelp);
    default: return {};
    }
}

QImage programIconImage(int key, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size, size);
    switch (key) {
    case app_icon::application: drawProgram(painter); break;
    case app_icon::document: drawBank(painter); break;
    case app_icon::sound: drawSpeaker(painter, blue); break;
    default: return {};
    }
    return image;
}

QIcon programIcon(int key) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        const QImage image = programIconImage(key, size);
        if (image.isNull()) return {};
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace calyx::editor
