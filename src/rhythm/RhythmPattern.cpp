#include "rhythm/RhythmPattern.h"

#include "documents/XmlParser.h"
#include "documents/XmlPath.h"
#include "rhythm/RootIndex.h"

namespace T730
{

bool RhythmPattern::read (const juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    ID = getElementText (element, "ID");
    FileName = getElementText (element, "FileName");
    TimeSig = getElementText (element, "TimeSig");
    BarLen = getElementInt (element, "BarLen", 0);
    Root = getElementText (element, "Root");
    events.clear();
    return true;
}

bool RhythmPattern::write (juce::XmlElement* element)
{
    if (element == nullptr)
        return false;

    addTextChild (element, "ID", ID);
    addTextChild (element, "FileName", FileName);
    addTextChild (element, "TimeSig", TimeSig);
    addTextChild (element, "BarLen", juce::String (BarLen));
    addTextChild (element, "Root", Root);
    return true;
}

bool RhythmPattern::readFile (const juce::File& file)
{
    auto root = parseXmlFile (file);
    return root != nullptr && read (root.get());
}

int RhythmPattern::getRootIndex() const
{
    return RootIndex::fromName (Root);
}

bool RhythmPattern::parseTimeSignature (const juce::String& text, int& numerator, int& denominator)
{
    const auto slash = text.indexOfChar ('/');
    if (slash <= 0)
        return false;

    const auto top = text.substring (0, slash);
    const auto bottom = text.substring (slash + 1);
    if (! top.containsOnly ("0123456789") || ! bottom.containsOnly ("0123456789")
        || top.length() > 3 || bottom.length() > 3 || bottom.isEmpty())
        return false;

    const int n = top.getIntValue();
    const int d = bottom.getIntValue();
    if (n < 1 || n > maxNumerator || d < 1 || d > maxDenominator || (d & (d - 1)) != 0)
        return false;

    numerator = n;
    denominator = d;
    return true;
}

bool RhythmPattern::hasUsableGrid() const
{
    int n = 0, d = 0;
    return parseTimeSignature (TimeSig, n, d) && BarLen >= 1 && BarLen <= maxBars;
}

int RhythmPattern::getNumerator() const
{
    int n = 4, d = 4;
    return parseTimeSignature (TimeSig, n, d) ? n : 4;
}

int RhythmPattern::getDenominator() const
{
    int n = 4, d = 4;
    return parseTimeSignature (TimeSig, n, d) ? d : 4;
}

double RhythmPattern::getLengthInQuarters() const
{
    if (! hasUsableGrid())
        return 0.0;
    return (double) BarLen * getNumerator() * 4.0 / getDenominator();
}

} // namespace T730
