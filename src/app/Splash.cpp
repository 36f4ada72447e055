#include "app/Splash.h"

#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "platform/DataFolders.h"
#include "ui/OxDialog.h"

namespace
{
    void drawVersionLine (juce::Graphics& g, const juce::String& text, int y)
    {
        g.setColour (juce::Colours::white);
        g.setFont (12.5f);
        g.drawText (text, 8, y, 300, 16, juce::Justification::centredLeft, true);
    }
} // namespace

Splash::Splash()
    : picture (T730::art::getImage (T730::art::Picture::splash)),
      versionText (T730::getModuleVersion())
{
    setOpaque (true);
}

Splash::~Splash()
{
    stopTimer();
}

void Splash::show()
{
    if (! picture.isValid())
        return;

    setName ("OXA");
    setAlwaysOnTop (true);
    centreWithSize (picture.getWidth(), picture.getHeight());
    addToDesktop (juce::ComponentPeer::windowHasDropShadow);
    setVisible (true);
    toFront (false);
    shownAt = juce::Time::getMillisecondCounter();
}

void Splash::close()
{
    if (! isVisible())
        return;

    const auto due = shownAt + (juce::uint32) minimumShowMs;
    const auto now = juce::Time::getMillisecondCounter();
    if (now >= due)
        timerCallback();
    else
        startTimer ((int) (due - now));
}

void Splash::timerCallback()
{
    // Timers may fire a little early: the second is kept to the millisecond.
    const auto due = shownAt + (juce::uint32) minimumShowMs;
    if (const auto now = juce::Time::getMillisecondCounter(); now < due)
    {
        startTimer ((int) (due - now) + 1);
        return;
    }

    stopTimer();
    setVisible (false);
    removeFromDesktop();
}

void Splash::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.drawImageAt (picture, 0, 0);
    drawVersionLine (g, "System version: " + versionText, 234);
    painted = true;
}

namespace T730
{

VersionInf::VersionInf()
    : systemVersion (getModuleVersion()), picture (art::getImage (art::Picture::splash))
{
    setOpaque (true);
    setSize (picture.isValid() ? picture.getWidth() : layout::splashWidth,
             picture.isValid() ? picture.getHeight() : layout::splashHeight);
}

void VersionInf::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.drawImageAt (picture, 0, 0);
    drawVersionLine (g, "System version: " + systemVersion, 220);
    drawVersionLine (g, "MPU version: " + deviceVersion, 234);
}

void VersionInf::show (const juce::String& deviceVersion, juce::Component* parent)
{
    VersionInf info;
    info.setDeviceVersion (deviceVersion);

    OxDialogWindow window ("Version Info", true);
    window.setAlwaysOnTop (false);
    const juce::Component::SafePointer<juce::Component> over (parent);
    window.runFor (info, std::nullopt, over.getComponent());
}

} // namespace T730
