#pragma once

#include "tools/datagen/image.h"

// The desktop icon at `size` x `size` pixels: a rounded square holding a road that
// runs from the foreground to the horizon, with the rally car seen from behind on it.
// Outside the rounded corners the picture is transparent.
Image drawIcon(int size);
