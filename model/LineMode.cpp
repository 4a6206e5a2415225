#include "model/LineMode.h"

std::atomic<int> LineMode{LineModeMaster};
