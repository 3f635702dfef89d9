#include "physics/body.h"

#include <initializer_list>

PhBody::PhBody() {
  for (BodyState* s : {&current, &previous, &drawn}) {
    s->orientation = identityMat4();
    s->angularStep = identityMat4();
  }
}

void integrateRigidBody(PhBody&) {}
void saveBodyState(PhBody&) {}
void interpolateBodyPose(PhBody&, float) {}
