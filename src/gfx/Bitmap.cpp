#include "gfx/Bitmap.h"

#include <QFile>

TBitmap::TBitmap(int width, int height) : m_canvas(&m_image)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage &image) : m_canvas(&m_image)
{
    Assign(image);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        m_image = QImage();
        return;
    }
    if (width == Width() && height == Height())
        return;
    m_image = QImage(width, height, QImage::Format_RGB32);
    m_image.fill(Qt::white);
}

void TBitmap::Assign(const TBitmap &other)
{
    if (&other != this)
        Assign(other.m_image);
}

void TBitmap::Assign(const QImage &image)
{
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

bool TBitmap::LoadFromFile(const QString &fileName)
{
    QImage img;
    if (!QFile::exists(fileName) || !img.load(fileName))
        return false;
    Assign(img);
    return true;
}

bool TBitmap::LoadFromResourceName(const QString &name)
{
    const QString base = QStringLiteral(":/") + name;
    for (const QString &candidate : {base, base + QStringLiteral(".bmp"), base + QStringLiteral(".png")})
        if (QFile::exists(candidate))
            return LoadFromFile(candidate);
    return false;
}

bool TBitmap::SaveToFile(const QString &fileName) const
{
    return !m_image.isNull() && m_image.save(fileName);
}

unsigned char *TBitmap::ScanLine(int y)
{
    return (y >= 0 && y < Height()) ? m_image.scanLine(y) : nullptr;
}

const unsigned char *TBitmap::ScanLine(int y) const
{
    return (y >= 0 && y < Height()) ? m_image.constScanLine(y) : nullptr;
}

TColor TBitmap::EffectiveTransparentColor() const
{
    if (TransparentColor != clNone)
        return TransparentColor;
    return m_canvas.Pixel(0, Height() - 1);
}
