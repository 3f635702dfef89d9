#pragma once

#include "physics/body.h"
#include "physics/mat4.h"
#include "physics/vec3.h"

#include <cstdint>

class InputDevice;

// Units: metres, kilograms, radians and ticks of 1/75 s. Velocities are metres per
// tick, forces kg*m/tick^2, engine speed revolutions per minute.

// One recorded tick: the controls that reached the wheels plus where the body was.
// 80 bytes, the same in memory and in the replay file (little-endian).
struct ReplayFrame {
  float throttle;
  float steerAngle;      // the angle given to the front wheels
  float brakes[4];       // per wheel, 0..1
  int32_t shiftRequest;  // -1 down, 0 none, +1 up
  int32_t reserved;      // written as 0
  double position[3];    // m
  double velocity[3];    // m/tick
};
static_assert(sizeof(ReplayFrame) == 80, "a replay frame is 80 bytes on disk");

// The parts of a wheel that are saved before each tick and interpolated for drawing.
struct WheelPose {
  Vec3 hub;
  Mat4 matrix;
  float spin;
  float steerAngle;
  float suspensionLength;
};

struct CarWheel {
  Vec3 hub;                // wheel centre, world; the skid marks and drawing read it
  Mat4 matrix;             // drawing rotation, identity from construction
  float spin;              // rad, rolling angle for drawing
  float steerAngle;        // rad, about the body's y axis
  float suspensionLength;  // m, mount down to the wheel centre along the body's -y
  WheelPose previous;      // as it stood at the start of the tick
  WheelPose drawn;         // interpolated for the frame being drawn
  Vec3 mount;              // body-local top of the suspension
  float suspensionSpeed;   // m/tick, change of suspensionLength in the last tick with contact

  // Constants of the wheel, set by reset.
  float maxLength;   // m, full extension
  float springRate;  // kg/tick^2 (67,500 N/m)
  float damperRate;  // kg/tick (6,000 N*s/m)
  float radius;      // m, contact search radius

  float brake;              // 0..1 this tick
  float surfaceSpeed;       // m/tick along the rolling direction, + toward the body's +z
  float speedHistory[5];    // last five surfaceSpeed values, oldest first
  float gripRatio;          // 1 while the tyre holds, the allowed fraction while sliding, 0 unloaded
  float lateralRatio;       // delivered fraction of the sideways demand
  float longitudinalRatio;  // delivered fraction of the rolling-direction demand
  float load;               // kg*m/tick^2, suspension force this tick
  float bumpPhase;          // 0..256, position in the noise table on rough ground
  int32_t surface;          // material group of the last contact, 0 without contact
};

// Wheel order: 0 rear left, 1 rear right, 2 front left, 3 front right.
enum WheelIndex { kRearLeft = 0, kRearRight = 1, kFrontLeft = 2, kFrontRight = 3 };

// Values that live for one step only; kept after the step for telemetry and tests.
struct CarTick {
  float assist;         // rad, counter-steer angle
  float steerAngleOut;  // rad, angle given to the front wheels
  float feedback;       // force-feedback value, -1..1 once finished
  int32_t shiftRequest; // -1, 0, +1
  Vec3 contactPoint[4];   // world
  Vec3 contactNormal[4];  // world
  float suspensionForce[4];
  double totalLoad;     // sum of the four suspension forces
  float meanSpeed[4];   // mean of each wheel's speed history
  double axle;          // split-weighted rear tread speed of this tick's pass
};

// Fixed parameters of the car.
constexpr float kCarMass = 1200.0f;                       // kg
constexpr float kInertiaFactor = 1.2f;                    // inertia = mass * 1.2 about any axis
constexpr double kGravityPerTick = 0.00174222222995013;   // 9.8 / 75^2 held as a float
constexpr float kMaxLength = 0.42f;                       // m
constexpr float kSpringRate = 12.0f;
constexpr float kDamperRate = 80.0f;
constexpr float kWheelRadius = 0.271f;                    // m
constexpr float kMountX = 0.75f;                          // m
constexpr float kMountZ = 1.17f;                          // m
constexpr float kRpmToDriveSpeed = -3e-05f;               // drive speed per rpm per unit ratio
constexpr double kKmhPerMetrePerTick = 269.9999928474426; // 75 * 3.6
constexpr int kReplayCapacity = 50000;                    // 11 min 6.67 s of ticks
constexpr int kRpmHistoryLength = 14;
constexpr int kSpeedHistoryLength = 5;

