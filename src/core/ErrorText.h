#pragma once
// The text of the standard error box that reports a failure escaping a handler.
#include <exception>
#include <string>

namespace kelvory {

// The innermost non-empty message of a failure and the failures nested in it
// (std::throw_with_nested), as what() gives it. Failures that are not
// std::exception have none. The text is taken to be UTF-8 and is decoded at one
// point only: where the error box shows it.
std::string InnermostMessage(const std::exception_ptr& failure);

// The message with a period appended when its last character's code lies above
// the period's: "Access denied" gets one, "Done." "Stop!" and "(x)" do not.
std::u16string ErrorBoxText(std::u16string message);

} // namespace kelvory
