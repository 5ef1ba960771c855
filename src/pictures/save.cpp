#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>

#include "core/calc_error.h"
#include "pictures/pictures.h"

namespace kelmar::pictures {
namespace {

constexpr int kDotsPerMeter96 = 3780;  // 96 dpi

void WriteWhole(const std::string& path, const QByteArray& bytes) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw CalcError("Cannot create file " + path);
}

}  // namespace

void SavePng(const std::string& path, QSize size, const Painting& paint) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(1);
  image.setDotsPerMeterX(kDotsPerMeter96);
  image.setDotsPerMeterY(kDotsPerMeter96);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    paint(p, QSizeF(size));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  WriteWhole(path, bytes);
}

void SaveSvg(const std::string& path, QSize size, const Painting& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(96);
  svg.setTitle(QStringLiteral("Kelmar"));
  {
    QPainter p(&svg);
    paint(p, QSizeF(size));
  }
  // The generator gives the size in millimetres; a picture for the screen is sized in pixels.
  const qsizetype head = bytes.indexOf("<svg");
  const qsizetype end = bytes.indexOf('>', head);
  if (head >= 0 && end > head) {
    QString tag = QString::fromUtf8(bytes.mid(head, end - head));
    tag.replace(QRegularExpression(QStringLiteral(" width=\"[^\"]*\"")), QStringLiteral(" width=\"%1\"").arg(size.width()));
    tag.replace(QRegularExpression(QStringLiteral(" height=\"[^\"]*\"")), QStringLiteral(" height=\"%1\"").arg(size.height()));
    bytes.replace(head, end - head, tag.toUtf8());
  }
  WriteWhole(path, bytes);
}

void SavePicture(const std::string& path, QSize size, const Painting& paint) {
  const bool svg = path.size() >= 4 && QString::fromStdString(path.substr(path.size() - 4)).compare(".svg", Qt::CaseInsensitive) == 0;
  if (svg) {
    SaveSvg(path, size, paint);
  } else {
    SavePng(path, size, paint);
  }
}

}  // namespace kelmar::pictures
