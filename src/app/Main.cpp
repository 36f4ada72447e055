// Entry point of oxa-tools; the application object lives in oxa_core.
#include "app/JUCEHelloWorldApplication.h"

START_JUCE_APPLICATION (JUCEHelloWorldApplication)
