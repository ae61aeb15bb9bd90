#include "BootScreenModel.h"
