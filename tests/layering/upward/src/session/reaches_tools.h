// Reaches up to a command-line tool: the layering check must refuse it.
#pragma once

#include "tools/runner.h"
