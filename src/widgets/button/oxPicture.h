#pragma once

#include "gfx/Color.h"

#include <QImage>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// A picture that can play: frames, the current frame, advancing, looping.
class IoxAnimatedGraphic
{
public:
    virtual ~IoxAnimatedGraphic() = default;
    virtual int FrameCount() const = 0;
    virtual int CurrentFrame() const = 0;
    virtual void Advance() = 0;   // to the next frame, wrapping after the last
    virtual void Reset() = 0;     // back to the first frame
    virtual bool Looping() const = 0;
    virtual QImage FrameImage() const = 0;
};

// What a picture holds. Only bitmaps and icons are drawn by the button.
enum class ToxGraphicKind { None, Bitmap, Icon, Other };

// A picture holder: a graphic of some kind plus the colour that shows
// through. A bitmap that names no transparent colour uses its bottom-left
// pixel; an icon is transparent where its alpha is zero.
class ToxPicture
{
public:
    ToxPicture() = default;
    ToxPicture(const ToxPicture &) = delete;
    ToxPicture &operator=(const ToxPicture &) = delete;

    ToxGraphicKind Kind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == ToxGraphicKind::None || image().isNull(); }
    int Width() const { return image().width(); }
    int Height() const { return image().height(); }

    // The image to draw: the current frame for an animated graphic.
    QImage image() const;
    std::shared_ptr<IoxAnimatedGraphic> Animation() const { return m_animation; }

    void setBitmap(const QImage &img, TColor transparent = clNone);
    void setIcon(const QImage &img);
    void setAnimation(std::shared_ptr<IoxAnimatedGraphic> anim);
    void setOther(const QImage &img); // a graphic kind the button does not draw
    void clear();
    // Copies graphic, kind and transparent colour from other.
    void assign(const ToxPicture &other);
    // Exchanges the graphics of two holders (each tells its owner).
    void swapWith(ToxPicture &other);
    // Tell the owner the graphic changed in place (e.g. a new frame).
    void changed();

    // The plain colour that shows through (bitmaps); clNone for icons.
    TColor TransparentColor() const;
    // True where the pixel at (x, y) belongs to the picture.
    bool IsOpaqueAt(const QImage &img, int x, int y) const;

    std::function<void()> OnChange;

private:
    ToxGraphicKind m_kind = ToxGraphicKind::None;
    QImage m_image;
    TColor m_transparent = clNone;
    std::shared_ptr<IoxAnimatedGraphic> m_animation;
};

// A list of equally sized images (the button's Images property). A button
// that uses a list forgets it when the list is destroyed.
class ToxImageList : public QObject
{
public:
    using QObject::QObject;
    int Count() const { return int(m_images.size()); }
    void Add(const QImage &img) { m_images.push_back(img); }
    QImage Image(int i) const
    {
        return i >= 0 && i < Count() ? m_images[std::size_t(i)] : QImage();
    }

private:
    std::vector<QImage> m_images;
};

// Draw src (a bitmap or icon image of pic) with its top-left corner at
// (x, y); the transparent pixels leave dst as it was.
void DrawPicture(QImage &dst, const ToxPicture &pic, const QImage &src, int x, int y);
