#include "ui/form/About.h"

#include <QString>

// The help text of the About window. Lines are not wrapped on screen, so they
// are kept short enough for the window's width.
QString AboutHelpText()
{
    return QStringLiteral(R"(Velmora
Radial load and L10 life of the gearbox input-shaft bearing (63/22 deep groove ball bearing)
of a Harwick series light pickup truck, driven in fifth (overdrive) or fourth gear.

BACKGROUND:
The input-shaft bearing carries the separating force of the helical input gear. Owners who
change engine, axle ratio, tyres or load, or who tow and drive fast on long grades, want to
know how much that shortens the bearing's life. This program puts numbers on it.

BASICS:
The engine's torque goes through the gearbox and the rear axle to the wheels. At a steady
speed the force at the wheels equals the resistance to motion: aerodynamic drag, rolling
resistance and the gradient. The torque that the input shaft must carry for that resistance
loads the input gear; the gear's tangential force, turned into a radial force through the
pressure and helix angles, multiplied by the overhang and load factors, is the bearing's
radial load P. The bearing's dynamic load rating C divided by P gives C/P, and the basic
rating life of a ball bearing is (C/P) cubed million revolutions of the input shaft. The
shaft turns at engine speed, so the program converts those revolutions to road distance:
the L10 life, the distance at which one bearing in ten has failed.

WHAT THIS PROGRAM DOES:
Every 50 ms a simulation step moves the engine speed by 10 rpm. The gas pedal sets a target
road speed (0 to 100 mph). While the truck is slower than the target and the force available
at the wheels exceeds the resistance, the engine speed rises; above the target it falls.
Within 1 mph of the target nothing changes. When the force no longer exceeds the resistance
the truck has reached its top speed for the current configuration and the speed readout
turns white on red; lime on black means the truck can hold or gain speed.
After every step the program recomputes road speed, power, torque, resistance, force
available, the percentage of torque unused, the bearing's radial load, C/P and the life.
Boost raises the engine speed by 10 rpm per step whatever the force, until it passes
1000 rpm, and then switches itself off: without it a truck at rest cannot start in fifth.
The 4th and 5th buttons choose the gear. Life is shown in fifth gear only.

ASSUMPTIONS:
- Power and torque are straight lines: from nothing at 600 rpm to the maximum-torque point,
  and from there to the maximum-power point. Above the maximum-power speed (the rev limit)
  the engine gives nothing and the power, torque and force readouts are empty.
- Aerodynamic drag is 0.00256 x frontal area x drag coefficient x speed squared (mph, sq ft,
  lbf); rolling resistance is a fixed force.
- The gradient resistance is sin(gradient) x (unladen weight + load).
- The bearing load comes from the torque needed to overcome the resistance at the current
  speed, not from the engine's full torque: it is the load of steady driving.
- 0.621 converts kilometres to miles. Life is rounded to whole kilometres before display.

USING THE PROGRAM:
Choose the engine, final drive, tyres and body from the lists; change any other value.
Press Boost to get the truck moving, then move the gas pedal to the speed you want and
watch the readouts settle. Changes take effect at the next simulation step. Every value
starts from its default each time the program starts; nothing is saved.

AT CRANKSHAFT:
The engine list gives each engine's maximum power and torque with their engine speeds.
Below it: the engine speed (rpm) and the engine's power (hp) and torque (ft.lb) at that
speed. The rpm dial shows the engine speed on a 0 to 5000 scale.

DRIVE LINE:
transmission loss: the fraction of torque lost between engine and wheels (0.17 = 17 %).
overdrive ratio: the fifth-gear ratio, engine turns per gearbox output turn. A new ratio
  shows at the next recalculation that something else causes.
final drive gear ratio: the rear-axle ratio, with the axle and engine it belongs to.
tyre size: the tyre's outside diameter in inches.

INPUT GEAR:
PitchCircleRad (in): the pitch-circle radius of the input gear in inches.
Pressure Angle and Helix Angle: the gear's angles in degrees.
Bearing Overhang: the factor for the bearing's position relative to the gear.
Load factor: the service factor applied to the bearing load.

RESISTANCE:
Rolling Resistance (lbf): the tyres' rolling resistance as a fixed force.
Frontal Area (sqft) and Drag Coef: the truck's frontal area and drag coefficient.

LOADING:
Unladen Weight (lbs): the body variant and its weight.
Load (lbs): the load carried, 0 to 3000 lb in steps of 50.
Average Gradient: the rise per distance travelled (0.01 = 1 ft per 100 ft), in steps of
  0.001; the arrow keys step it, Page Up and Page Down take bigger steps.

SPEED:
Speed: the road speed, in mph or, with mph unticked, in km/h (kph). Lime on black while the
  truck can hold or gain speed, white on red when it has run out of force. The speed dial
  always shows mph.
Resistance: the total resistance to motion in lbf.
Force Available: the tractive force at the wheels in lbf.

INPUT BEARING:
Dynamic Load Rating (lbf) Cr: the bearing's rating C, read at every step.
Radial Load P: the bearing's radial load in lbf. C/P: the ratio of rating to load.
Life [10%]: the L10 life in thousands of miles, or thousands of km with miles unticked.
In fourth gear the three bearing readouts are empty.

OTHER STUFF:
Percentage Torque Unused: how much of the engine's torque at this speed is left over after
overcoming the resistance; 0 when the truck cannot go faster.
Gas Pedal: the target speed in mph, 0 to 100.
Boost: starts the truck in fifth gear; it releases itself above 1000 rpm.
4th and 5th: the gear; 5th is the overdrive.
Close this window with the X at the top right.

KEYBOARD:
Tab and Shift+Tab move to the next and the previous control.
In the edits, Enter and Down move to the next field and Up to the previous one; Esc undoes
  the typing in the field and Ctrl+N empties it.
In Load and Average Gradient, Up and Down step the value, PgUp and PgDn add or take away the
  page step, and Ctrl+PgUp and Ctrl+PgDn go to the ends of the range.
Alt+B presses Boost.
Ctrl+C copies every result and every input as text, one per line: caption, value and unit
  separated by tabs, ready to paste into a spreadsheet. In an edit with selected text Ctrl+C
  copies just that text.
A right click on the window's background opens its menu: Copy results, New truck,
  Open truck, Save truck, Save truck as, Life map, Duty cycle, Import route, Save report
  and Quit.
Ctrl+O opens a truck file, Ctrl+S saves the truck to its file, Ctrl+Shift+S saves it under
  another name, Ctrl+L shows the life map, Ctrl+D the duty cycle, Ctrl+I imports a recorded
  drive (a GPX track) as the duty cycle, Ctrl+P saves a PDF report of the running truck and
  Ctrl+Q closes the window. Before unsaved changes would be lost the window asks whether to
  save them.
Resting the mouse on a control shows what it means, its unit and its range.
)");
}
