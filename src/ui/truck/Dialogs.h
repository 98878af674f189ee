#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

// The questions the program asks the user, behind one seam so that tests can
// answer them: a file to open or save, a problem to show, and whether to save
// changes that would otherwise be lost.
struct TDialogs {
    // (parent, caption, folder, filter, saving) -> the chosen path, "" when cancelled.
    using FileDialog =
        std::function<QString(QWidget *, const QString &, const QString &, const QString &, bool)>;
    // (parent, text)
    using ProblemBox = std::function<void(QWidget *, const QString &)>;
    // (parent, text) -> Save, Discard or Cancel
    using SaveQuestion = std::function<QMessageBox::StandardButton(QWidget *, const QString &)>;

    FileDialog AskFile;
    ProblemBox ShowProblem;
    SaveQuestion AskSave;

    // The desktop's file dialog, a warning box and the standard
    // Save / Discard / Cancel box.
    static TDialogs Standard();
};

// The suffix a filter entry offers first ("SVG drawing (*.svg)" -> "svg"); "" when none.
QString FilterSuffix(const QString &filterEntry);
// A save dialog gives a name typed without a suffix the suffix of the filter
// the user has chosen, following each change of filter.
void FollowFilterSuffix(QFileDialog &dialog);

// The folder a file was last opened from or saved to (the home folder before
// that), remembered in the settings; nothing else about files is kept.
QString LastFolder();
void RememberFolder(const QString &filePath);
// Asks through `dialogs` in the last folder and remembers the folder of the answer.
QString AskFileInLastFolder(const TDialogs &dialogs, QWidget *parent, const QString &caption,
                            const QString &filter, bool saving);
