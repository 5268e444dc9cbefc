// A front end that reaches past the one door: the layering check must refuse it.
#pragma once

#include "session/workbench_internals.h"
