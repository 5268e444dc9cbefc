// A front end that includes another one: the layering check must refuse it.
#pragma once

#include "tools/grade_command.h"
