#pragma once
// Saving what a chart view shows as a PNG or SVG picture of the view's
// size, through a temporary file renamed into place, so that a failure
// leaves no picture behind.

#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace tessaro {

enum class ImageFormat { Png, Svg };

// By the extension: ".svg" in any case is SVG, anything else PNG.
ImageFormat ImageFormatOf(const QString& path);

// false when the picture cannot be written.
bool SaveViewImage(QWidget* view, const QString& path, ImageFormat format);

}  // namespace tessaro
