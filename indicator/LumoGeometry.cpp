#include "LumoGeometry.h"
