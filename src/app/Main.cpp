// Entry point of oxa-tools; the application object lives in oxa_core.
#include <juce_gui_basics/juce_gui_basics.h>

class OxaBootstrap final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "OXA Tools"; }
    const juce::String getApplicationVersion() override { return OXA_VERSION_STRING; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}
};

START_JUCE_APPLICATION (OxaBootstrap)
