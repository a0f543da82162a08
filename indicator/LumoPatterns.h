#pragma once
// The character tables of the indicator (filled in with the glyph geometry).
#include "LumoTypes.h"
