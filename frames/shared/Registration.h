#pragma once
// Binds every catalogue row to its frame class (factory and decoders), once at start-up,
// before any thread exists. Tests may rebind single rows afterwards with BindFrameClass.
#include <initializer_list>

#include "model/Catalogue.h"

void RegisterFrameClasses();

// Binds the rows served by one frame class.
void BindRows(std::initializer_list<int> rows, TCreateFrame create, TDescribeMessage describeRequest,
              TDescribeMessage describeAnswer);
