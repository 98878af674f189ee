// Inputs the fuzz targets once failed on, kept so the faults stay fixed.

#include "ESBPCSNumEdit.h"
#include "ESBPCSNumFormat.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

const TESBSeparators kNoThousands{QLatin1Char('.'), QChar()};

} // namespace

// A thousands separator set to no character means no grouping: grouping
// used to insert NUL characters that no parse removed, turning the text
// into something that read as 0.
TEST(NullThousandsSeparator, GroupsNothing)
{
    EXPECT_EQ(ESBRegroupText(QStringLiteral("1234567.891"), kNoThousands),
              QStringLiteral("1234567.891"));
    EXPECT_EQ(ESBFormatInt64(-1234567, true, QChar()), QStringLiteral("-1234567"));
    EXPECT_EQ(ESBFormatFloat(1234567.5L, 1, true, kNoThousands), QStringLiteral("1234567.5"));
}

TEST(NullThousandsSeparator, LiveGroupingKeepsTheValue)
{
    TESBPosFloatEdit edit;
    edit.setCustomSeparators(true);
    edit.setCustomDecimal(QLatin1Char('.'));
    edit.setCustomThousands(QChar());
    edit.setThousandSeparators(TESBSeparatorStyle::essAuto);
    edit.setText(QStringLiteral("1234567"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    QCoreApplication::sendEvent(&edit, &release);
    EXPECT_EQ(edit.text(), QStringLiteral("1234567"));
    EXPECT_EQ(edit.AsFloat(), 1234567.0L);
}
