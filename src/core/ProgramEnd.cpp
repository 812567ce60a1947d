#include "core/ProgramEnd.h"

#include <cstdlib>

namespace {

std::function<void()>& handler()
{
    static std::function<void()> h = [] { std::exit(0); };
    return h;
}

}  // namespace

void EndProgramNow()
{
    handler()();
}

std::function<void()> SetProgramEndHandler(std::function<void()> h)
{
    std::swap(handler(), h);
    return h;
}
