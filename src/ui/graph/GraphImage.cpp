#include "ui/graph/GraphImage.h"

#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace tessaro {

ImageFormat ImageFormatOf(const QString& path) {
  return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? ImageFormat::Svg
                                                                    : ImageFormat::Png;
}

bool SaveViewImage(QWidget* view, const QString& path, ImageFormat format) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (format == ImageFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(view->size());
    svg.setViewBox(view->rect());
    QPainter painter(&svg);
    view->render(&painter);
  } else if (!view->grab().save(&file, "PNG")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace tessaro
