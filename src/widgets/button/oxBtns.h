#pragma once

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/GraphicControl.h"
#include "widgets/button/oxBackground.h"
#include "widgets/button/oxBtnTypes.h"
#include "widgets/button/oxPicture.h"

#include <QFlags>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QMenu;
class ToxCustomGraphicButton;

// Margins between the control's edge and its face; negative sides become 0.
struct ToxBorderInset
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    bool operator==(const ToxBorderInset &) const = default;
};

// The caption seen as a list of lines ("||" separates them). Holds no text
// of its own: every read splits the caption, every change writes it back.
class TCaptionStrings
{
public:
    explicit TCaptionStrings(ToxCustomGraphicButton *button) : m_button(button) {}
    QStringList Strings() const;
    int Count() const { return int(Strings().size()); }
    QString operator[](int i) const { return Strings().value(i); }
    void Put(int i, const QString &s);
    void Insert(int i, const QString &s);
    void Add(const QString &s) { Insert(Count(), s); }
    void Delete(int i);
    void Clear();
    void Assign(const QStringList &lines);

private:
    ToxCustomGraphicButton *m_button;
};

// The owner-drawn push / toggle / repeat / menu / combo button. Windowless:
// it renders each face into an off-screen image and keeps up to seven faces
// in a cache until something that changes the look happens.
class ToxCustomGraphicButton : public TGraphicControl
{
    Q_OBJECT
public:
    explicit ToxCustomGraphicButton(QWidget *parent = nullptr);
    ~ToxCustomGraphicButton() override;

    // ---- properties ----
    ToxBtnStyle Style() const;
    void setStyle(ToxBtnStyle s);
    ToxBtnStyle ResolvedStyle() const;
    QString Caption() const;
    void setCaption(const QString &c);
    TColor Color() const;
    void setColor(TColor c);
    bool ParentColor() const;
    void setParentColor(bool p);
    const TFont &Font() const;
    void setFont(const TFont &f);
    using QWidget::setFont;
    bool ParentFont() const;
    void setParentFont(bool p);
    ToxFont3D Font3D() const;
    void setFont3D(ToxFont3D f);
    bool MultiLine() const;
    void setMultiLine(bool m);
    int TextAngle() const;
    void setTextAngle(int degrees); // clamped to 0..360
    int TextX() const;
    void setTextX(int x);
    int TextY() const;
    void setTextY(int y);
    ToxPicture &PictureUp();
    ToxPicture &PictureDown();
    ToxPicture &PictureDisabled();
    ToxPicture &PictureOver();
    int PictureX() const;
    void setPictureX(int x);
    int PictureY() const;
    void setPictureY(int y);
    ToxImageList *Images() const;
    void setImages(ToxImageList *list);
    int ImageIndex() const;
    void setImageIndex(int i);
    ToxbOptions Options() const;
    void setOptions(ToxbOptions o);
    ToxButtonType ButtonType() const;
    void setButtonType(ToxButtonType t);
    bool Value() const;
    void setValue(bool v);
    int Group() const;
    void setGroup(int g);
    bool GroupAllowNoSel() const;
    void setGroupAllowNoSel(bool a);
    std::uint16_t Delay() const;
    void setDelay(std::uint16_t ms);
    std::uint16_t InitDelay() const;
    void setInitDelay(std::uint16_t ms);
    TCaptionStrings &Lines();
    bool Grayed() const;
    void setGrayed(bool g);
    bool Animate() const;
    void setAnimate(bool a);
    ToxBorderColors BorderColors() const;
    void setBorderColors(ToxBorderColors b);
    TColor ShadowColor() const;
    void setShadowColor(TColor c);
    TColor BtnLightColor() const;
    void setBtnLightColor(TColor c);
    TColor BtnHighlightColor() const;
    void setBtnHighlightColor(TColor c);
    TColor BtnShadowColor() const;
    void setBtnShadowColor(TColor c);
    TColor BtnDkShadowColor() const;
    void setBtnDkShadowColor(TColor c);
    ToxBorderInset BorderInset() const;
    void setBorderInset(const ToxBorderInset &inset);
    ToxBackground &Background();
    QMenu *PopupMenu() const;
    void setPopupMenu(QMenu *menu);

