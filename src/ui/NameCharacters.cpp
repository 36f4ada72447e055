#include "ui/NameCharacters.h"

namespace T730
{

const juce::String& allowedNameCharacters()
{
    static const juce::String characters (
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&'()+,-.;=@[]^_`{}~ ");
    return characters;
}

juce::String keepAllowedNameCharacters (const juce::String& text)
{
    return text.retainCharacters (allowedNameCharacters());
}

} // namespace T730
