#include "model/DriveModel.h"
#include "model/EIBError.h"

#include <cstddef>

namespace
{

// The row for a list index, or EIBError with `message` before anything changes.
template <typename Table>
const typename Table::value_type &Row(const Table &table, int index, const char *message)
{
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        throw EIBError(message);
    return table[static_cast<std::size_t>(index)];
}

} // namespace

void TDriveModel::SelectEngine(int index)
{
    Engine = Row(VehicleTables::Engines(), index, "non enumerated engine type");
    RecalcFlag = true;
}

void TDriveModel::SelectFinalDrive(int index)
{
    FinalDriveRatio =
        Row(VehicleTables::FinalDriveRatios(), index, "non enumerated final drive ratio");
    RecalcFlag = true;
}

void TDriveModel::SelectTyreSize(int index)
{
    TyreDiameter = Row(VehicleTables::TyreDiameters(), index, "non enumerated tyre size");
    RecalcFlag = true;
}

void TDriveModel::SelectKerbWeight(int index)
{
    UnladenWeight =
        Row(VehicleTables::KerbWeights(), index, "non enumerated kerb weight encountered");
    RecalcFlag = true;
}

void TDriveModel::SimulationStep()
{
    if (BoostFlag) {
        // Boost pushes the engine up regardless of target and force.
        EngineRpm += RpmStep;
        if (EngineRpm > BoostEndRpm) {
            if (m_owner)
                m_owner->SwitchBoostOff();
            BoostFlag = false;
        }
        Refresh();
        return;
    }

    if (RecalcFlag) {
        // After a change the engine falls until the force holds the resistance;
        // the flag stays set so the next tick checks again.
        Refresh();
        if (!ForceHolds()) {
            EngineRpm -= RpmStep;
            if (EngineRpm < 0)
                EngineRpm = 0;
            return;
        }
    } else if (TargetSpeed - DeadBand < RoadSpeed && RoadSpeed < TargetSpeed + DeadBand) {
        return; // cruising inside the dead band: nothing to do
    }

    if (RoadSpeed < TargetSpeed && ForceExceeds()) {
        EngineRpm += RpmStep;
    } else if (RoadSpeed > TargetSpeed) {
        EngineRpm -= RpmStep;
        if (EngineRpm < 0)
            EngineRpm = 0;
    }
    Refresh();
    RecalcFlag = false;
}

bool TDriveModel::ForceHolds() const
{
    // Above the rev limit the force is -2, no force at all: it holds nothing,
    // even against the negative resistance of a sine past pi.
    return ForceAvailable >= 0 && ForceAvailable >= Resistance;
}

bool TDriveModel::ForceExceeds() const
{
    return ForceAvailable >= 0 && ForceAvailable > Resistance;
}

void TDriveModel::Refresh()
{
    RoadSpeed = RpmToSpeed(EngineRpm);
    Power = PowerAt(EngineRpm);
    Torque = TorqueAt(EngineRpm);
    Resistance = GradientResistance(Gradient) + RoadLoadAt(EngineRpm);
    ForceAvailable = ForceAvailableAt(EngineRpm);
    RadialLoad = RadialLoadFor(InputTorqueDemand());

    if (m_owner) {
        m_owner->ShowSpeed();
        m_owner->ShowPower();
        m_owner->ShowTorque();
        m_owner->ShowResistance();
        m_owner->ShowForceAvailable();
    }
    // The life is computed here, so a model without a window has it too; in
    // fourth gear it keeps its last value.
    if (Gear == TGear::Fifth)
        ComputeBearingLife(m_owner ? m_owner->LoadRating() : DefaultLoadRating);
    if (m_owner) {
        m_owner->ShowBearing();
        m_owner->ShowRpm();
        m_owner->ShowTorqueUnused();
    }
}