// Driver controls (keyboard scan codes and controller codes).
constexpr int kKeyClutch = 0x2E;
constexpr int kKeyThrottle = 0xC8;
constexpr int kKeyBrake = 0xD0;
constexpr int kKeyRight = 0xCD;
constexpr int kKeyLeft = 0xCB;
constexpr int kKeyHandbrake = 0x39;
constexpr int kKeyShiftUp = 0x1F;
constexpr int kKeyShiftDown = 0x1E;
constexpr int kPadRight = 256;
constexpr int kPadLeft = 257;
constexpr int kPadBrake = 260;
constexpr int kPadThrottle = 262;
constexpr int kPadHandbrake = 263;
constexpr int kPadShiftDown = 264;
constexpr int kPadShiftUp = 265;

// The player's car: a rigid body on four wheels with suspension, tyres, a
// five-speed engine with turbo, a rear differential and a replay recorder.
// About 4 MB (the replay buffer is inside): allocate it on the heap.
class PhCar : public PhBody {
 public:
  // Builds the noise table from the shared generator (which it then reseeds) and
  // resets. The creator sets the body's pose, `world` and `input`.
  PhCar();
  // Logs the largest downforce seen and saves the replay when recording.
  ~PhCar() override;
  PhCar(const PhCar&) = delete;
  PhCar& operator=(const PhCar&) = delete;

  void Step() override;
  void Integrate() override;
  void SavePrevious() override;
  void InterpolateForDrawing(float alpha) override;
  float InertiaAbout(const Vec3& axis) const override;

  // Puts every control, the engine and the wheels back to their start values;
  // leaves the body's motion, turbo, autoGearbox, the shake phases and the replay.
  void reset();

  InputDevice* input = nullptr;
  CarWheel wheels[4];

  // Driver controls.
  bool boostActive;
  float blowOff;    // blow-off strength for the turbo hiss; the sound sets it back to 0
  float boost;      // 0..20
  float footBrake;  // 0..1
  float steer;      // rad
  float steerRate;  // rad/tick
  bool turbo;
  bool autoGearbox;

  // Engine and drivetrain.
  float maxDownforce;  // largest downforce so far, kg*m/tick^2
  float throttle;      // 0..1
  float rpmHistory[kRpmHistoryLength];  // oldest first
  float rpmAverage;    // what the tachometer and the sounds show
  float rpmRate;       // rpm per tick
  float rpm;
  float engineDamping;
  float engineInertia;
  float engineFriction;
  int32_t revLimited;  // latched above 8000 rpm until below 7600
  float clutch;        // 0 open .. 1 engaged
  int32_t gear;        // 1..5
  int32_t shiftTimer;  // tick of the running change, 0 when none
  int32_t shiftDeclutchTicks;
  int32_t shiftEngageTicks;
  int32_t shiftDirection;
  int32_t shiftHold;   // ticks the automatic downshift waits after an upshift
  float gearRatios[6];
  float driveSpeed;    // m/tick, rear axle tread speed, negative driving forward
  float driveSpeedPrevious;
  float diffSplit;     // share of the drive speed given to the rear-left wheel
  float shakePhaseA;
  float shakePhaseB;

  // Replay.
  ReplayFrame replayFrames[kReplayCapacity];
  int32_t replayCount;
  int32_t replayCursor;
  bool replayPlaying;
  bool replayRecording;
  const char* replayPath = "replay.vlr";  // where the recording is saved at destruction

  CarTick tick;
};

// Speed in km/h of a velocity in metres per tick.
inline double kmh(const Vec3& v) { return length(v) * kKmhPerMetrePerTick; }
