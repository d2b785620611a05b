#include "json_budget.h"

namespace qtx::cli {

size_t CountJsonValues(std::string_view text)
{
    size_t values = 1;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == ',' || c == '[' || c == '{') {
            ++values;
        }
    }
    return values;
}

} // namespace qtx::cli
