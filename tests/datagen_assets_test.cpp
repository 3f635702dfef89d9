#include "tools/datagen/generator.h"

#include <gtest/gtest.h>
