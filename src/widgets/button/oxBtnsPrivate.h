#pragma once

// Internal state shared by the behaviour and the face painting of the button.

#include "widgets/button/oxBtns.h"

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTimer>

struct ToxCustomGraphicButton::Private
{
    explicit Private(ToxCustomGraphicButton *q) : lines(q) {}

    ToxBtnStyle style = ToxBtnStyle::bsAuto;
    ToxBtnStyle resolved = ToxBtnStyle::bsWin95;
    QString caption;
    TColor color = clBtnFace;
    bool parentColor = true;
    TFont font{QStringLiteral("MS Sans Serif"), -11, {}, clBtnText};
    bool parentFont = false;
    ToxFont3D font3D = ToxFont3D::fsNormal;
    bool multiLine = false;
    int textAngle = 0;
    int textX = -5;
    int textY = -5;
    ToxPicture pictureUp;
    ToxPicture pictureDown;
    ToxPicture pictureDisabled;
    ToxPicture pictureOver;
    int pictureX = 1;
    int pictureY = 1;
    QPointer<ToxImageList> images;
    int imageIndex = -1;
    ToxbOptions options = ToxbOption::oxbCacheImages;
    ToxButtonType type = ToxButtonType::oxbCommand;
    bool value = false;
    int group = 0;
    bool allowNoSel = false;
    std::uint16_t delay = 200;
    std::uint16_t initDelay = 400;
    TCaptionStrings lines;
    bool grayed = false;
    bool animate = false;
    ToxBorderColors borderColors = ToxBorderColors::oxbWinColor;
    TColor shadowColor = clBtnShadow;
    TColor lightColor = cl3DLight;
    TColor highlightColor = clBtnHighlight;
    TColor btnShadowColor = clBtnShadow;
    TColor dkShadowColor = cl3DDkShadow;
    ToxBorderInset inset;
    ToxBackground background;
    QPointer<QMenu> popupMenu;
    QPointer<QObject> soundClick;
    QPointer<QObject> soundDown;
    QPointer<QObject> soundEnter;
    QPointer<QObject> soundExit;

    ToxVisualState visual = ToxVisualState::Up;
    bool tracking = false;
    bool hot = false;
    bool captured = false; // holds the mouse between a press and its release
    QRect captionRect;
    QRect pictureRect;
    bool defaultLook = false;
    bool focusLook = false;
    QImage imageCache;
    unsigned cacheValid = 0;

    QTimer *repeatTimer = nullptr;
    bool picturesSwapped = false;
    QTimer *animTimer = nullptr;
    ToxPicture *animPicture = nullptr;
    int shortcutId = 0;
    bool constructing = false;
};
