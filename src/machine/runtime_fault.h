// A run-time error of the machine ("Division durch Null", "Stack-Overflow", ...). VM_Step
// catches it, stops the run and shows the text in the "Laufzeitfehler" box.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace quarzel {

class RuntimeFault : public std::exception {
public:
    explicit RuntimeFault(std::string text) : m_text(std::move(text)) {}
    const std::string& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};

}  // namespace quarzel
