#include "recorder/RecorderStatus.h"

#include "documents/XmlPath.h"

namespace T730
{

namespace
{
    bool readBool (const juce::XmlElement* element, const char* key, bool missing)
    {
        return getElementInt (element, key, missing ? 1 : 0) != 0;
    }

    juce::String boolText (bool value) { return value ? "1" : "0"; }

    /** The "Take" children of a history list element, in order. */
    MementoCareTaker<TakeStatus>::Stack readTakes (const juce::XmlElement* list)
    {
        MementoCareTaker<TakeStatus>::Stack takes;
        for (auto* take : list->getChildWithTagNameIterator ("Take"))
        {
            if ((int) takes.size() >= RecorderStatus::undoDepth)
                break;
            auto snapshot = std::make_unique<TakeStatus>();
            snapshot->read (take);
            takes.push_back (std::move (snapshot));
        }
        return takes;
    }
} // namespace

RecorderStatus::RecorderStatus()
{
    reset();
}

RecorderStatus::~RecorderStatus() = default;

void RecorderStatus::reset()
{
    OnOff = true;
    Name = {};
    Pan = 50;
    Level = 56;
    Mute = false;
    Length = 1;
    Snap = false;
    Sync = true;
    Stretch = 100;
    PIOPoint = {};
    LoopPoint = {};
    CurrentTake.clear();
    undoKeeper.reset();
}

bool RecorderStatus::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    OnOff = readBool (element, "OnOff", false);
    Name = getElementText (element, "Name");
    Pan = getElementInt (element, "Pan", 50);
    Level = getElementInt (element, "Level", 56);
    Mute = readBool (element, "Mute", false);
    Length = getElementInt (element, "Length", 0);
    Snap = readBool (element, "Snap", false);
    Sync = readBool (element, "Sync", false);
    Stretch = getElementInt (element, "Stretch", 100);

    if (auto* range = findElement (element, "PIOPoint"))
        PIOPoint.read (range);
    if (auto* range = findElement (element, "LoopPoint"))
        LoopPoint.read (range);
    if (auto* take = findElement (element, "CurrentTake"))
        CurrentTake.read (take);

    undoKeeper.reset();

    auto* undo = findElement (element, "UndoBuf");
    auto* redo = findElement (element, "RedoBuf");
    if (undo != nullptr || redo != nullptr)
    {
        // A list that is not stored keeps what the reset gave it.
        MementoCareTaker<TakeStatus>::Stack undoTakes, redoTakes;
        if (undo != nullptr)
            undoTakes = readTakes (undo);
        else
            undoTakes.push_back (createMemento());
        if (redo != nullptr)
            redoTakes = readTakes (redo);

        undoKeeper.replaceStacks (std::move (undoTakes), std::move (redoTakes));
    }
    return true;
}

bool RecorderStatus::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "OnOff", boolText (OnOff));
    addTextChild (element, "Name", Name);
    addTextChild (element, "Pan", juce::String (Pan));
    addTextChild (element, "Level", juce::String (Level));
    addTextChild (element, "Mute", boolText (Mute));
    addTextChild (element, "Length", juce::String (Length));
    addTextChild (element, "Snap", boolText (Snap));
    addTextChild (element, "Sync", boolText (Sync));
    addTextChild (element, "Stretch", juce::String (Stretch));

    PIOPoint.write (element->createNewChildElement ("PIOPoint"));
    LoopPoint.write (element->createNewChildElement ("LoopPoint"));
    CurrentTake.write (element->createNewChildElement ("CurrentTake"));

    auto* undo = element->createNewChildElement ("UndoBuf");
    undoKeeper.forEachUndoSnapshot ([undo] (const TakeStatus& take)
    {
        const_cast<TakeStatus&> (take).write (undo->createNewChildElement ("Take"));
    });

    auto* redo = element->createNewChildElement ("RedoBuf");
    undoKeeper.forEachRedoSnapshot ([redo] (const TakeStatus& take)
    {
        const_cast<TakeStatus&> (take).write (redo->createNewChildElement ("Take"));
    });
    return true;
}

std::unique_ptr<TakeStatus> RecorderStatus::createMemento()
{
    return std::make_unique<TakeStatus> (CurrentTake);
}

void RecorderStatus::setMemento (std::unique_ptr<TakeStatus> snapshot)
{
    if (snapshot == nullptr)
        return;

    // The new take's files are opened before it replaces the current one
    // (under the take's lock), so playback never finds a half-swapped take.
    CurrentTake.assign (*snapshot, takeFolder);
}

juce::StringArray RecorderStatus::getReferencedFileNames() const
{
    auto names = CurrentTake.getFileNames();
    undoKeeper.forEachSnapshot ([&names] (const TakeStatus& take)
    {
        for (auto& name : take.getFileNames())
            names.addIfNotAlreadyThere (name);
    });
    names.removeDuplicates (false);
    return names;
}

} // namespace T730
