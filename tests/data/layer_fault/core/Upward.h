// A core header that reaches into a layer above it: the layer check must refuse it.
#pragma once

#include "files/WordReader.h"
