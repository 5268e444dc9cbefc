// An include without its folder, which the layering check could not place.
#pragma once

#include "task_file.h"
