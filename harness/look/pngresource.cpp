#include "pngresource.h"

#include <QImageReader>

namespace harness
{

QImage readPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace harness
