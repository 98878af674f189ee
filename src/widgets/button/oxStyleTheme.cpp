#include "widgets/button/oxStyleTheme.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionToolButton>

bool ToxStyleTheme::CanOpen(const QString &themeClass) const
{
    return QApplication::style() != nullptr
        && (themeClass == QLatin1String("Button") || themeClass == QLatin1String("Toolbar"));
}

bool ToxStyleTheme::DrawPart(QImage &img, const QString &themeClass, int part, int state, const QRect &r)
{
    QStyle *style = QApplication::style();
    if (!style || !CanOpen(themeClass) || r.isEmpty())
        return false;
    QStyle::State flags = QStyle::State_None;
    if (state != 4)
        flags |= QStyle::State_Enabled;
    if (state == 2)
        flags |= QStyle::State_MouseOver;
    if (state == 3)
        flags |= QStyle::State_Sunken;
    if (state == 5)
        flags |= QStyle::State_On;
    const bool toolbar = themeClass == QLatin1String("Toolbar");

    QPainter p(&img);
    QStyleOption opt;
    opt.rect = r;
    opt.state = flags | QStyle::State_Raised;
    opt.palette = QApplication::palette();
    if (part == 2) {
        style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p);
        return true;
    }
    if (toolbar) {
        QStyleOptionToolButton tb;
        static_cast<QStyleOption &>(tb) = opt;
        if (state == 1 || state == 4)
            tb.state &= ~QStyle::State_Raised; // a toolbar button is flat at rest
        style->drawPrimitive(QStyle::PE_PanelButtonTool, &tb, &p);
    } else {
        QStyleOptionButton bt;
        static_cast<QStyleOption &>(bt) = opt;
        if (state == 5)
            bt.features |= QStyleOptionButton::DefaultButton;
        style->drawPrimitive(QStyle::PE_PanelButtonCommand, &bt, &p);
    }
    return true;
}
