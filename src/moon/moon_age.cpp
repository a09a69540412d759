#include "moon/moon_age.h"
