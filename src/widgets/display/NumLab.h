#pragma once

#include "gfx/Alignment.h"
#include "gfx/Color.h"
#include "widgets/display/DisplayTypes.h"
#include "gfx/Font.h"
#include "gfx/GraphicControl.h"
#include "widgets/display/NumLabFormat.h"

#include <QMenu>
#include <QString>

#include <memory>

class TCanvas;

// Numeric readout: a caption left of a bevelled value box, the number inside
// it in one of ten display types, a unit text right of it, all on one line.
// A number that does not fit, or is out of an integer type's range, shows the
// overflow indicator; Empty shows the box without a number. Windowless: every
// paint is drawn off-screen and copied in one go.
class TNumLab : public TGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(TColor ColorLabBakG READ ColorLabBakG WRITE setColorLabBakG)
    Q_PROPERTY(TColor ColorLabText READ ColorLabText WRITE setColorLabText)
    Q_PROPERTY(TColor ColorOutBakG READ ColorOutBakG WRITE setColorOutBakG)
    Q_PROPERTY(TColor ColorOutText READ ColorOutText WRITE setColorOutText)
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(bool Comma READ Comma WRITE setComma)
    Q_PROPERTY(TDisplay DisplayType READ DisplayType WRITE setDisplayType)
    Q_PROPERTY(QString DTFormat READ DTFormat WRITE setDTFormat)
    Q_PROPERTY(bool Empty READ Empty WRITE setEmpty)
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE setForcePlusSign)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE setFrameStyle)
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE setLabelWidth)
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE setLeftSpace)
    Q_PROPERTY(QString LeftText READ LeftText WRITE setLeftText)
    Q_PROPERTY(TAlignment LeftTextAlignment READ LeftTextAlignment WRITE setLeftTextAlignment)
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicator WRITE setOverflowIndicator)
    Q_PROPERTY(int Precision READ Precision WRITE setPrecision)
    Q_PROPERTY(QString RightText READ RightText WRITE setRightText)
    Q_PROPERTY(TAlignment RightTextAlignment READ RightTextAlignment WRITE setRightTextAlignment)
    Q_PROPERTY(QString StateText READ StateText WRITE setStateText)
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(TFont Font READ Font WRITE setFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE setParentFont)
    Q_PROPERTY(QString Hint READ Hint WRITE setHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint)
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE setPopupMenu)

public:
    explicit TNumLab(QWidget *parent = nullptr);
    ~TNumLab() override;

    TAlignment Alignment() const;
    TColor ColorLabBakG() const;
    TColor ColorLabText() const;
    TColor ColorOutBakG() const;
    TColor ColorOutText() const;
    TColorScheme ColorScheme() const;
    bool Comma() const;
    TDisplay DisplayType() const;
    QString DTFormat() const;
    bool Empty() const;
    bool ForcePlusSign() const;
    TFrameStyle FrameStyle() const;
    int LabelWidth() const;
    int LeftSpace() const;
    QString LeftText() const;
    TAlignment LeftTextAlignment() const;
    QString OverflowIndicator() const;
    int Precision() const;
    QString RightText() const;
    TAlignment RightTextAlignment() const;
    QString StateText() const;
    double Value() const;
    // Font of all three texts; ParentFont true means the window's font, which
    // in this program is the default TFont.
    TFont Font() const;
    bool ParentFont() const;
    QString Hint() const;
    bool ShowHint() const;
    bool ParentShowHint() const;
    QMenu *PopupMenu() const;

    void setAlignment(TAlignment v);
    void setColorLabBakG(TColor v);
    void setColorLabText(TColor v);
    void setColorOutBakG(TColor v);
    void setColorOutText(TColor v);
    void setColorScheme(TColorScheme v);
    void setComma(bool v);
    void setDisplayType(TDisplay v);
    void setDTFormat(const QString &v);
    void setEmpty(bool v);
    void setForcePlusSign(bool v);
    void setFrameStyle(TFrameStyle v);
    void setLabelWidth(int v);
    // Negative values are ignored; values beyond the width become the width.
    void setLeftSpace(int v);
    void setLeftText(const QString &v);
    void setLeftTextAlignment(TAlignment v);
    void setOverflowIndicator(const QString &v);
    // Negative values are ignored; values above 15 become 15.
    void setPrecision(int v);
    void setRightText(const QString &v);
    void setRightTextAlignment(TAlignment v);
    void setStateText(const QString &v);
    void setValue(double v);
    using QWidget::setFont;
    void setFont(const TFont &v);
    void setParentFont(bool v);
    void setHint(const QString &v);
    void setShowHint(bool v);
    void setParentShowHint(bool v);
    void setPopupMenu(QMenu *menu);

    // Bevel colours picked by ColorScheme, and the fixed black of the bevel.
    TColor SchemeShadowColor() const;
    TColor SchemeHighlightColor() const;
    TColor FrameBlackColor() const;

    // The number text the readout shows now (empty when Empty): after the
    // display type's formatting, the decimal mark, the plus sign and the
    // width test against the box.
    QString ShownText() const;

    // How many times the picture without the number (frame, captions, value
    // box) was drawn; a new value alone reuses the last one.
    int baseRenderCount() const;

    // Copies the look and the value of another readout (not Comma,
    // ForcePlusSign, DTFormat or the font), then repaints once. Any other
    // kind of source cannot be copied: std::invalid_argument.
    void Assign(const QObject *Source);
    void Assign(const TNumLab &Source);
    // Copying this readout into another one uses the other's copy.
    void AssignTo(QObject *Dest) const;

Q_SIGNALS:
    // After every real change of a property, once the new picture is drawn.
    void Changed(QObject *Sender);

protected:
    void paintTo(QImage &img) override;
    void loaded() override;
    void contextMenuEvent(QContextMenuEvent *event) override;

public:
    struct Geometry; // where the parts of the picture go

private:
    // The picture without the number: background, captions, value box.
    void drawBase(TCanvas &c, const Geometry &g) const;
    void changed();

    struct Private;
    std::unique_ptr<Private> d;
};
