#include "gfx/KeptGlyphs.h"

#include "gfx/Canvas.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <vector>

namespace {

constexpr char16_t KeptChars[] = u"0123456789.,-+ eEABCDF:";
constexpr std::size_t KeptCount = std::size(KeptChars) - 1;

int keptIndex(QChar c)
{
    for (std::size_t i = 0; i < KeptCount; ++i)
        if (KeptChars[i] == c.unicode())
            return int(i);
    return -1;
}

// One glyph as the rows of pixels it sets, relative to the left end of its
// baseline.
struct Glyph
{
    struct Run
    {
        int dy, x1, x2; // x1 <= x < x2
    };
    int advance = 0;
    std::vector<Run> runs;
};

struct GlyphSet
{
    QString name;
    int height = 0;
    int charset = 0;
    TFontStyles style;
    bool usable = false;
    std::array<Glyph, KeptCount> glyphs;
    // What the font's kerning adds between two kept characters.
    std::array<std::array<int, KeptCount>, KeptCount> kerning{};

    // The pen's moves along a text: each character's advance, and the
    // kerning between it and the next.
    template <typename F>
    void walk(const QString &text, F &&atGlyph) const
    {
        int pen = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const std::size_t k = std::size_t(keptIndex(text[i]));
            atGlyph(glyphs[k], pen);
            pen += glyphs[k].advance;
            if (i + 1 < text.size())
                pen += kerning[k][std::size_t(keptIndex(text[i + 1]))];
        }
    }
    int advance(const QString &text) const
    {
        int end = 0;
        walk(text, [&](const Glyph &g, int pen) { end = pen + g.advance; });
        return end;
    }
};

// The painter's own picture of a text, set up as the canvas sets it up:
// black on white, baseline origin at (pad, pad + ascent).
QImage paintedText(const TResolvedFont &f, const QString &text, int width, int pad)
{
    QImage img(width + 2 * pad, f.Metrics.height() + 2 * pad, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    PrepareCanvasPainter(p);
    p.setFont(f.Font);
    p.setPen(Qt::black);
    p.drawText(pad, pad + f.Metrics.ascent(), text);
    return img;
}

// The runs of black pixels; false when any pixel is neither black nor white
// (the font draws with shades, which kept runs cannot reproduce).
bool blackRuns(const QImage &img, QPoint origin, std::vector<Glyph::Run> *runs)
{
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    for (int y = 0; y < img.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width();) {
            if (row[x] == white) {
                ++x;
                continue;
            }
            if (row[x] != black)
                return false;
            int end = x;
            while (end < img.width() && row[end] == black)
                ++end;
            runs->push_back({y - origin.y(), x - origin.x(), end - origin.x()});
            x = end;
        }
    }
    return true;
}

void drawRuns(QImage &image, const GlyphSet &set, const QString &text, QPoint origin,
              const QRect &clip, QRgb color)
{
    const QRect room = clip.intersected(image.rect());
    if (room.isEmpty())
        return;
    set.walk(text, [&](const Glyph &g, int pen) {
        const int penX = origin.x() + pen;
        for (const Glyph::Run &r : g.runs) {
            const int y = origin.y() + r.dy;
            if (y < room.top() || y > room.bottom())
                continue;
            const int x1 = std::max(penX + r.x1, room.left());
            const int x2 = std::min(penX + r.x2, room.right() + 1);
            if (x1 >= x2)
                continue;
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            std::fill(row + x1, row + x2, color);
        }
    });
}

// Every ordered pair of kept characters side by side, so that any kerning
// or joining between two of them shows.
QString everyPair()
{
    QString s;
    for (std::size_t a = 0; a < KeptCount; ++a)
        for (std::size_t b = 0; b < KeptCount; ++b) {
            s += QChar(KeptChars[a]);
            s += QChar(KeptChars[b]);
        }
    return s;
}

void learn(GlyphSet &set, const TFont &font)
{
    if (font.Orientation % 3600 != 0 || font.Style.testFlag(TFontStyle::fsUnderline)
        || font.Style.testFlag(TFontStyle::fsStrikeOut))
        return;
    const TResolvedFont f = ResolvedFont(font);
    const int pad = f.Metrics.height() + f.Metrics.maxWidth();
    for (std::size_t i = 0; i < KeptCount; ++i) {
        Glyph &g = set.glyphs[i];
        const QString one(QChar(KeptChars[i]));
        g.advance = f.Metrics.horizontalAdvance(one);
        const QImage img = paintedText(f, one, g.advance, pad);
        if (!blackRuns(img, QPoint(pad, pad + f.Metrics.ascent()), &g.runs))
            return;
    }
    for (std::size_t a = 0; a < KeptCount; ++a)
        for (std::size_t b = 0; b < KeptCount; ++b)
            set.kerning[a][b] = f.Metrics.horizontalAdvance(QString(QChar(KeptChars[a]))
                                                            + QChar(KeptChars[b]))
                                - set.glyphs[a].advance - set.glyphs[b].advance;
    // The proof: the pairs as the painter draws them and as kept glyphs.
    const QString pairs = everyPair();
    const int width = set.advance(pairs);
    if (f.Metrics.horizontalAdvance(pairs) != width)
        return;
    const QImage painted = paintedText(f, pairs, width, pad);
    QImage kept(painted.size(), painted.format());
    kept.fill(Qt::white);
    drawRuns(kept, set, pairs, QPoint(pad, pad + f.Metrics.ascent()), kept.rect(), qRgb(0, 0, 0));
    set.usable = kept == painted;
}

const GlyphSet *glyphSet(const TFont &font)
{
    static std::deque<std::unique_ptr<GlyphSet>> sets;
    static const bool cleared = [] {
        qAddPostRoutine([] { sets.clear(); });
        return true;
    }();
    (void)cleared;
    for (const auto &s : sets)
        if (s->height == font.Height && s->style == font.Style && s->charset == font.Charset
            && s->name == font.Name)
            return s.get();
    constexpr std::size_t MaxSets = 32;
    if (sets.size() == MaxSets)
        sets.pop_back(); // the oldest
    auto set = std::make_unique<GlyphSet>();
    set->name = font.Name;
    set->height = font.Height;
    set->charset = font.Charset;
    set->style = font.Style;
    learn(*set, font);
    sets.push_front(std::move(set));
    return sets.front().get();
}

// The set that draws every character of the text, or null.
const GlyphSet *setFor(const TFont &font, const QString &text)
{
    if (text.isEmpty() || font.Orientation % 3600 != 0)
        return nullptr;
    for (QChar c : text)
        if (keptIndex(c) < 0)
            return nullptr;
    const GlyphSet *set = glyphSet(font);
    return set->usable ? set : nullptr;
}

} // namespace

bool KeptTextAdvance(const TFont &font, const QString &text, int *advance)
{
    const GlyphSet *set = setFor(font, text);
    if (!set)
        return false;
    *advance = set->advance(text);
    return true;
}

bool DrawKeptGlyphs(QImage &image, const TFont &font, const QString &text, QPoint origin,
                    const QRect &clip, QRgb color)
{
    if (image.depth() != 32)
        return false;
    const GlyphSet *set = setFor(font, text);
    if (!set)
        return false;
    drawRuns(image, *set, text, origin, clip, color);
    return true;
}
