#pragma once

// Pictures a test stores as the truth: a render must match its reference PNG
// pixel for pixel. Run a test binary with VELMORA_UPDATE_REFERENCES=1 to
// write the references anew (then look at them before committing). On a
// mismatch the render and a map of the differing pixels (red) are written to
// `outputDir`, beside the name.

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

testing::AssertionResult MatchesReference(const QImage &image, const QString &referenceDir,
                                          const QString &outputDir, const QString &name);
