// The machine's keyboard: the number the input dialog accepted last.
#pragma once

#include <cstdint>
#include <string>

namespace quarzel {

struct NumberInput {
    std::int32_t InputValue = 0;  // 0 until the first accepted number

    // The dialog's OK: converts the field's text with the number text conversion and stores
    // it. A text that does not convert raises the conversion error and leaves InputValue.
    void btOKClick(const std::string& text);
};

}  // namespace quarzel
