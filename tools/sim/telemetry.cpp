#include "tools/sim/telemetry.h"

#include "vehicle/car.h"

#include <cmath>

namespace {

void putDouble(FILE* out, double v) { std::fprintf(out, ",%.17g", v); }
void putFloat(FILE* out, float v) { std::fprintf(out, ",%.9g", double(v)); }

}  // namespace

void writeTelemetryHeader(FILE* out, bool withDelta) {
  std::fputs("tick,x,y,z,vx,vy,vz,kmh,rpm,rpm_avg,gear,clutch,throttle,foot_brake,steer_out,boost", out);
  const char* perWheel[] = {"load", "grip", "susp", "surface"};
  for (const char* name : perWheel)
    for (int w = 0; w < 4; ++w) std::fprintf(out, ",%s%d", name, w);
  std::fputs(",lap,lap_time,distance", out);
  if (withDelta) std::fputs(",delta", out);
  std::fputs("\n", out);
}

void writeTelemetryRow(FILE* out, long long tick, const PhCar& car, const LapPosition& lap, const double* delta) {
  const BodyState& s = car.current;
  std::fprintf(out, "%lld", tick);
  putDouble(out, s.position.x);
  putDouble(out, s.position.y);
  putDouble(out, s.position.z);
  putDouble(out, s.velocity.x);
  putDouble(out, s.velocity.y);
  putDouble(out, s.velocity.z);
  putDouble(out, kmh(s.velocity));
  putFloat(out, car.rpm);
  putFloat(out, car.rpmAverage);
  std::fprintf(out, ",%d", int(car.gear));
  putFloat(out, car.clutch);
  putFloat(out, car.throttle);
  putFloat(out, car.footBrake);
  putFloat(out, car.tick.steerAngleOut);
  putFloat(out, car.boost);
  for (const CarWheel& w : car.wheels) putFloat(out, w.load);
  for (const CarWheel& w : car.wheels) putFloat(out, w.gripRatio);
  for (const CarWheel& w : car.wheels) putFloat(out, w.suspensionLength);
  for (const CarWheel& w : car.wheels) std::fprintf(out, ",%d", int(w.surface));
  std::fprintf(out, ",%d", lap.lap);
  putFloat(out, lap.lapTime);
  putDouble(out, lap.distance);
  if (delta != nullptr) {
    if (std::isnan(*delta))
      std::fputs(",nan", out);
    else
      putDouble(out, *delta);
  }
  std::fputs("\n", out);
}
