#include "ErrorText.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvory {
namespace {

TEST(ErrorBoxText, AppendsAPeriodOnlyAfterCharactersAboveThePeriod)
{
    const struct {
        std::u16string message;
        std::u16string text;
    } cases[] = {
        {u"Access denied", u"Access denied."},
        {u"Error 5", u"Error 5."},
        {u"Done.", u"Done."},
        {u"Stop!", u"Stop!"},
        {u"(code 5)", u"(code 5)"},
        {u"a-", u"a-"},         // '-' lies just below '.'
        {u"a/", u"a/."},        // '/' lies just above it
        {u"\u0424\u0430\u0439\u043b", u"\u0424\u0430\u0439\u043b."},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.text);
    }
}

std::exception_ptr Capture(auto&& raise)
{
    try {
        raise();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

TEST(InnermostMessage, TakesTheInnermostNonEmptyMessage)
{
    EXPECT_EQ(InnermostMessage(Capture([] { throw std::runtime_error("plain"); })), "plain");

    EXPECT_EQ(InnermostMessage(Capture([] {
                  try {
                      throw std::runtime_error("inner");
                  } catch (...) {
                      std::throw_with_nested(std::runtime_error("outer"));
                  }
              })),
              "inner");

    EXPECT_EQ(InnermostMessage(Capture([] {
                  try {
                      throw std::runtime_error("");
                  } catch (...) {
                      std::throw_with_nested(std::runtime_error("outer"));
                  }
              })),
              "outer");

    EXPECT_EQ(InnermostMessage(Capture([] { throw 42; })), "");
    EXPECT_EQ(InnermostMessage(nullptr), "");
}

} // namespace
} // namespace kelvory