    // Sound links. A component must implement IoxSound; otherwise
    // std::invalid_argument is thrown and the old link stays.
    QObject *SoundClick_Component() const;
    void setSoundClick_Component(QObject *c);
    QObject *SoundDown_Component() const;
    void setSoundDown_Component(QObject *c);
    QObject *SoundEnter_Component() const;
    void setSoundEnter_Component(QObject *c);
    QObject *SoundExit_Component() const;
    void setSoundExit_Component(QObject *c);

    // ---- state ----
    ToxVisualState VisualState() const;
    bool Tracking() const;
    bool Hot() const;
    QRect CaptionRect() const;
    QRect PictureRect() const;
    bool DefaultLook() const;
    bool FocusLook() const;
    virtual void SetDefaultLook(bool d);
    // One bit per cached face (slots 0..6).
    unsigned CacheValid() const;
    const QImage &ImageCache() const;

    // ---- operations ----
    // Background.Color, or the parent's colour shaded when it is a shade colour.
    TColor EffectiveBackgroundColor() const;
    // A shade colour applied to the effective background; others unchanged.
    TColor ResolveColor(TColor c) const;
    bool HitTest(int x, int y) const;
    void ResolveStyle();
    void InvalidateFace();
    void Toggle();
    void Click();
    // The accelerator character; true when it was consumed.
    bool DialogChar(QChar ch);
    // Paint one face into img (the button's own size).
    void PaintFace(QImage &img);

Q_SIGNALS:
    // OnClick and the mouse press/move/release signals come from TGraphicControl;
    // the button fires them in the order of its own gesture.
    void OnChange(QObject *Sender);
    void OnMouseEnter(QObject *Sender);
    void OnMouseLeave(QObject *Sender);

protected:
    void paintTo(QImage &img) override;
    void loaded() override;
    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;

    // The message handlers, callable by the event overrides and tests alike.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseEnter();
    void MouseLeave();
    void DoChange();
    // The group notice sent by a latched sibling.
    void GroupNotice(int group, ToxCustomGraphicButton *sender);

private:
    friend class TCaptionStrings;
    struct Private;
    std::unique_ptr<Private> d;

    void notifyGroup();
    void colorChanged();
    void recomputeBorderColors();
    void setHot(bool hot);
    bool lookDependsOnHot() const;
    void playSound(QObject *link);
    void repeatTick();
    // Stops the repeat timer and deletes it once control is back in the event loop.
    void dropRepeatTimer();
    void animationTick();
    void updateAnimation();
    void showMenu(bool arrow);
    void setSoundLink(QPointer<QObject> &slot, QObject *c);
    void setCustomColor(TColor &slot, TColor c);
    void refreshParentColor();
    void updateShortcut();
    void resizeCache();
    QPoint pointerPos() const;
};

// The published button: every property above, nothing new.
class ToxGraphicButton : public ToxCustomGraphicButton
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(ToxBtnStyle Style READ Style WRITE setStyle)
    Q_PROPERTY(ToxFont3D Font3D READ Font3D WRITE setFont3D)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE setMultiLine)
    Q_PROPERTY(int TextAngle READ TextAngle WRITE setTextAngle)
    Q_PROPERTY(int TextX READ TextX WRITE setTextX)
    Q_PROPERTY(int TextY READ TextY WRITE setTextY)
    Q_PROPERTY(int PictureX READ PictureX WRITE setPictureX)
    Q_PROPERTY(int PictureY READ PictureY WRITE setPictureY)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE setImageIndex)
    Q_PROPERTY(ToxButtonType ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(int Group READ Group WRITE setGroup)
    Q_PROPERTY(bool GroupAllowNoSel READ GroupAllowNoSel WRITE setGroupAllowNoSel)
    Q_PROPERTY(bool Grayed READ Grayed WRITE setGrayed)
    Q_PROPERTY(bool Animate READ Animate WRITE setAnimate)
    Q_PROPERTY(ToxBorderColors BorderColors READ BorderColors WRITE setBorderColors)
    Q_PROPERTY(quint32 ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(quint32 BtnLightColor READ BtnLightColor WRITE setBtnLightColor)
    Q_PROPERTY(quint32 BtnHighlightColor READ BtnHighlightColor WRITE setBtnHighlightColor)
    Q_PROPERTY(quint32 BtnShadowColor READ BtnShadowColor WRITE setBtnShadowColor)
    Q_PROPERTY(quint32 BtnDkShadowColor READ BtnDkShadowColor WRITE setBtnDkShadowColor)
public:
    using ToxCustomGraphicButton::ToxCustomGraphicButton;
};
