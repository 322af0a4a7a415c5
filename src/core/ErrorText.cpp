#include "ErrorText.h"

namespace kelvory {

std::string InnermostMessage(const std::exception_ptr& failure)
{
    std::string innermost;
    std::exception_ptr current = failure;
    while (current) {
        std::exception_ptr nested;
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            if (e.what() && *e.what()) {
                innermost = e.what();
            }
            if (const auto* holder = dynamic_cast<const std::nested_exception*>(&e)) {
                nested = holder->nested_ptr();
            }
        } catch (...) {
        }
        current = nested;
    }
    return innermost;
}

std::u16string ErrorBoxText(std::u16string message)
{
    if (!message.empty() && message.back() > u'.') {
        message.push_back(u'.');
    }
    return message;
}

} // namespace kelvory
