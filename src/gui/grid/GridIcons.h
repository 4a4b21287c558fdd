#pragma once

#include <QPixmap>
#include <QRectF>

class QPainter;

// Small icons drawn with QPainter, so they scale to any row height and need no image files.
// The legend of a screen uses the same pictures as the grid through stockStatusPixmap().
namespace morvex::gridicons {

void paintStockStatus(QPainter *painter, const QRectF &rect, int value); // 0..5
void paintYesNo(QPainter *painter, const QRectF &rect, bool yes);
void paintCampaign(QPainter *painter, const QRectF &rect, bool onCampaign);
void paintFileType(QPainter *painter, const QRectF &rect, int code); // 0..6

QPixmap stockStatusPixmap(int value, int size, qreal devicePixelRatio = 1.0);

enum class IconSet { StockStatus, YesNo, Campaign, FileType };
// The icon drawn once into a pixmap and kept in the pixmap cache: grids paint the same few
// icons thousands of times.
QPixmap cachedIcon(IconSet set, int value, int size, qreal devicePixelRatio);

} // namespace morvex::gridicons
