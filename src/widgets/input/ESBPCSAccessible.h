#pragma once

#include <QString>

class QWidget;
class TESBCustomLabel;

// What assistive technology (screen readers) learns about the input widgets:
// an edit or spin edit is named by the caption attached to it and names that
// caption as its label; the caption is static text labelling its control.

// The caption attached to `control`, or, for the editor inside a compound
// control (a spin edit), the caption of that compound control; nullptr when
// neither has one.
TESBCustomLabel *AttachedCaption(const QWidget *control);

// A caption as a name is spoken: the accelerator marks taken out ("&&" stays
// one "&") and runs of blanks made one.
QString PlainCaption(const QString &caption);

// Registers the accessibility interfaces of the input widgets and of every
// drop-down list (once; the input widgets call it themselves when they are
// created, a window with lists and no input widget calls it before showing).
void InstallInputAccessibility();
