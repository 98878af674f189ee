#pragma once

#include "gfx/Alignment.h"
#include "gfx/Color.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

// Which side of the attached control the label sits on.
enum class TESBLabelAttachType { elaLeft, elaTop, elaRight, elaBottom };
// Horizontal alignment along the control, used with elaTop / elaBottom.
enum class TESBLabelAttachAlignH { elhLeft, elhCenter, elhRight };
// Vertical alignment along the control, used with elaLeft / elaRight.
enum class TESBLabelAttachAlignV { elvTop, elvCenter, elvBottom };
enum class TESBLabelStyle { elsNormal, elsRaised, elsSunken };
// Vertical placement of the caption in the label.
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// Where a label of size labelSize goes, in the parent's client coordinates,
// when it is attached to a control occupying `control`.
QPoint ESBAttachedLabelPos(const QRect &control, QSize labelSize, TESBLabelAttachType type,
                           TESBLabelAttachAlignH alignH, TESBLabelAttachAlignV alignV, int marginH,
                           int marginV);

// A static caption that keeps itself beside another control: whenever that
// control moves or is resized, or the label's own size changes, the label
// repositions itself. Attaching also makes the control the label's
// FocusControl, which the caption's accelerator ("&x") focuses.
class TESBCustomLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QWidget *AttachToControl READ AttachToControl WRITE setAttachToControl)
    Q_PROPERTY(TESBLabelAttachType AttachType READ AttachType WRITE setAttachType)
    Q_PROPERTY(TESBLabelAttachAlignH AttachAlignH READ AttachAlignH WRITE setAttachAlignH)
    Q_PROPERTY(TESBLabelAttachAlignV AttachAlignV READ AttachAlignV WRITE setAttachAlignV)
    Q_PROPERTY(int AttachMarginH READ AttachMarginH WRITE setAttachMarginH)
    Q_PROPERTY(int AttachMarginV READ AttachMarginV WRITE setAttachMarginV)
    Q_PROPERTY(TESBLabelStyle LabelStyle READ LabelStyle WRITE setLabelStyle)
    Q_PROPERTY(bool HotTrack READ HotTrack WRITE setHotTrack)
    Q_PROPERTY(bool HotUnderline READ HotUnderline WRITE setHotUnderline)
    Q_PROPERTY(TColor HotColor READ HotColor WRITE setHotColor)
    Q_PROPERTY(QString Version READ Version CONSTANT)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(TTextLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(QWidget *FocusControl READ FocusControl WRITE setFocusControl)
    Q_PROPERTY(TColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)
    Q_PROPERTY(TColor FontColor READ FontColor WRITE setFontColor)

  public:
    explicit TESBCustomLabel(QWidget *parent = nullptr);
    ~TESBCustomLabel() override;

    QWidget *AttachToControl() const;
    void setAttachToControl(QWidget *control);
    TESBLabelAttachType AttachType() const;
    void setAttachType(TESBLabelAttachType type);
    // Writing an alignment resets the margin along that axis to 0.
    TESBLabelAttachAlignH AttachAlignH() const;
    void setAttachAlignH(TESBLabelAttachAlignH align);
    TESBLabelAttachAlignV AttachAlignV() const;
    void setAttachAlignV(TESBLabelAttachAlignV align);
    int AttachMarginH() const;
    void setAttachMarginH(int margin);
    int AttachMarginV() const;
    void setAttachMarginV(int margin);

    TESBLabelStyle LabelStyle() const;
    void setLabelStyle(TESBLabelStyle style);
    bool HotTrack() const;
    void setHotTrack(bool on);
    bool HotUnderline() const;
    void setHotUnderline(bool on);
    TColor HotColor() const;
    void setHotColor(TColor color);
    bool MouseInside() const;
    static QString Version();

    // The platform label's part.
    QString Caption() const;
    void setCaption(const QString &caption);
    bool AutoSize() const;
    void setAutoSize(bool on);
    TAlignment Alignment() const;
    void setAlignment(TAlignment align);
    TTextLayout Layout() const;
    void setLayout(TTextLayout layout);
    bool WordWrap() const;
    void setWordWrap(bool on);
    bool ShowAccelChar() const;
    void setShowAccelChar(bool on);
    bool Transparent() const;
    void setTransparent(bool on);
    QWidget *FocusControl() const;
    void setFocusControl(QWidget *control);
    // The background; writing it clears ParentColor, which otherwise lets the
    // parent's colour show through.
    TColor Color() const;
    void setColor(TColor color);
    bool ParentColor() const;
    void setParentColor(bool on);
    TColor FontColor() const;
    void setFontColor(TColor color);

    // Moves the label beside its control; nothing when detached.
    void Reposition();
    // The size auto-size gives the current caption in the current font.
    QSize measuredSize() const;
    // The label's picture (background and caption) as painted on screen.
    QImage renderImage() const;

    QSize sizeHint() const override;

  Q_SIGNALS:
    void OnMouseEnter(QObject *Sender);
    void OnMouseExit(QObject *Sender);
    void OnClick(QObject *Sender);
    void OnDblClick(QObject *Sender);
    void OnMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                     int Y);
    void OnMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseUp(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                   int Y);

  protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

  private:
    void paintCaption(QPainter &p) const;
    void adjustBounds();
    void updateAccelerator();
    void controlDestroyed(QObject *control);

    struct Private;
    std::unique_ptr<Private> d;
};

// The label as the windows use it; all behaviour lives in TESBCustomLabel.
class TESBPCSLabel : public TESBCustomLabel
{
    Q_OBJECT
  public:
    explicit TESBPCSLabel(QWidget *parent = nullptr);
    ~TESBPCSLabel() override;
};
