#pragma once
// The line engine in one include: the port object, the message rules, the framing with its
// hand-off, and the line log.
#include "line/LineEngine.h"
#include "line/LineLog.h"
#include "line/Port.h"
#include "line/Protocol.h"
