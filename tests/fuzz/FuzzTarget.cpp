#include "FuzzTarget.h"

#include <cstdio>
#include <cstdlib>

namespace oxafuzz
{

namespace
{
    std::vector<Target>& registry()
    {
        static std::vector<Target> targets;
        return targets;
    }
}

bool add (const char* name, Entry entry, std::vector<std::string> seeds)
{
    registry().push_back ({ name, entry, std::move (seeds) });
    return true;
}

const std::vector<Target>& all()
{
    return registry();
}

void require (bool condition, const char* what)
{
    if (condition)
        return;

    std::fprintf (stderr, "fuzz target property violated: %s\n", what);
    std::abort();
}

} // namespace oxafuzz
