#pragma once

#include "widgets/button/oxBtns.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

// The handlers are protected; tests drive them directly as well as through events.
class TestButton : public ToxGraphicButton
{
public:
    using ToxGraphicButton::ToxGraphicButton;
    using ToxCustomGraphicButton::MouseDown;
    using ToxCustomGraphicButton::MouseEnter;
    using ToxCustomGraphicButton::MouseLeave;
    using ToxCustomGraphicButton::MouseMove;
    using ToxCustomGraphicButton::MouseUp;

    void clickAt(int x = 10, int y = 10)
    {
        MouseDown(Qt::LeftButton, {}, x, y);
        MouseUp(Qt::LeftButton, {}, x, y);
    }
};

// A parent window with the "Boost" toggle configured as in the main window.
struct BoostFixture
{
    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    TestButton *btn = nullptr;

    BoostFixture()
    {
        host->resize(200, 120);
        btn = makeBoost(host.get());
    }

    static TestButton *makeBoost(QWidget *parent)
    {
        auto *b = new TestButton(parent);
        b->beginLoading();
        b->setGeometry(10, 10, 73, 65);
        b->Background().setStyle(ToxBackgroundStyle::oxbSolid);
        b->Background().setColor(clBtnFace);
        b->Background().setGradient(clWhite);
        b->setCaption(QStringLiteral("Boost"));
        b->setFont(TFont(QStringLiteral("MS Sans Serif"), -13, TFontStyle::fsBold, clBtnText));
        b->setMultiLine(false);
        b->setTextAngle(0);
        b->setTextX(0);
        b->setTextY(26);
        b->setButtonType(ToxButtonType::oxbToggle);
        b->setGroup(1);
        b->setGroupAllowNoSel(true);
        b->setGrayed(false);
        b->setAnimate(false);
        b->Loaded();
        return b;
    }
};

// Records the order of a button's events as short names.
struct EventLog
{
    QStringList events;
    void attach(ToxCustomGraphicButton *b, const QString &prefix = QString())
    {
        QObject::connect(b, &ToxCustomGraphicButton::OnMouseDown, b,
                         [this, prefix](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                             events << prefix + QStringLiteral("down");
                         });
        QObject::connect(b, &ToxCustomGraphicButton::OnMouseUp, b,
                         [this, prefix](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                             events << prefix + QStringLiteral("up");
                         });
        QObject::connect(b, &ToxCustomGraphicButton::OnChange, b,
                         [this, prefix](QObject *) { events << prefix + QStringLiteral("change"); });
        QObject::connect(b, &ToxCustomGraphicButton::OnClick, b,
                         [this, prefix](QObject *) { events << prefix + QStringLiteral("click"); });
    }
};

inline TColor px(const QImage &img, int x, int y)
{
    return RgbToPlain(img.pixel(x, y));
}

inline TColor rgb(TColor c)
{
    return ColorToRGB(c);
}
