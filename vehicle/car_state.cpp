#include "vehicle/car_state.h"

#include <cstring>

namespace {

struct Assign {
  template <class T>
  void operator()(T& to, const T& from) const {
    to = from;
  }
};

}  // namespace

CarState captureCarState(const PhCar& car) {
  CarState state;
  // Zeroed first so that the wheels' drawn copies, which are not captured, hold
  // no stray bytes.
  std::memset(static_cast<void*>(&state), 0, sizeof(state));
  visitCarState(state, car, Assign());
  return state;
}

void applyCarState(const CarState& state, PhCar& car) {
  visitCarState(car, state, Assign());
  car.drawn = car.current;
  for (CarWheel& w : car.wheels)
    w.drawn = {w.hub, w.matrix, w.spin, w.steerAngle, w.suspensionLength};
}
