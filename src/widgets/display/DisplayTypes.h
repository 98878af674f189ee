#pragma once

// Enumerations shared by the dial gauge and the numeric readout.

enum class TColorScheme { csBWG, csSystem };

enum class TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

enum class TBkgFill { bfSimple, bfStretch, bfTile };
