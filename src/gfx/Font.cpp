#include "gfx/Font.h"

#include "gfx/KeptGlyphs.h"

#include <QCoreApplication>
#include <QFontMetrics>

#include <array>
#include <deque>

#include <cmath>

QString ResolveFontFace(const QString &name)
{
    // The layouts were drawn for the small sans-serif screen face; DejaVu Sans
    // Condensed at the same pixel size has the same 13-pixel line at height -11
    // and nearly the same advance widths, so captions fit their boxes.
    static const char *const sansFaces[] = {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
                                            "Tahoma",        "Arial",        "Microsoft Sans Serif",
                                            "Segoe UI",      "Verdana",      "Helvetica"};
    if (name.isEmpty())
        return QStringLiteral("DejaVu Sans Condensed");
    for (const char *f : sansFaces)
        if (name.compare(QLatin1String(f), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DejaVu Sans Condensed");
    if (name.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Sans Mono");
    if (name.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Serif");
    return name;
}

int TFont::Size() const
{
    // Points = pixels * 72 / 96, rounded half away from zero.
    const int px = Height < 0 ? -Height : Height;
    const int pt = (px * 72 + 48) / 96;
    return Height < 0 ? pt : -pt;
}

void TFont::setSize(int points)
{
    const int pt = points < 0 ? -points : points;
    const int px = (pt * 96 + 36) / 72;
    Height = points < 0 ? px : -px;
}

QFont TFont::toQFont() const
{
    QFont f(ResolveFontFace(Name));
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setBold(Style.testFlag(TFontStyle::fsBold));
    f.setItalic(Style.testFlag(TFontStyle::fsItalic));
    f.setUnderline(Style.testFlag(TFontStyle::fsUnderline));
    f.setStrikeOut(Style.testFlag(TFontStyle::fsStrikeOut));
    if (Height < 0) {
        f.setPixelSize(-Height);
    } else if (Height > 0) {
        // A positive height is the cell height: the largest pixel size whose
        // line fits in it.
        int px = Height;
        f.setPixelSize(px);
        while (px > 1 && QFontMetrics(f).height() > Height)
            f.setPixelSize(--px);
    } else {
        f.setPixelSize(11); // height 0: the default size
    }
    return f;
}

namespace
{

struct TFontCacheEntry {
    QString Name;
    int Height;
    int Charset;
    TFontStyles Style;
    QFont Font;
    QFontMetrics Metrics;
    // The widths of the last texts measured in this font. A picture measures
    // its texts more than once (to fit, to align, to draw), and shaping a
    // text is the dearest part of measuring it.
    static constexpr std::size_t Widths = 16;
    std::array<std::pair<QString, int>, Widths> Advances{};
    std::size_t NextAdvance = 0;
};

TFontCacheEntry &CachedFont(const TFont &font)
{
    // A handful of fonts is in use at any time; a short list searched from
    // the front is enough. Emptied when the application ends, before the
    // toolkit's own font data goes.
    static std::deque<TFontCacheEntry> cache;
    static const bool cleared = [] {
        qAddPostRoutine([] { cache.clear(); });
        return true;
    }();
    (void)cleared;
    for (TFontCacheEntry &e : cache)
        if (e.Height == font.Height && e.Style == font.Style && e.Charset == font.Charset
            && e.Name == font.Name)
            return e;
    constexpr std::size_t MaxFonts = 64;
    if (cache.size() == MaxFonts)
        cache.pop_back(); // the oldest
    const QFont qf = font.toQFont();
    cache.push_front({font.Name, font.Height, font.Charset, font.Style, qf, QFontMetrics(qf)});
    return cache.front();
}

} // namespace

TResolvedFont ResolvedFont(const TFont &font)
{
    const TFontCacheEntry &e = CachedFont(font);
    return {e.Font, e.Metrics};
}

int TextAdvance(const TFont &font, const QString &text)
{
    if (text.isEmpty())
        return 0;
    if (int kept = 0; KeptTextAdvance(font, text, &kept))
        return kept;
    TFontCacheEntry &e = CachedFont(font);
    for (const auto &[measured, width] : e.Advances)
        if (measured == text)
            return width;
    const int width = e.Metrics.horizontalAdvance(text);
    e.Advances[e.NextAdvance] = {text, width};
    e.NextAdvance = (e.NextAdvance + 1) % TFontCacheEntry::Widths;
    return width;
}
