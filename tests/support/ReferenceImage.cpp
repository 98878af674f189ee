#include "ReferenceImage.h"

#include <QDir>

testing::AssertionResult MatchesReference(const QImage &image, const QString &referenceDir,
                                          const QString &outputDir, const QString &name)
{
    const QString file = name + QStringLiteral(".png");
    const QString refPath = QDir(referenceDir).filePath(file);
    const QImage actual = image.convertToFormat(QImage::Format_ARGB32);
    if (qEnvironmentVariableIntValue("VELMORA_UPDATE_REFERENCES") == 1) {
        QDir().mkpath(referenceDir);
        if (!actual.save(refPath))
            return testing::AssertionFailure() << "cannot write " << refPath.toStdString();
        return testing::AssertionSuccess();
    }
    QDir().mkpath(outputDir);
    const QImage expected = QImage(refPath).convertToFormat(QImage::Format_ARGB32);
    if (expected.isNull()) {
        actual.save(QDir(outputDir).filePath(file));
        return testing::AssertionFailure() << "no reference " << refPath.toStdString();
    }
    if (expected.size() != actual.size())
        return testing::AssertionFailure()
               << file.toStdString() << ": size " << actual.width() << "x" << actual.height()
               << ", reference " << expected.width() << "x" << expected.height();
    QImage diff(actual.size(), QImage::Format_ARGB32);
    diff.fill(Qt::white);
    int differing = 0;
    QPoint first;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                if (differing++ == 0)
                    first = {x, y};
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
    if (differing == 0)
        return testing::AssertionSuccess();
    actual.save(QDir(outputDir).filePath(name + QStringLiteral(".actual.png")));
    diff.save(QDir(outputDir).filePath(name + QStringLiteral(".diff.png")));
    return testing::AssertionFailure() << file.toStdString() << ": " << differing
                                       << " pixels differ, the first at " << first.x() << ","
                                       << first.y();
}
