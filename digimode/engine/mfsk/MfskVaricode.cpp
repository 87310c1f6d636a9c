#include "MfskVaricode.h"
