#pragma once

// Shared by the window and widget benchmarks: the program's application
// object on the offscreen platform, peak memory, and a real main window whose
// ticks the benchmark sends itself.

#include <QString>

#include <cstdint>

class TForm1;

// Creates the application (offscreen unless a platform is chosen) once.
void BenchApplication(int &argc, char **argv);

// Peak resident memory of this process so far, in MiB (VmHWM).
double PeakMemoryMiB();

// Renders of every self-painting control of the window so far.
long long RenderCount(TForm1 &form);

// One timer tick through the window's timer, as the event loop delivers it.
// The timer is given a long interval so that it never fires on its own.
void SendTick(TForm1 &form);

// Processes posted events until the window has painted once.
void WaitForFirstPaint(TForm1 &form);
