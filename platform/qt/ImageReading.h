// The program's own pictures, read without Qt's image plugins: Qt's reader
// loads every installed format plugin (and libjpeg with them) to ask which
// one reads a file, and reads a BMP a pixel at a time. Every picture the
// program embeds is an uncompressed 24-bit BMP or a PNG; these two readers
// take them straight from the bytes, on any thread.
#pragma once

#include <QImage>
#include <QString>

namespace platform::qt {

// An uncompressed 24-bit BMP file's picture, the same pixels as Qt's reader
// gives, kept in 24 bits (RGB888: a quarter less memory than 32 bits, which
// counts for the window-sized backgrounds); a null image for any other kind
// of file.
QImage readPlainBmp(const uchar* data, qint64 size);

// A PNG file's picture (libpng's reader): ARGB32, or RGB32 when it has no
// alpha; a null image when the bytes are not a PNG or are damaged.
QImage readPng(const uchar* data, qint64 size);

// An embedded picture (":/..."): a BMP or PNG by the readers above, anything
// else by Qt's reader. A null image when it is missing or unreadable.
QImage readResourceImage(const QString& path);

}  // namespace platform::qt
