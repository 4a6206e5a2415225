#pragma once
// The scheme model in one include: catalogue, schemes, ring buffer, helpers, files.
#include "model/Catalogue.h"
#include "model/Helpers.h"
#include "model/LineMode.h"
#include "model/RoundBuffer.h"
#include "model/Scheme.h"
#include "model/SchemeFiles.h"
