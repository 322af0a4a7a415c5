#include "Startup.h"

#include <algorithm>

namespace kelvory {

std::u16string ApplicationTitle(std::u16string_view modulePath, const LowerCaseFunction& lowerCase)
{
    std::u16string_view name = modulePath;
    if (const auto slash = name.rfind(u'\\'); slash != std::u16string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    if (const auto period = name.find(u'.'); period != std::u16string_view::npos) {
        name = name.substr(0, period);
    }
    std::u16string title(name);
    if (title.size() > 1) {
        std::u16string rest = title.substr(1);
        lowerCase(rest);
        title.replace(1, std::u16string::npos, rest);
    }
    return title;
}

Point CentredPosition(Size workArea, Point virtualScreenOrigin, Size window)
{
    // C++ division truncates toward zero, which is the rule for a window wider
    // than the work area too.
    const int left = (workArea.width - window.width) / 2;
    const int top = (workArea.height - window.height) / 2;
    return {std::max(left, virtualScreenOrigin.x), std::max(top, virtualScreenOrigin.y)};
}

FirstShow FirstShowFor(int startShowCommand)
{
    switch (startShowCommand) {
    case kShowMaximized:
        return FirstShow::Maximized;
    case kShowMinNoActive:
        return FirstShow::Minimized;
    default:
        return FirstShow::Normal;
    }
}

} // namespace kelvory
