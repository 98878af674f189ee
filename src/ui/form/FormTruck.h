#pragma once

#include "analysis/Truck.h"

class TForm1;

// The window's inputs as a truck and back.

// What the window computes with now: the rows the model loaded (the list's
// selected row, not one found back from the value) and the inputs as the
// model holds them, the load rating, the gear and the two unit boxes. The
// duty list is left empty.
TTruck TruckOfForm(TForm1 &form);

// Puts every value into its control and runs that control's handler, as
// typing it would; sets the recalc flag. The engine keeps its speed. The
// truck must be valid (a row outside its table raises EIBError).
void ApplyTruckToForm(TForm1 &form, const TTruck &truck);
