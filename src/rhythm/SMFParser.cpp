#include "rhythm/SMFParser.h"

#include <limits>

namespace T730
{

namespace
{
    /** Rhythm files are a few kilobytes; anything this large is not one. */
    constexpr juce::int64 maxMidiFileSize = 16 * 1024 * 1024;

    constexpr size_t trackStart = 22;

    void logError (const char* message)
    {
        juce::Logger::writeToLog (message);
    }

    bool matches (const juce::uint8* bytes, size_t size, size_t offset, const char* tag)
    {
        return offset + 4 <= size && std::memcmp (bytes + offset, tag, 4) == 0;
    }

    /** The decoder over the loaded bytes: every read checks the end first. */
    class TrackReader
    {
    public:
        TrackReader (const juce::uint8* b, size_t n) : bytes (b), size (n) {}

        bool atEnd() const noexcept { return position >= size; }
        bool has (size_t count) const noexcept { return position <= size && size - position >= count; }
        juce::uint8 peek() const noexcept { return bytes[position]; }
        juce::uint8 next() noexcept { return bytes[position++]; }
        void skip (size_t count) noexcept { position = count > size - position ? size : position + count; }

        /** A variable-length quantity; false when the bytes end inside it. A
            quantity of more than four bytes keeps its last 32 bits. */
        bool readVariableLength (juce::uint32& value) noexcept
        {
            value = 0;
            while (has (1))
            {
                const auto byte = next();
                value = (value << 7) | (juce::uint32) (byte & 0x7f);
                if ((byte & 0x80) == 0)
                    return true;
            }
            return false;
        }

        size_t position = trackStart;

    private:
        const juce::uint8* bytes;
        size_t size;
    };
} // namespace

//==============================================================================
bool SMFLoader::load (const juce::File& file)
{
    bytes.reset();

    try
    {
        if (! file.existsAsFile())
            return false;

        if (file.getSize() > maxMidiFileSize)
        {
            logError ("SMFLoading Error");
            return false;
        }

        if (! file.loadFileAsData (bytes))
        {
            bytes.reset();
            logError ("SMFLoading Error");
            return false;
        }
        return true;
    }
    catch (const std::exception&)
    {
        bytes.reset();
        logError ("SMFLoading Error");
        return false;
    }
}

void SMFLoader::setBytes (const void* data, size_t size)
{
    bytes.replaceAll (data, size);
}

//==============================================================================
SMFParser::SMFParser() : loader (std::make_unique<SMFLoader>()) {}

SMFParser::~SMFParser() = default;

void SMFParser::load (const juce::File& file)
{
    path = file;
    loader->load (file);
}

bool SMFParser::parse (std::vector<NoteEvent>& destination)
{
    const auto* bytes = loader->getBytes();
    const auto size = loader->getNumBytes();

    if (! matches (bytes, size, 0, "MThd") || ! matches (bytes, size, 14, "MTrk") || size < trackStart)
    {
        logError ("ChankHeader is Error");
        return false;
    }

    if (bytes[8] != 0 || bytes[9] != 0)
    {
        logError ("SMF Format Error");
        return false;
    }

    // Division 0 would make every time infinite: the header is broken.
    const auto division = (unsigned) ((bytes[12] << 8) | bytes[13]);
    if (division == 0)
    {
        logError ("ChankHeader is Error");
        return false;
    }

    const auto scale = (float) (60.0 / (double) division);
    TrackReader track (bytes, size);
    juce::uint32 ticks = 0;
    int status = 0;

    while (! track.atEnd())
    {
        juce::uint32 delta = 0;
        if (! track.readVariableLength (delta) || ! track.has (1))
            break;
        // Held at the counter's top rather than wrapping: times never go back.
        ticks = delta > std::numeric_limits<juce::uint32>::max() - ticks ? std::numeric_limits<juce::uint32>::max()
                                                                        : ticks + delta;

        if ((track.peek() & 0x80) != 0)
            status = track.next();
        else if (status == 0)
            break;   // a data byte before any status: nothing to repeat

        const float time = (float) ticks * scale;

        if (status >= 0x80 && status <= 0x9f)
        {
            if (! track.has (2))
                break;

            const auto note = track.next();
            const auto velocity = track.next();

            // A data byte with its top bit set belongs to no note: the event is left out.
            if (note >= 0x80 || velocity >= 0x80)
                continue;

            NoteEvent e;
            e.time = time;
            e.channel = status & 0x0f;
            e.note = note;
            e.kind = status >= 0x90 ? NoteEvent::noteOn : NoteEvent::noteOff;
            e.velocity = velocity;
            destination.push_back (e);
        }
        else if ((status >= 0xa0 && status <= 0xbf) || (status >= 0xe0 && status <= 0xef))
        {
            track.skip (2);
        }
        else if (status >= 0xc0 && status <= 0xdf)
        {
            track.skip (1);
        }
        else if (status == 0xf0 || status == 0xf7)
        {
            if (! track.has (1))
                break;
            track.skip ((size_t) track.next());
        }
        else if (status == 0xff)
        {
            if (! track.has (2))
                break;

            const auto type = track.next();
            const auto length = track.next();

            if (type == 0x2f && length == 0)
            {
                NoteEvent end;
                end.time = time;
                end.channel = NoteEvent::endMarkerChannel;
                end.kind = NoteEvent::noteOff;
                destination.push_back (end);
                return true;
            }
            track.skip (length);
        }
        // 0xf1 to 0xf6 and 0xf8 to 0xfe carry no data bytes.
    }

    logError ("End of Track is None");
    return false;
}

bool readMidiFile (const juce::File& file, std::vector<NoteEvent>& destination)
{
    SMFParser parser;
    parser.load (file);
    return parser.parse (destination);
}

} // namespace T730
