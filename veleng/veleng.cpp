#include "veleng/veleng.h"

#include "veleng/answer.h"

extern "C" int Answer(const char* text) {
    return veleng::answerText(text);
}
