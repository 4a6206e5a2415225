#pragma once
// Binds the catalogue rows a frame unit serves to its class (factory and decoders); the list of
// frame units that do so is frames/Registration.h.
#include <initializer_list>

#include "model/Catalogue.h"

// Binds the rows served by one frame class.
void BindRows(std::initializer_list<int> rows, TCreateFrame create, TDescribeMessage describeRequest,
              TDescribeMessage describeAnswer);
