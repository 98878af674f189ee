#include "widgets/button/oxCaption.h"

#include <algorithm>
#include <vector>

namespace {

// Offsets and colours of the copies an effect draws, the text itself last.
struct TCopy
{
    int dx;
    int dy;
    TColor color;
};

std::vector<TCopy> copiesFor(ToxFont3D effect, bool pressed, const ToxCaptionColors &c)
{
    switch (effect) {
    case ToxFont3D::fsNone:
        return {};
    case ToxFont3D::fsNormal:
        return {{0, 0, c.text}};
    case ToxFont3D::fsRaised:
        return {{-1, -1, c.highlight}, {0, 0, c.text}};
    case ToxFont3D::fsInset:
        return {{1, 1, c.highlight}, {0, 0, c.text}};
    case ToxFont3D::fsRidged:
        return {{1, 1, c.shadow}, {-1, -1, c.highlight}, {0, 0, c.text}};
    case ToxFont3D::fsGrooved:
        return {{-1, -1, c.shadow}, {1, 1, c.highlight}, {0, 0, c.text}};
    case ToxFont3D::fsShadow: {
        const int d = pressed ? 4 : 2;
        return {{d, d, c.shadow}, {0, 0, c.text}};
    }
    }
    return {};
}

} // namespace

QString CaptionDrawText(const QString &caption, bool multiLine)
{
    QString text = caption.left(kMaxCaptionLength);
    if (multiLine)
        text.replace(QLatin1String("||"), QLatin1String("\n"));
    return text;
}

TTextFlags CaptionFlags(const ToxCaptionParams &p)
{
    if (p.angle != 0)
        return TTextFlag::Left;
    if (!p.multiLine)
        return TTextFlag::SingleLine | TTextFlag::Center;
    if (p.textX > 0)
        return TTextFlag::WordBreak | TTextFlag::Left;
    if (p.textX < 0)
        return TTextFlag::WordBreak | TTextFlag::Right;
    return TTextFlag::WordBreak | TTextFlag::Center;
}

QRect LayoutCaption(TCanvas &canvas, const ToxCaptionParams &p)
{
    if (p.caption.isEmpty())
        return QRect(0, 0, 0, 0);
    QRect C(QPoint(0, 0), p.client);
    if (p.effect != ToxFont3D::fsShadow) {
        if (p.pressed)
            C.translate(2, 2);
        else if (p.latched)
            C.translate(1, 1);
    }
    QRect R = C;
    if (p.angle == 0 && p.multiLine) {
        // Word-broken text wraps short of the right edge.
        const int cut = p.textX > 0 ? p.textX : p.textX < 0 ? -p.textX : 2;
        R.setWidth(std::max(0, R.width() - cut));
    }
    canvas.DrawText(R, CaptionDrawText(p.caption, p.multiLine), CaptionFlags(p) | TTextFlag::CalcRect);
    if (p.angle != 0)
        R.setWidth(R.top() + R.height() - R.left()); // the right edge takes the bottom's value
    R.setWidth(R.width() + 4);
    R.setHeight(R.height() + 2);
    const int w = R.width();
    const int h = R.height();

    // Far-off positions are clamped so the arithmetic cannot overflow.
    auto shift = [](int pos, int room, int extent) {
        if (pos == 0)
            return (room - extent) / 2;
        if (pos < 0)
            return int(std::max<qint64>(qint64(room) - extent + pos, -(1 << 24)));
        return std::min(pos, 1 << 24);
    };
    R.translate(shift(p.textX, C.width(), w), shift(p.textY, C.height(), h));
    return R;
}

void DrawCaption(TCanvas &canvas, const ToxCaptionParams &p, const QRect &rect, bool enabled,
                 const ToxCaptionColors &colors)
{
    if (p.caption.isEmpty())
        return;
    ToxCaptionColors c = colors;
    ToxFont3D effect = p.effect;
    if (!enabled) {
        effect = ToxFont3D::fsInset;
        c.text = clGray;
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    const TColor savedColor = canvas.Font.Color;
    const QString text = CaptionDrawText(p.caption, p.multiLine && p.angle == 0);
    const TTextFlags flags = CaptionFlags(p);
    for (const TCopy &copy : copiesFor(effect, p.pressed, c)) {
        canvas.Font.Color = copy.color;
        if (p.angle == 0) {
            canvas.DrawText(rect.translated(copy.dx, copy.dy), text, flags);
        } else {
            // Rotated: one line centred on the anchor, the anchor on the baseline.
            const int ax = rect.left() + rect.width() - rect.width() / 2;
            const int ay = rect.top() + rect.height() - rect.height() / 2;
            const TTextHAlign h = canvas.TextHAlign;
            const TTextVAlign v = canvas.TextVAlign;
            canvas.TextHAlign = TTextHAlign::Center;
            canvas.TextVAlign = TTextVAlign::Baseline;
            canvas.TextOut(ax + copy.dx, ay + copy.dy, text);
            canvas.TextHAlign = h;
            canvas.TextVAlign = v;
        }
    }
    canvas.Font.Color = savedColor;
}
