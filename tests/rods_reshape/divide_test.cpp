#include "tests/rods_reshape/reshape_kit.h"
