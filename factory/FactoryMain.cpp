// oxa_factory <stage folder> <factory data folder> [<catalogue folder>]: makes the
// install folder's data (and the download catalogue folder when it is named).
#include "FactoryStep.h"
#include <juce_events/juce_events.h>
#include <algorithm>
#include <iostream>
#include <vector>

namespace oxafactory
{
namespace
{
    struct Step
    {
        int order;
        const char* name;
        FactoryStepFunction run;
    };

    std::vector<Step>& steps()
    {
        static std::vector<Step> list;
        return list;
    }
} // namespace

FactoryStepRegistration::FactoryStepRegistration (int order, const char* name, FactoryStepFunction run)
{
    steps().push_back ({ order, name, run });
}
} // namespace oxafactory

int main (int argc, char** argv)
{
    using namespace oxafactory;

    if (argc != 3 && argc != 4)
    {
        std::cerr << "usage: oxa_factory <stage folder> <factory data folder> [<catalogue folder>]\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    FactoryContext context;
    context.stage = cwd.getChildFile (argv[1]);
    context.resources = context.stage.getChildFile ("resources");
    context.sources = cwd.getChildFile (argv[2]);
    if (argc == 4)
        context.catalogue = cwd.getChildFile (argv[3]);

    if (! context.resources.createDirectory())
    {
        std::cerr << "oxa_factory: cannot create " << context.resources.getFullPathName() << "\n";
        return 1;
    }

    auto list = steps();
    std::sort (list.begin(), list.end(), [] (const Step& a, const Step& b)
               { return a.order != b.order ? a.order < b.order : juce::String (a.name) < juce::String (b.name); });

    for (const auto& step : list)
    {
        if (! step.run (context))
        {
            std::cerr << "oxa_factory: step \"" << step.name << "\" failed\n";
            return 1;
        }
    }

    return 0;
}
