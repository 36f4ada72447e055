#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The record interface of every stored document record: values are the texts
    of child elements, written and read in the record's fixed order.

    No data members and no virtual destructor: records are destroyed through
    their own types. */
class UserData
{
public:
    /** Fills the record from the children of the given element (which may be null). */
    virtual bool read (const juce::XmlElement* element) = 0;

    /** Appends the record's values as children of the given element. */
    virtual bool write (juce::XmlElement* element) = 0;

protected:
    ~UserData() = default;
};

} // namespace T730
