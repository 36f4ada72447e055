#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The characters a tool set name may hold: digits, letters a-z and A-Z, the
    space and ! # $ % & ' ( ) + , - . ; = @ [ ] ^ _ ` { } ~ */
const juce::String& allowedNameCharacters();

/** The text with every other character dropped. */
juce::String keepAllowedNameCharacters (const juce::String& text);

} // namespace T730
