#include "rhythm/Song.h"

#include "documents/SafeFileWriter.h"
#include "documents/XmlPath.h"

namespace T730
{

bool SongEv::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    Type = getElementInt (element, "Type", 0);
    Position = getElementInt (element, "Position", 0);
    Prm = getElementText (element, "Prm");
    return true;
}

bool SongEv::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "Type", juce::String (Type));
    addTextChild (element, "Position", juce::String (Position));
    addTextChild (element, "Prm", Prm);
    return true;
}

//==============================================================================
void Song::reset()
{
    *this = Song();
}

bool Song::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    const auto path = filePath;
    reset();
    filePath = path;

    SongName = getElementText (element, "SongName");
    Comment = getElementText (element, "Comment");
    BPM = getElementInt (element, "BPM", 0);
    RhythmLv = getElementInt (element, "RhythmLv", 0);
    RhythmMute = getElementInt (element, "RhythmMute", 0);
    RhythmVoice = getElementInt (element, "RhythmVoice", 0);
    BassLv = getElementInt (element, "BassLv", 0);
    BassMute = getElementInt (element, "BassMute", 0);
    BassVoice = getElementInt (element, "BassVoice", 0);
    DispChord = getElementText (element, "DispChord");
    Repeat = getElementInt (element, "Repeat", 0);
    OnOff = getElementInt (element, "OnOff", 1);
    RootChord = getElementInt (element, "RootChord", 0);
    tooltip = getElementText (element, "Tooltip");

    // Every child of "Events" is an event, whatever its tag; a song without
    // "Events" has none.
    if (auto* events = findElement (element, "Events"))
        for (auto* child : events->getChildIterator())
        {
            if (child->isTextElement())
                continue;

            SongEv e;
            e.read (child);
            Events.push_back (e);
        }

    readKeywords (findElement (element, "Keywords"));
    return true;
}

bool Song::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "SongName", SongName);
    addTextChild (element, "Comment", Comment);
    addTextChild (element, "BPM", juce::String (BPM));
    addTextChild (element, "RhythmLv", juce::String (RhythmLv));
    addTextChild (element, "RhythmMute", juce::String (RhythmMute));
    addTextChild (element, "RhythmVoice", juce::String (RhythmVoice));
    addTextChild (element, "BassLv", juce::String (BassLv));
    addTextChild (element, "BassMute", juce::String (BassMute));
    addTextChild (element, "BassVoice", juce::String (BassVoice));
    addTextChild (element, "DispChord", DispChord);
    addTextChild (element, "Repeat", juce::String (Repeat));
    addTextChild (element, "OnOff", juce::String (OnOff));
    addTextChild (element, "RootChord", juce::String (RootChord));

    auto* events = element->createNewChildElement ("Events");
    for (auto& e : Events)
        e.write (events->createNewChildElement ("SongEv"));

    addTextChild (element, "Tooltip", tooltip);
    return true;
}

bool Song::readDocument (const juce::XmlElement* root)
{
    if (root == nullptr || root->getTagName() != rootTag)
        return false;
    return read (root);
}

bool Song::writeFile (const juce::File& file)
{
    juce::XmlElement root (rootTag);
    write (&root);
    return writeXmlDocument (file, root);
}

juce::StringArray Song::getPatternIds() const
{
    juce::StringArray ids;
    for (auto& e : Events)
        if (e.isPattern())
            ids.addIfNotAlreadyThere (e.Prm);
    return ids;
}

} // namespace T730
