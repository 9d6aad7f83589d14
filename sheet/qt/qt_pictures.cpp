#include "sheet/qt/qt_pictures.h"

#include <QBitmap>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include "resources/bitmap_resources.h"

namespace grazefall::qtui {
namespace {

QImage DecodeBmp(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return {};
  return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

}  // namespace

QPixmap ResourcePixmap(int32_t id) {
  const QImage image = DecodeBmp(resources::FindBitmap(id));
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QPixmap FilePixmap(const QString& path, int width, int height) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  const QImage image = reader.read();
  if (image.isNull()) return {};
  return QPixmap::fromImage(
      image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QPixmap PlaceholderPixmap(int width, int height) {
  QPixmap pixmap(std::max(width, 1), std::max(height, 1));
  pixmap.fill(QColor(0xA0, 0xA0, 0xA0));
  QPainter painter(&pixmap);
  painter.setPen(QColor(0x60, 0x60, 0x60));
  painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int32_t size : resources::IconSizes()) {
    QImage image = DecodeBmp(resources::FindIconBitmap(size));
    if (image.isNull()) continue;
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == transparent) image.setPixel(x, y, qRgba(0, 0, 0, 0));
      }
    }
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace grazefall::qtui
