#include "recorder/TakeStatus.h"

#include "documents/ChildFile.h"
#include "documents/XmlPath.h"
#include "engine/EngineSettings.h"
#include "engine/FadeRamp.h"
#include "recorder/LocateRange.h"

#include <vector>

namespace T730
{

namespace
{
    using RecordList = std::vector<std::unique_ptr<OneRecord>>;

    std::unique_ptr<WaveFile> openTakeFile (const juce::File& folder, const juce::String& name)
    {
        const auto file = folder == juce::File() ? juce::File() : plainChild (folder, name);
        if (file == juce::File())
            return nullptr;

        auto wave = std::make_unique<WaveFile>();
        if (! wave->openForReading (file) || ! wave->isValid())
            return nullptr;
        return wave;
    }
} // namespace

TakeStatus::TakeStatus() = default;

TakeStatus::TakeStatus (const TakeStatus& other)
{
    operator= (other);
}

TakeStatus& TakeStatus::operator= (const TakeStatus& other)
{
    if (this == &other)
        return *this;

    juce::OwnedArray<OneRecord> copies;
    {
        const juce::ScopedLock sl (other.lock);
        for (auto* record : other.records)
            copies.add (record->copyWithoutFile().release());
    }
    {
        const juce::ScopedLock sl (lock);
        records.swapWith (copies);
    }
    return *this;   // the old records (and their files) go with `copies`, outside the lock
}

TakeStatus::~TakeStatus() = default;

void TakeStatus::clear()
{
    juce::OwnedArray<OneRecord> old;
    {
        const juce::ScopedLock sl (lock);
        records.swapWith (old);
    }
}

//==============================================================================
bool TakeStatus::read (const juce::XmlElement* element)
{
    juce::OwnedArray<OneRecord> loaded;
    juce::Array<const juce::XmlElement*> taken;

    for (int i = 0; i < mostStoredRecords; ++i)
    {
        auto* child = findElementSelect (element, juce::String::formatted ("OneRecord,idx=%d", i));
        if (child == nullptr || taken.contains (child))
            break;

        taken.add (child);
        auto* record = loaded.add (new OneRecord());
        record->start = readStoredPosition (child, "StartPoint", 0);
        record->end = readStoredPosition (child, "EndPoint", 0);

        // Tool sets come from other people: only a name inside the folder is taken.
        const auto name = getElementText (child, "Filename");
        record->fileName = isPlainName (name) ? name : juce::String();
    }

    {
        const juce::ScopedLock sl (lock);
        records.swapWith (loaded);
    }
    return element != nullptr;
}

bool TakeStatus::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    const juce::ScopedLock sl (lock);
    for (int i = 0; i < records.size(); ++i)
    {
        auto* child = element->createNewChildElement ("OneRecord");
        child->setAttribute ("idx", i);
        addTextChild (child, "StartPoint", storedPositionText (records[i]->start));
        addTextChild (child, "EndPoint", storedPositionText (records[i]->end));
        addTextChild (child, "Filename", records[i]->fileName);
    }
    return true;
}

//==============================================================================
void TakeStatus::openFiles (const juce::File& folder)
{
    // Only this thread changes the list, so it is read here without the lock;
    // the files are loaded first and put in place under it.
    std::vector<std::unique_ptr<WaveFile>> opened;
    for (auto* record : records)
        opened.push_back (record->isOpen() ? nullptr : openTakeFile (folder, record->fileName));

    std::vector<std::unique_ptr<WaveFile>> old;
    {
        const juce::ScopedLock sl (lock);
        for (int i = 0; i < records.size(); ++i)
            if (opened[(size_t) i] != nullptr)
            {
                old.push_back (std::move (records[i]->wave));
                records[i]->wave = std::move (opened[(size_t) i]);
            }
    }
}

void TakeStatus::closeFiles()
{
    std::vector<std::unique_ptr<WaveFile>> old;
    {
        const juce::ScopedLock sl (lock);
        for (auto* record : records)
            old.push_back (std::move (record->wave));
    }
}

void TakeStatus::assign (const TakeStatus& other, const juce::File& folder)
{
    juce::OwnedArray<OneRecord> fresh;
    {
        const juce::ScopedLock sl (other.lock);
        for (auto* record : other.records)
            fresh.add (record->copyWithoutFile().release());
    }

    // A file this take has open already is handed over; the others are loaded here.
    std::vector<int> reuse;
    for (auto* record : fresh)
    {
        int found = -1;
        for (int i = 0; i < records.size() && found < 0; ++i)
            if (records[i]->isOpen() && records[i]->fileName == record->fileName && record->fileName.isNotEmpty()
                && std::find (reuse.begin(), reuse.end(), i) == reuse.end())
                found = i;

        reuse.push_back (found);
        if (found < 0)
            record->wave = openTakeFile (folder, record->fileName);
    }

    {
        const juce::ScopedLock sl (lock);
        for (int i = 0; i < fresh.size(); ++i)
            if (reuse[(size_t) i] >= 0)
                fresh[i]->wave = std::move (records[reuse[(size_t) i]]->wave);
        records.swapWith (fresh);
    }
}

