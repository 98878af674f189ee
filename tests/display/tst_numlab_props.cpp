#include "widgets/display/NumLab.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>

TEST(NumLabProps, ConstructorDefaults)
{
    TNumLab n;
    EXPECT_EQ(n.size(), QSize(160, 28));
    EXPECT_EQ(n.Alignment(), TAlignment::taCenter);
    EXPECT_EQ(n.ColorLabBakG(), clBtnFace);
    EXPECT_EQ(n.ColorLabText(), clBlack);
    EXPECT_EQ(n.ColorOutBakG(), clBtnFace);
    EXPECT_EQ(n.ColorOutText(), clBlack);
    EXPECT_EQ(n.ColorScheme(), TColorScheme::csBWG);
    EXPECT_FALSE(n.Comma());
    EXPECT_EQ(n.DisplayType(), TDisplay::dtFixP);
    EXPECT_EQ(n.DTFormat(), "mmm-dd, yyyy");
    EXPECT_FALSE(n.Empty());
    EXPECT_FALSE(n.ForcePlusSign());
    EXPECT_EQ(n.FrameStyle(), TFrameStyle::fsLowered);
    EXPECT_EQ(n.LabelWidth(), 80);
    EXPECT_EQ(n.LeftSpace(), 35);
    EXPECT_EQ(n.LeftText(), "");
    EXPECT_EQ(n.LeftTextAlignment(), TAlignment::taRightJustify);
    EXPECT_EQ(n.OverflowIndicator(), "*********");
    EXPECT_EQ(n.Precision(), 2);
    EXPECT_EQ(n.RightText(), "");
    EXPECT_EQ(n.RightTextAlignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(n.StateText(), "undefined");
    EXPECT_EQ(n.Value(), 0.0);
    EXPECT_EQ(n.SchemeShadowColor(), clGray);
    EXPECT_EQ(n.SchemeHighlightColor(), clWhite);
    EXPECT_EQ(n.FrameBlackColor(), clBlack);
    EXPECT_TRUE(n.ParentFont());
    EXPECT_EQ(n.Font(), TFont());
}

// Every plain setter: stores, renders once on a change, not at all for the
// value it already has.
TEST(NumLabProps, SettersRepaintOnlyOnARealChange)
{
    TNumLab n;
    struct Case
    {
        const char *name;
        std::function<void()> set;
        std::function<bool()> stored;
    };
    const TFont bold(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold);
    const std::vector<Case> cases = {
        {"Alignment", [&] { n.setAlignment(TAlignment::taLeftJustify); }, [&] { return n.Alignment() == TAlignment::taLeftJustify; }},
        {"ColorLabBakG", [&] { n.setColorLabBakG(clBlack); }, [&] { return n.ColorLabBakG() == clBlack; }},
        {"ColorLabText", [&] { n.setColorLabText(clYellow); }, [&] { return n.ColorLabText() == clYellow; }},
        {"ColorOutBakG", [&] { n.setColorOutBakG(clSilver); }, [&] { return n.ColorOutBakG() == clSilver; }},
        {"ColorOutText", [&] { n.setColorOutText(clNavy); }, [&] { return n.ColorOutText() == clNavy; }},
        {"ColorScheme", [&] { n.setColorScheme(TColorScheme::csSystem); }, [&] { return n.ColorScheme() == TColorScheme::csSystem; }},
        {"Comma", [&] { n.setComma(true); }, [&] { return n.Comma(); }},
        {"DisplayType", [&] { n.setDisplayType(TDisplay::dtHex); }, [&] { return n.DisplayType() == TDisplay::dtHex; }},
        {"DTFormat", [&] { n.setDTFormat(QStringLiteral("yyyy")); }, [&] { return n.DTFormat() == "yyyy"; }},
        {"Empty", [&] { n.setEmpty(true); }, [&] { return n.Empty(); }},
        {"ForcePlusSign", [&] { n.setForcePlusSign(true); }, [&] { return n.ForcePlusSign(); }},
        {"FrameStyle", [&] { n.setFrameStyle(TFrameStyle::fsRaised); }, [&] { return n.FrameStyle() == TFrameStyle::fsRaised; }},
        {"LabelWidth", [&] { n.setLabelWidth(60); }, [&] { return n.LabelWidth() == 60; }},
        {"LeftSpace", [&] { n.setLeftSpace(50); }, [&] { return n.LeftSpace() == 50; }},
        {"LeftText", [&] { n.setLeftText(QStringLiteral("Power")); }, [&] { return n.LeftText() == "Power"; }},
        {"LeftTextAlignment", [&] { n.setLeftTextAlignment(TAlignment::taCenter); }, [&] { return n.LeftTextAlignment() == TAlignment::taCenter; }},
        {"OverflowIndicator", [&] { n.setOverflowIndicator(QStringLiteral("##")); }, [&] { return n.OverflowIndicator() == "##"; }},
        {"Precision", [&] { n.setPrecision(4); }, [&] { return n.Precision() == 4; }},
        {"RightText", [&] { n.setRightText(QStringLiteral("hp")); }, [&] { return n.RightText() == "hp"; }},
        {"RightTextAlignment", [&] { n.setRightTextAlignment(TAlignment::taRightJustify); }, [&] { return n.RightTextAlignment() == TAlignment::taRightJustify; }},
        {"StateText", [&] { n.setStateText(QStringLiteral("idle")); }, [&] { return n.StateText() == "idle"; }},
        {"Value", [&] { n.setValue(61.34); }, [&] { return n.Value() == 61.34; }},
        {"Font", [&] { n.setFont(bold); }, [&] { return n.Font() == bold && !n.ParentFont(); }},
    };
    for (const Case &c : cases) {
        const int before = n.renderCount();
        c.set();
        EXPECT_TRUE(c.stored()) << c.name;
        EXPECT_EQ(n.renderCount(), before + 1) << c.name;
        c.set();
        EXPECT_EQ(n.renderCount(), before + 1) << c.name << " repainted for the same value";
    }
}

TEST(NumLabProps, PrecisionIsClampedAndNegativeIgnored)
{
    TNumLab n;
    n.setPrecision(-1);
    EXPECT_EQ(n.Precision(), 2);
    n.setPrecision(40);
    EXPECT_EQ(n.Precision(), 15);
    const int renders = n.renderCount();
    n.setPrecision(16); // becomes 15 again: nothing to do
    EXPECT_EQ(n.renderCount(), renders);
    n.setPrecision(0);
    EXPECT_EQ(n.Precision(), 0);
}

TEST(NumLabProps, LeftSpaceStaysWithinTheWidth)
{
    TNumLab n;
    n.resize(120, 17);
    n.setLeftSpace(500);
    EXPECT_EQ(n.LeftSpace(), 120);
    n.setLeftSpace(-3);
    EXPECT_EQ(n.LeftSpace(), 120);
    const int renders = n.renderCount();
    n.setLeftSpace(121);
    EXPECT_EQ(n.renderCount(), renders);
    n.setLeftSpace(0);
    EXPECT_EQ(n.LeftSpace(), 0);
}

TEST(NumLabProps, ColorSchemePicksTheBevelColours)
{
    TNumLab n;
    n.setColorScheme(TColorScheme::csSystem);
    EXPECT_EQ(n.SchemeShadowColor(), clBtnShadow);
    EXPECT_EQ(n.SchemeHighlightColor(), clBtnHighlight);
    n.setColorScheme(TColorScheme::csBWG);
    EXPECT_EQ(n.SchemeShadowColor(), clGray);
    EXPECT_EQ(n.SchemeHighlightColor(), clWhite);
}

TEST(NumLabProps, NaNOverNaNIsNoChange)
{
    TNumLab n;
    n.setValue(std::numeric_limits<double>::quiet_NaN());
    const int renders = n.renderCount();
    n.setValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(n.renderCount(), renders);
}

TEST(NumLabProps, LoadingStoresWithoutPaintingUntilLoaded)
{
    TNumLab n;
    n.beginLoading();
    n.setValue(12.5);
    n.setLeftText(QStringLiteral("Speed"));
    n.setPrecision(1);
    EXPECT_EQ(n.renderCount(), 0);
    EXPECT_EQ(n.Value(), 12.5);
    n.Loaded();
    EXPECT_EQ(n.renderCount(), 1);
    EXPECT_EQ(n.ShownText(), "12.5");
}

TEST(NumLabProps, CopyTakesTheListedFieldsOnly)
{
    TNumLab src;
    src.resize(200, 20);
    src.setLeftSpace(60);
    src.setEmpty(true);
    src.setLabelWidth(70);
    src.setPrecision(3);
    src.setLeftText(QStringLiteral("Life"));
    src.setRightText(QStringLiteral("kms"));
    src.setFrameStyle(TFrameStyle::fsEngraved);
    src.setAlignment(TAlignment::taRightJustify);
    src.setRightTextAlignment(TAlignment::taCenter);
    src.setLeftTextAlignment(TAlignment::taLeftJustify);
    src.setOverflowIndicator(QStringLiteral("!"));
    src.setValue(9.5);
    src.setStateText(QStringLiteral("x"));
    src.setColorLabBakG(clBlack);
    src.setColorLabText(clYellow);
    src.setColorOutBakG(clWhite);
    src.setColorOutText(clRed);
    src.setColorScheme(TColorScheme::csSystem);
    src.setDisplayType(TDisplay::dtInt);
    src.setComma(true);
    src.setForcePlusSign(true);
    src.setDTFormat(QStringLiteral("yy"));
    src.setFont(TFont(QStringLiteral("MS Sans Serif"), -13, TFontStyle::fsBold));

    TNumLab dst;
    const int renders = dst.renderCount();
    dst.Assign(&src);
    EXPECT_EQ(dst.renderCount(), renders + 1);
    EXPECT_EQ(dst.LeftSpace(), 60);
    EXPECT_TRUE(dst.Empty());
    EXPECT_EQ(dst.LabelWidth(), 70);
    EXPECT_EQ(dst.Precision(), 3);
    EXPECT_EQ(dst.LeftText(), "Life");
    EXPECT_EQ(dst.RightText(), "kms");
    EXPECT_EQ(dst.FrameStyle(), TFrameStyle::fsEngraved);
    EXPECT_EQ(dst.Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(dst.RightTextAlignment(), TAlignment::taCenter);
    EXPECT_EQ(dst.LeftTextAlignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(dst.OverflowIndicator(), "!");
    EXPECT_EQ(dst.Value(), 9.5);
    EXPECT_EQ(dst.StateText(), "x");
    EXPECT_EQ(dst.ColorLabBakG(), clBlack);
    EXPECT_EQ(dst.ColorLabText(), clYellow);
    EXPECT_EQ(dst.ColorOutBakG(), clWhite);
    EXPECT_EQ(dst.ColorOutText(), clRed);
    EXPECT_EQ(dst.ColorScheme(), TColorScheme::csSystem);
    EXPECT_EQ(dst.SchemeShadowColor(), clBtnShadow);
    EXPECT_EQ(dst.DisplayType(), TDisplay::dtInt);
    // Not copied:
    EXPECT_FALSE(dst.Comma());
    EXPECT_FALSE(dst.ForcePlusSign());
    EXPECT_EQ(dst.DTFormat(), "mmm-dd, yyyy");
    EXPECT_EQ(dst.Font(), TFont());

    TNumLab third;
    src.AssignTo(&third);
    EXPECT_EQ(third.LeftText(), "Life");

    QObject other;
    EXPECT_THROW(dst.Assign(&other), std::invalid_argument);
    EXPECT_THROW(src.AssignTo(&other), std::invalid_argument);
    EXPECT_THROW(dst.Assign(static_cast<const QObject *>(nullptr)), std::invalid_argument);
}

TEST(NumLabProps, HintsAndMouseEvents)
{
    TNumLab n;
    n.setHint(QStringLiteral("engine power"));
    EXPECT_TRUE(n.toolTip().isEmpty());
    n.setShowHint(true);
    EXPECT_EQ(n.toolTip(), "engine power");

    QSignalSpy clicks(&n, &TNumLab::OnClick);
    QSignalSpy downs(&n, &TNumLab::OnMouseDown);
    QSignalSpy ups(&n, &TNumLab::OnMouseUp);
    QTest::mouseClick(&n, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(3).toInt(), 10);
    EXPECT_EQ(downs.at(0).at(4).toInt(), 5);
    EXPECT_EQ(ups.count(), 1);
    QSignalSpy dbl(&n, &TNumLab::OnDblClick);
    QTest::mouseDClick(&n, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    EXPECT_EQ(dbl.count(), 1);
}
