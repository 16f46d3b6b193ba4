#pragma once
// The facts of the simulator's panel system that the modules, the panel host
// and the tests share, named once: the simulation-variable tokens the modules
// look up, the named variables they pass each other, the key events they
// send, the sound files they load (generated from host/sounds.cmake) and the
// unit factors. Constants only, so module code can use it.
#include <cstdint>

#include "frame/sound_files.h"

namespace facts {

// Simulation-variable tokens, as the host's lookup service knows them.
namespace token {
inline constexpr uint32_t kClockTicks = 1;            // host ticks (18 a second)
inline constexpr uint32_t kGroundElevation = 2;       // metres x 256
inline constexpr uint32_t kDisplayVariant = 10;       // 1 selects the radar altimeter's set A
inline constexpr uint32_t kGlideslopeDeviation = 41;  // below -59: below the glideslope
inline constexpr uint32_t kOnGround = 60;             // 1.0 on the ground
inline constexpr uint32_t kVerticalSpeed = 65;        // ft/min, negative descending
inline constexpr uint32_t kAltitude = 73;             // metres
inline constexpr uint32_t kClimbAltitude = 74;        // in kAltitudeUnits
inline constexpr uint32_t kPhase = 77;                // > 0 approach, < 0 departure
inline constexpr uint32_t kGroundTest = 103;          // with on ground: the radar altimeter's test
inline constexpr uint32_t kRadaltOffFlag = 279;       // 32-bit integer: keeps the OFF flag in view
inline constexpr uint32_t kFlaps = 329;               // 0 up .. 16383 down
inline constexpr uint32_t kGear = 332;                // 0 up .. 16383 down
inline constexpr uint32_t kAltitudeUnits = 335;       // 2.0: climb altitude in metres
inline constexpr uint32_t kTimeSeconds = 604;
inline constexpr uint32_t kTerrainHeight = 614;  // metres above the terrain
// The cabin sound triggers, one per channel of cabsound.gau.
inline constexpr uint32_t kSound1 = 632;
inline constexpr uint32_t kSound2 = 651;
inline constexpr uint32_t kSound3 = 670;
inline constexpr uint32_t kSound4 = 689;
inline constexpr uint32_t kPower = 773;  // GPWS and radar altimeter power: exactly 1.0 when on
}  // namespace token

// Named variables: the GPWS registers them, the radar altimeter links and
// writes them (radalt_adi belongs to the attitude indicator).
// (Pointers to literals, so a module carries each name once, as a literal.)
inline constexpr const char* kVarDhGpws = "dh_gpws";
inline constexpr const char* kVarRadaltGpws = "radalt_gpws";  // 1 while the DH is reached
inline constexpr const char* kVarRadaltAdi = "radalt_adi";    // the height the ADI shows
inline constexpr uint32_t kNamedVariableType = 19;            // 32-bit integer storage

// Key events the modules send.
inline constexpr uint32_t kKeyGroundTest = 65580;  // the radar altimeter's ground test
inline constexpr uint32_t kKeyDhReached = 65814;
inline constexpr uint32_t kKeyCabinSound1 = 66359;  // one per cabsound channel, in order
inline constexpr uint32_t kKeyCabinSound2 = 66360;
inline constexpr uint32_t kKeyCabinSound3 = 66361;
inline constexpr uint32_t kKeyCabinSound4 = 66362;

// Units. The GPWS's height above ground uses the exact feet per metre; its
// terrain closure, climb altitude and the host's displays use the rounded one.
inline constexpr double kHeightFeetPerMetre = 3.28083989501312;
inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kGroundElevationScale = 256.0;  // served per metre

}  // namespace facts
