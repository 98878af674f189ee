#pragma once

// What a running model needs from whoever owns it (the main window, the
// command-line tool, a test): the display routines, called by Refresh in the
// order declared here, the current load rating and a way to end boost.
class IDriveModelOwner
{
  public:
    virtual ~IDriveModelOwner() = default;
    virtual void ShowSpeed() = 0;
    virtual void ShowPower() = 0;
    virtual void ShowTorque() = 0;
    virtual void ShowResistance() = 0;
    virtual void ShowForceAvailable() = 0;
    virtual void ShowBearing() = 0;
    virtual void ShowRpm() = 0;
    virtual void ShowTorqueUnused() = 0;
    virtual double LoadRating() = 0;   // current C in lbf, read when the bearing step runs
    virtual void SwitchBoostOff() = 0; // the window sets the boost button's Value false
};
