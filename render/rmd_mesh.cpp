#include "render/rmd_mesh.h"
