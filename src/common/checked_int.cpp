#include "common/checked_int.h"

#include "common/system_error.h"

namespace quarzel {

void throwIntegerOverflow() {
    throw integerOverflow();
}

}  // namespace quarzel
