#pragma once

#include <juce_core/juce_core.h>

namespace T730
{

/** The file or folder of that name (or relative path) inside the folder. A
    leading "~" is an ordinary character of the name here, never the home folder
    (juce::File::getChildFile reads "~" and "~user" names as home folders). */
inline juce::File childNamed (const juce::File& folder, const juce::String& name)
{
    return folder.getChildFile ("./" + name);
}

/** True for a name that can only mean an entry directly inside a folder: not
    empty, not dots alone ("." and "..", and "..." and longer, which a folder's
    listing never shows), no separator ("/" or "\") or control character, and
    not starting with "~" (which juce::File takes for a home folder). Every name
    that comes from a file (a catalogue key, a picture name, a module library)
    passes this before it becomes a path. */
bool isPlainName (const juce::String& name);

/** The entry of a plain name inside the folder; an empty File for any other name. */
juce::File plainChild (const juce::File& folder, const juce::String& name);

/** Copies a folder's files and subfolders into the target (created when
    missing). Names are joined as plain names ("~" stays a name), and links to
    folders are not followed (a link back up would never end). True when every
    copy worked. */
bool copyFolderRecursively (const juce::File& source, const juce::File& target);

} // namespace T730
