// Reading the program's own PNG pictures.
#pragma once

#include <QImage>
#include <QString>

namespace harness
{

// Reads a PNG file as PNG. Qt's usual read also asks every image plugin
// whether it knows the format, which loads them all: more than a millisecond
// of start-up spent on formats the program never shows.
QImage readPng(const QString &path);

} // namespace harness
