#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** Replaces a file's content without ever leaving a damaged file behind: the
    data goes to a temporary file beside the target, every write is checked,
    the data is flushed and synced, and only then renamed over the target.
    On any failure the target is untouched, the temporary file is removed and
    false is returned. Every document writer of the program goes through here. */
bool replaceFileContent (const juce::File& target, const void* data, size_t size);

/** The same for text, stored as UTF-8 without a byte order mark. */
bool replaceFileText (const juce::File& target, const juce::String& text);

/** Writes an element as a document (with the UTF-8 declaration) through replaceFileContent. */
bool writeXmlDocument (const juce::File& target, const juce::XmlElement& root);

} // namespace T730
