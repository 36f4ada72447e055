#include "documents/EditBuf.h"

#include "documents/XmlPath.h"

#include <algorithm>

namespace T730
{

EditBuf::EditBuf()
{
    reset();
}

EditBuf::EditBuf (const EditBuf& other)
{
    const juce::ScopedLock sl (other.lock);
    std::copy (std::begin (other.params), std::end (other.params), std::begin (params));
    name = other.name;
}

EditBuf& EditBuf::operator= (const EditBuf& other)
{
    if (this == &other)
        return *this;

    // Source first, then destination: the one lock order of the program.
    const juce::ScopedLock sourceLock (other.lock);
    const juce::ScopedLock ownLock (lock);
    std::copy (std::begin (other.params), std::end (other.params), std::begin (params));
    name = other.name;
    return *this;
}

void EditBuf::reset()
{
    const juce::ScopedLock sl (lock);
    std::fill (std::begin (params), std::end (params), 0);
    name = "No Name";

    params[0 * paramsPerModule + 2] = 39;
    params[2 * paramsPerModule + 3] = 20;
    params[3 * paramsPerModule + 2] = 18;
    params[3 * paramsPerModule + 3] = 18;
    params[3 * paramsPerModule + 4] = 18;
    params[5 * paramsPerModule + 3] = 24;
    params[6 * paramsPerModule + 3] = 49;
    params[7 * paramsPerModule + 3] = 9;
}

int EditBuf::getParam (int module, int param) const noexcept
{
    return isValidPosition (module, param) ? params[module * paramsPerModule + param] : 0;
}

void EditBuf::setParam (int module, int param, int value) noexcept
{
    if (isValidPosition (module, param))
        params[module * paramsPerModule + param] = value;
}

bool EditBuf::sameContentAs (const EditBuf& other) const
{
    const juce::ScopedLock sourceLock (other.lock);
    const juce::ScopedLock ownLock (lock);
    return name == other.name && std::equal (std::begin (params), std::end (params), std::begin (other.params));
}

bool EditBuf::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    const juce::ScopedLock sl (lock);

    // AssignTarget is read first; the module 8 element, read later, wins when
    // both are present. When only AssignTarget is there, its value is kept
    // rather than dropped to 0.
    const int assignTarget = getElementInt (element, "AssignTarget", 0);

    for (int m = 0; m < numModules; ++m)
        for (int p = 0; p < paramsPerModule; ++p)
        {
            const bool isAssign = m == assignTargetModule && p == assignTargetParam;
            params[m * paramsPerModule + p]
                = getElementInt (element, "Module" + juce::String (m) + "/Prm" + juce::String (p),
                                 isAssign ? assignTarget : 0);
        }

    return true;
}

bool EditBuf::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    const juce::ScopedLock sl (lock);

    addTextChild (element, "AssignTarget",
                  juce::String (params[assignTargetModule * paramsPerModule + assignTargetParam]));

    for (int m = 0; m < numModules; ++m)
    {
        auto* module = element->createNewChildElement ("Module" + juce::String (m));

        for (int p = 0; p < paramsPerModule; ++p)
            addTextChild (module, "Prm" + juce::String (p), juce::String (params[m * paramsPerModule + p]));
    }

    return true;
}

} // namespace T730
