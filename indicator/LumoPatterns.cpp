#include "LumoPatterns.h"
