#pragma once

#include <QString>

class QAccessibleInterface;
class QComboBox;

// A drop-down list's name for a screen reader: its accessible name when one
// is set, else the caption attached to it, else the text of the label whose
// buddy it is (accelerator marks taken out); empty when nothing names it.
QString ComboName(const QComboBox &combo);

// The list as a screen reader sees it: a combo box named as above (never by
// the entry it shows), labelled by its caption, whose value is the entry
// shown; its children are the popup list and, when editable, the edit field.
QAccessibleInterface *NewComboAccessible(QComboBox *combo);
