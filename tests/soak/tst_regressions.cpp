// Inputs the fuzz targets once failed on, kept so the faults stay fixed.

#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSNumFormat.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

// A thousands separator set to no character means no grouping: live
// grouping used to insert NUL characters that no parse removed, so the text
// read as 0.
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
