// Looks a text up with arbitrary placeholders and arguments.
//
// Input: the value, then up to four arguments, separated by the byte 0. Arguments are kept
// short, since each one may carry placeholders of the later ones and so multiply the text.
#include "l10n/l10n.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t end = rest.find('\0');
        pieces.push_back(rest.substr(0, end));
        if (end == std::string_view::npos || pieces.size() == 5) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    const std::string value(pieces[0].substr(0, 512));
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        arguments.emplace_back(pieces[i].substr(0, 12));
    }

    const TextTable table = {{"k", value}, {"", ""}};
    const std::string result = lookupText(table, "k", arguments);
    check(!result.empty());
    if (value.empty() && arguments.empty()) {
        check(result == "<k>");
    }
    if (arguments.empty() && !value.empty()) {
        check(result == value);
    }
    // Without placeholders in value and arguments every argument is added at the end.
    if (value.find('{') == std::string::npos && !arguments.empty()) {
        bool plain = true;
        std::string expected = value;
        for (const std::string& argument : arguments) {
            plain = plain && argument.find('{') == std::string::npos;
            expected += argument;
        }
        if (plain && !expected.empty()) {
            check(result == expected);
        }
    }

    std::vector<std::string> parts;
    splitAtText(value, pieces.size() > 1 ? pieces[1] : "{0}", parts);
    check(parts.size() >= 2);
    std::vector<std::string> fixed(3);
    splitAtChar(value, "=", fixed);
    check(fixed.size() == 3 && fixed[0].size() + fixed[1].size() + fixed[2].size() <= value.size());
    return 0;
}
