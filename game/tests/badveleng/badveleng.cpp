// An outside engine that answers badly, for the tests of the game's engine turn. Its answers
// follow the number of calls made so far: column 4 four times (black fills column 4 with
// white's help), then column 4 again when it is full, then 0, 8, -3, 99 and the smallest
// int, then column 2 for every later call. A call text that is not "c" + moves + "0" gets
// column 5, which the test watches for.
#include <climits>
#include <cstring>

namespace {

constexpr int SCRIPT[] = {4, 4, 4, 4, 0, 8, -3, 99, INT_MIN};
constexpr int SCRIPT_LENGTH = sizeof(SCRIPT) / sizeof(SCRIPT[0]);
constexpr int AFTER_SCRIPT = 2;
constexpr int MALFORMED = 5;

int calls = 0;

bool wellFormed(const char* text) {
    const std::size_t length = std::strlen(text);
    if (length < 2 || text[0] != 'c' || text[length - 1] != '0') {
        return false;
    }
    for (std::size_t i = 1; i + 1 < length; ++i) {
        if (text[i] < '1' || text[i] > '7') {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int Answer(const char* text) {
    if (text == nullptr || !wellFormed(text)) {
        return MALFORMED;
    }
    const int call = calls++;
    return call < SCRIPT_LENGTH ? SCRIPT[call] : AFTER_SCRIPT;
}