juce::int64 TakeStatus::getLatestEnd() const
{
    const juce::ScopedLock sl (lock);
    juce::int64 latest = 0;
    for (auto* record : records)
        latest = juce::jmax (latest, record->end);
    return latest;
}

int TakeStatus::size() const
{
    const juce::ScopedLock sl (lock);
    return records.size();
}

std::unique_ptr<OneRecord> TakeStatus::getRecord (int index) const
{
    const juce::ScopedLock sl (lock);
    if (auto* record = records[index])
        return record->copyWithoutFile();
    return nullptr;
}

bool TakeStatus::isRecordOpen (int index) const
{
    const juce::ScopedLock sl (lock);
    auto* record = records[index];
    return record != nullptr && record->isOpen();
}

juce::StringArray TakeStatus::getFileNames() const
{
    const juce::ScopedLock sl (lock);
    juce::StringArray names;
    for (auto* record : records)
        if (record->fileName.isNotEmpty())
            names.add (record->fileName);
    return names;
}

//==============================================================================
std::unique_ptr<OneRecord> TakeStatus::openRecord (const juce::File& file, juce::int64 start, juce::int64 end)
{
    auto record = std::make_unique<OneRecord>();
    record->start = start;
    record->end = end;
    record->fileName = file.getFileName();
    record->wave = std::make_unique<WaveFile>();
    if (! record->wave->openForReading (file) || ! record->wave->isValid())
        return nullptr;

    if (end == -1)
        record->end = start + record->wave->getLength();
    return record;
}

bool TakeStatus::replaceWithFile (const juce::File& file)
{
    auto record = openRecord (file, 0, -1);
    if (record == nullptr)
        return false;

    juce::OwnedArray<OneRecord> old;
    {
        const juce::ScopedLock sl (lock);
        records.swapWith (old);
        records.add (record.release());
    }
    return true;
}

bool TakeStatus::addRecording (const juce::File& file, juce::int64 start, juce::int64 end)
{
    auto record = openRecord (file, start, end);
    if (record == nullptr)
        return false;

    // The older two regions become one: the take never holds more than two.
    std::unique_ptr<OneRecord> merged;
    if (size() >= 2)
    {
        const auto destination = WaveFile::newNumberedFile (file.getParentDirectory(), "Audio", ".wav");
        merged = WaveFile::merge (destination, *records[1], *records[0]);
        if (merged == nullptr)
            return false;
    }

    juce::OwnedArray<OneRecord> removed;
    {
        const juce::ScopedLock sl (lock);
        records.insert (0, record.release());
        if (merged != nullptr)
        {
            removed.add (records.removeAndReturn (2));
            removed.add (records.removeAndReturn (1));
            records.add (merged.release());
        }
    }
    return true;
}

void TakeStatus::render (juce::int64 position, float* const* output, int firstSample, int count) const
{
    const int r = FadeRamp::lengthFor (getEngineSettings().sampleRate.load());

    const juce::ScopedLock sl (lock);
    renderRecords (records.begin(), records.size(), position, output, firstSample, count, r);
}

void TakeStatus::renderRecords (const OneRecord* const* list, int count, juce::int64 p, float* const* output,
                                int first, int n, int r, juce::int64 outerStart, juce::int64 outerEnd) noexcept
{
    if (n <= 0)
        return;

    float* const block[2] = { output[0] + first, output[1] + first };

    // The oldest first: each newer region lies over the ones before it.
    for (int i = count; --i >= 0;)
    {
        const auto* record = list[i];
        if (record == nullptr || ! record->isOpen())
            continue;

        // It reaches as far as its file (or r samples past its end, where its
        // fade-in ends) and r samples before its start: a block past that
        // point is left alone, one inside gets the whole rule.
        const auto reach = juce::jmax (record->end + r, record->start + record->wave->getLength());
        if (reach <= p || record->start >= p + n + r)
            continue;

        record->wave->read (n, p - record->start, block, 0);

        FadeRamp::fadeIn (block, 0, n, p, record->end, r);
        if (record->start != outerStart)
            FadeRamp::fadeIn (block, 0, n, p, record->start, r);
        if (record->end != outerEnd)
            FadeRamp::fadeOut (block, 0, n, p, record->end - r, r);
        FadeRamp::fadeOut (block, 0, n, p, record->start - r, r);
    }
}

} // namespace T730
