#include "physics/body.h"

#include <cassert>
#include <initializer_list>

PhBody::PhBody() {
  for (BodyState* s : {&current, &previous, &drawn}) {
    s->orientation = identityMat4();
    s->angularStep = identityMat4();
  }
}

void integrateRigidBody(PhBody& body) {
  assert(body.mass > 0.0f && "body mass must be set before the first tick");
  // Torque is summed as force x lever arm, so the body turns by the negative angle.
  Vec3 axis = body.torque;
  normalizeGuarded(axis);
  double magnitude = length(body.torque);
  float inertia = body.InertiaAbout(axis);
  float angle = float(-(magnitude / double(inertia)));
  Mat4 turn = axisAngleMat4(axis, angle);

  body.SavePrevious();

  BodyState& s = body.current;
  s.velocity += body.force * (1.0 / double(body.mass));
  s.position += s.velocity;
  rotateBy(s.angularStep, turn);
  rotateBy(s.orientation, s.angularStep);
  reorthogonalize(s.angularStep);
  normalizeRows(s.angularStep);
  reorthogonalize(s.orientation);
  normalizeRows(s.orientation);
}

void saveBodyState(PhBody& body) { body.previous = body.current; }

void interpolateBodyPose(PhBody& body, float alpha) {
  float beta = 1.0f - alpha;
  body.drawn.position = body.current.position * double(alpha) + body.previous.position * double(beta);
  body.drawn.orientation = body.previous.orientation;
  blendToward(body.drawn.orientation, body.current.orientation, alpha);
}
