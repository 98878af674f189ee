#include "gfx/ControlAlign.h"

#include "gfx/Numeric.h"

QRect AlignedBounds(TAlign align, const QRect &b, const QSize &p)
{
    switch (align) {
    case TAlign::alNone: return b;
    case TAlign::alTop: return {0, 0, p.width(), b.height()};
    case TAlign::alBottom: return {0, p.height() - b.height(), p.width(), b.height()};
    case TAlign::alLeft: return {0, 0, b.width(), p.height()};
    case TAlign::alRight: return {p.width() - b.width(), 0, b.width(), p.height()};
    case TAlign::alClient: return {0, 0, p.width(), p.height()};
    }
    return b;
}

namespace {

// One axis: position and extent of the control after the parent grew by delta.
void anchorAxis(bool nearEdge, bool farEdge, int delta, int *pos, int *extent)
{
    if (nearEdge && farEdge)
        *extent = std::max(0, *extent + delta);
    else if (farEdge)
        *pos += delta;
    else if (!nearEdge)
        *pos += Div(delta, 2);
}

} // namespace

QRect AnchoredBounds(TAnchors anchors, const QRect &b, const QSize &oldParent, const QSize &newParent)
{
    int x = b.x(), y = b.y(), w = b.width(), h = b.height();
    anchorAxis(anchors.testFlag(TAnchorKind::akLeft), anchors.testFlag(TAnchorKind::akRight),
               newParent.width() - oldParent.width(), &x, &w);
    anchorAxis(anchors.testFlag(TAnchorKind::akTop), anchors.testFlag(TAnchorKind::akBottom),
               newParent.height() - oldParent.height(), &y, &h);
    return {x, y, w, h};
}
