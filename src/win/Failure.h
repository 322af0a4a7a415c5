#pragma once
// A failure with a fixed message, kept as the pointer it was given: the
// standard exception types copy their text into a narrow string of their own
// and bring that string type's whole implementation into the program.
#include <exception>

namespace kelvory {

class Failure : public std::exception {
public:
    // message must outlive the failure: a string literal.
    explicit Failure(const char* message) noexcept : m_message(message) {}
    const char* what() const noexcept override { return m_message; }

private:
    const char* m_message;
};

} // namespace kelvory
